#include <gtest/gtest.h>

#include <string>

#include "base/file_io.h"
#include "headless_game.h"
#include "resource/game_settings.h"
#include "resource/save_data.h"
#include "support/sound/ogg_maker.h"

// Saved games made and loaded by a script and by the player's key actions,
// in headless runs of the real engine.
namespace mavu::test {
namespace {

// A counter that rises by one a frame, so that the dump tells which moment
// of the story a load went back to.
constexpr std::string_view kCountingScript =
    "@@TOP\n"
    "\\scp\\lk,0\n"
    "\\gvar,int,n\n"
    "@@L\n"
    "\\cal,n=n+1\\wait,25\\jmp,@@L\n";

constexpr std::string_view kMessages =
    "QuickLoad_Text=クイックロードしますか？\nQuickLoad_Yes=はい\nQuickLoad_no=いいえ\n"
    "SelectLoad_Text=選択肢まで戻りますか？\nSelectLoad_Yes=はい\nSelectLoad_no=いいえ\n";

class SaveRunTest : public ::testing::Test {
 protected:
  SaveRunTest() { game_.Loose("GameData/System/Message.Dat", std::string(kMessages)); }

  std::filesystem::path SaveFile(std::string_view name) const {
    return game_.Folder() / "SaveData" / std::string(name);
  }
  // The header's save time, or -1 when the file does not read.
  double SaveTime(std::string_view name) const {
    resource::TKelSaveData data(resource::kBuiltInCodeKey);
    if (!data.ReadSaveFile(SaveFile(name), true, false, false)) return -1;
    return data.Header().saveTime;
  }

  HeadlessGame game_;
};

// Answered no, the story goes on.
TEST_F(SaveRunTest, AQuickLoadAfterAQuickSaveGoesBackToTheSavedMoment) {
  game_.Script(kCountingScript);
  const HeadlessRun run =
      game_.Run({"--frames", "40"}, "10 action quicksave\n30 action quickload\n30 answer 1\n");
  ASSERT_EQ(run.code, 0) << run.err;
  // Saved near 10; back there at 30, then ten more frames.
  EXPECT_NEAR(run.Global("n").Number(), 20, 2);
  const JsonValue::Array& dialogs = (*run.dump)["dialogs"].Items();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["text"].String(), "クイックロードしますか？");
  EXPECT_TRUE(run.Errors().empty());
  EXPECT_GT(SaveTime("QuickSaveData.svd"), 40000.0);  // a date after 2009

  const HeadlessRun declined =
      game_.Run({"--frames", "40"}, "10 action quicksave\n30 action quickload\n30 answer 0\n");
  ASSERT_EQ(declined.code, 0) << declined.err;
  EXPECT_NEAR(declined.Global("n").Number(), 40, 2);
}

// Twenty frames after the load the picture is the one twenty frames after
// the save: a square on its way across the screen.
TEST_F(SaveRunTest, TheLoadedSceneGoesOnAsItDidAfterTheSave) {
  game_.Script(
      "@@TOP\n"
      "\\scp\\lk,0\n"
      "\\gvar,img,a\n"
      "\\scp,a\\fr,0,0,40,40,$FFFFFFFFFFFF0000\\e\\p,0,100,10,0\\p,700,100,10,3000\n"
      "\\wait,100000\n");
  const auto shot = [&](int frames, std::string_view input) {
    const std::filesystem::path png = game_.Folder() / "shot.png";
    const HeadlessRun run =
        game_.Run({"--frames", std::to_string(frames), "--screenshot", png.string()}, input);
    EXPECT_EQ(run.code, 0) << run.err;
    return ReadShot(png);
  };
  const imaging::TARGB8888 afterSave = shot(30, "10 action quicksave\n");
  const imaging::TARGB8888 afterLoad =
      shot(60, "10 action quicksave\n40 action quickload\n40 answer 1\n");
  const imaging::TARGB8888 goneOn = shot(60, "10 action quicksave\n");
  ASSERT_EQ(afterLoad.Width(), afterSave.Width());
  int differing = 0;
  int movedOn = 0;
  for (int y = 0; y < afterSave.Height(); ++y) {
    for (int x = 0; x < afterSave.Width(); ++x) {
      differing += afterLoad.Pixel(x, y) != afterSave.Pixel(x, y) ? 1 : 0;
      movedOn += goneOn.Pixel(x, y) != afterSave.Pixel(x, y) ? 1 : 0;
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(movedOn, 0) << "the square should have moved in thirty frames";
}

// The frame a script saves in is drawn as any other, though the save drew the
// thumbnail in the middle of it.
TEST_F(SaveRunTest, ASaveFromTheScriptLeavesThePictureAlone) {
  const auto shot = [&](std::string_view save, int frames) {
    game_.Script(
        "@@TOP\n"
        "\\gvar,img,a\n"
        "\\scp,a\\fr,0,0,40,40,$FFFFFFFFFFFF0000\\e\\p,0,100,10,0\\p,700,100,10,3000\n"
        "\\wait,200\n" +
        std::string(save) + "\\wait,100000\n");
    const std::filesystem::path png = game_.Folder() / "shot.png";
    const HeadlessRun run =
        game_.Run({"--frames", std::to_string(frames), "--screenshot", png.string()});
    EXPECT_EQ(run.code, 0) << run.err;
    return ReadShot(png);
  };
  // Around the frame the wait ends in.
  for (int frames = 7; frames <= 11; ++frames) {
    const imaging::TARGB8888 saved = shot("\\scp,dat\\s,\"x.svd\"\n", frames);
    const imaging::TARGB8888 plain = shot("", frames);
    int differing = 0;
    for (int y = 0; y < plain.Height(); ++y) {
      for (int x = 0; x < plain.Width(); ++x) differing += saved.Pixel(x, y) != plain.Pixel(x, y);
    }
    EXPECT_EQ(differing, 0) << "after " << frames << " frames";
  }
  EXPECT_TRUE(std::filesystem::exists(SaveFile("x.svd")));
}

TEST_F(SaveRunTest, RotatingQuickSavesFillTheMissingSlotThenReplaceTheOldest) {
  game_.Add("System/etc/Game.dat", "QuickSaveMode=1\nQuickSaveCount=3\n");
  game_.Script(kCountingScript);
  const HeadlessRun first = game_.Run(
      {"--frames", "20"}, "2 action quicksave\n6 action quicksave\n10 action quicksave\n");
  ASSERT_EQ(first.code, 0) << first.err;
  const double slot0 = SaveTime("QuickSaveData0.svd");
  const double slot2 = SaveTime("QuickSaveData2.svd");
  ASSERT_GT(slot0, 0);
  ASSERT_GT(SaveTime("QuickSaveData1.svd"), 0);
  ASSERT_GT(slot2, 0);
  EXPECT_FALSE(std::filesystem::exists(SaveFile("QuickSaveData.svd")));

  // Slot 1 gone: it is written even though slot 0 is older.
  std::filesystem::remove(SaveFile("QuickSaveData1.svd"));
  ASSERT_EQ(game_.Run({"--frames", "5"}, "2 action quicksave\n").code, 0);
  EXPECT_EQ(SaveTime("QuickSaveData0.svd"), slot0);
  EXPECT_GT(SaveTime("QuickSaveData1.svd"), 0);
  // All three present: the oldest (slot 0) goes.
  ASSERT_EQ(game_.Run({"--frames", "5"}, "2 action quicksave\n").code, 0);
  EXPECT_GT(SaveTime("QuickSaveData0.svd"), slot0);
  EXPECT_EQ(SaveTime("QuickSaveData2.svd"), slot2);
  // No header reads: no slot is the oldest, and nothing is written.
  for (const char* name : {"QuickSaveData0.svd", "QuickSaveData1.svd", "QuickSaveData2.svd"}) {
    game_.Loose(std::filesystem::path("SaveData") / name, "damaged");
  }
  const HeadlessRun unreadable = game_.Run({"--frames", "5"}, "2 action quicksave\n");
  ASSERT_EQ(unreadable.code, 0) << unreadable.err;
  EXPECT_TRUE(unreadable.Errors().empty());
  EXPECT_EQ(std::filesystem::file_size(SaveFile("QuickSaveData0.svd")), 7u);
}

TEST_F(SaveRunTest, AChoiceLoadReturnsToWhereTheScriptSavedItsChoice) {
  game_.Script(
      "@@TOP\n"
      "\\scp\\lk,0\n"
      "\\gvar,int,n,loads\n"
      "\\cal,n=100\n"
      "\\scp,dat\\s,_SelectSaveFilename\n"
      "\\cal,loads=loads+1\n"
      "@@L\n"
      "\\cal,n=n+1\\wait,25\\jmp,@@L\n");
  const HeadlessRun run = game_.Run({"--frames", "30"}, "20 action selectload\n20 answer 1\n");
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NEAR(run.Global("n").Number(), 110, 2);
  EXPECT_EQ(run.Global("loads").Number(), 1);  // the variables came back with the position
  const JsonValue::Array& dialogs = (*run.dump)["dialogs"].Items();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["text"].String(), "選択肢まで戻りますか？");
}

// The music comes back at the position it had when saved, past its loop
// point, and goes on from there once the stream buffer has filled again.
TEST_F(SaveRunTest, AQuickLoadBringsTheMusicBackWhereItWas) {
  const std::vector<LoopEntry> loop = {{0.5f, 2.0f, -1}};  // back to 0.5 s at 2.0 s
  const base::Bytes music = WithLoopHeader(loop, MakeOgg({.seconds = 3}));
  game_.Add("bgm/loop.ogg", std::string(music.begin(), music.end()));
  game_.Script(
      "@@TOP\n"
      "\\scp\\lk,0\n"
      "\\gvar,int,position,state\n"
      "\\scp,snd[0]\\l,\"bgm/loop.ogg\"\\p,1\n"
      "@@L\n"
      "\\scp,snd[0]\\gt\\cal,position=ResultInt\\gp\\cal,state=ResultInt\\wait,25\\jmp,@@L\n");
  const auto positionAt = [&](int frame, std::string_view input) {
    const HeadlessRun run = game_.Run({"--frames", std::to_string(frame)}, input);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.Global("state").Number(), 3);  // looping
    return run.Global("position").Number();
  };
  const std::string_view saveAndLoad = "100 action quicksave\n150 action quickload\n150 answer 1\n";
  const double saved = positionAt(100, "");
  const double goneOn = positionAt(190, "");
  const double loaded = positionAt(190, saveAndLoad);
  EXPECT_GT(loaded, saved + 250);
  EXPECT_LE(loaded, saved + 1000);
  EXPECT_GT(std::abs(goneOn - loaded), 300) << "the load would not show";
}

}  // namespace
}  // namespace mavu::test
