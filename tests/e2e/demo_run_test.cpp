#include <gtest/gtest.h>

#include <cstdio>

#include "base/file_io.h"
#include "demo_palette.h"
#include "headless_game.h"

// The demo game as built, played by its own autoplay file: the title, the
// rooftop scene, the choice taken once each way, both endings, and back to
// the title. Pixels are read where the demo's pictures are plain gradients.
namespace mavu::test {
namespace {

using demo::GradientAt;

constexpr int kShotEvery = 50;
// On the first page: the rooftop at rest, the message window up, one line typed.
constexpr int kFirstPageFrame = 200;
// Inside the message window, over the plain floor of the rooftop.
constexpr int kWindowProbeX = 100;
constexpr int kWindowProbeY = 560;
// The first line of the window's text area, ruby and all.
constexpr int kLineLeft = 44;
constexpr int kLineRight = 756;
constexpr int kLineTop = 444;
constexpr int kLineBottom = 480;

uint32_t Rgb(const imaging::TARGB8888& image, int x, int y) {
  return image.Pixel(x, y) & 0x00FFFFFF;
}

uint32_t Rgb(uint32_t colour) {
  return colour & 0x00FFFFFF;
}

class DemoRunTest : public ::testing::Test {
 protected:
  DemoRunTest() { game_.CopyGame(MAVU_DEMO_GAME_DIR); }

  static std::string Autoplay() {
    const std::filesystem::path file = std::filesystem::path(MAVU_DEMO_SOURCE_DIR) / "autoplay.txt";
    const std::optional<base::Bytes> bytes = base::ReadWholeFile(file);
    if (!bytes) ADD_FAILURE() << "cannot read " << file;
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
  }
  static std::string ShotName(int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", frame);
    return name;
  }
  HeadlessGame game_;
};

TEST_F(DemoRunTest, AutoplayReachesBothEndingsAndStopsAtTheTitle) {
  const std::filesystem::path shots = game_.Folder() / "shots";
  const std::filesystem::path last = game_.Folder() / "last.png";
  const HeadlessRun run = game_.Run({"--shots", shots.string(), "--shot-every",
                                     std::to_string(kShotEvery), "--screenshot", last.string()},
                                    Autoplay());
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.Errors(), std::vector<std::string>{});
  EXPECT_EQ(run.Global("seen").Number(), 3);  // route 1 and route 2, as bits
  EXPECT_EQ(run.Global("endings").Number(), 2);
  EXPECT_EQ(run.Global("chosen").String(), "先に帰った");
  EXPECT_EQ((*run.dump)["position"].String().rfind("title.s(", 0), 0u);
  EXPECT_EQ(run.Global("bgm").String(), "bgm/title.ogg");

  const imaging::TARGB8888 page = ReadShot(shots / ShotName(kFirstPageFrame));
  ASSERT_EQ(page.Width(), demo::kScreenWidth);
  EXPECT_EQ(Rgb(page, demo::kSunsetProbeX, demo::kSunsetProbeY),
            Rgb(GradientAt(demo::kSunsetSky, demo::kSunsetProbeY)));
  // The window's translucent navy over the floor's 0x3C2F40.
  EXPECT_EQ(Rgb(page, kWindowProbeX, kWindowProbeY), 0x181C33u);
  int lit = 0;
  for (int y = kLineTop; y < kLineBottom; ++y) {
    for (int x = kLineLeft; x < kLineRight; ++x) lit += (Rgb(page, x, y) & 0xFF) > 200 ? 1 : 0;
  }
  EXPECT_GT(lit, 1000) << "no typed line in the window";

  const imaging::TARGB8888 title = ReadShot(last);
  ASSERT_EQ(title.Width(), demo::kScreenWidth);
  EXPECT_EQ(Rgb(title, demo::kTitleProbeX, demo::kTitleProbeY),
            Rgb(GradientAt(demo::kTitleSky, demo::kTitleProbeY)));
}

// The title's music fades out as the story starts and the rooftop's comes in;
// a sound file that failed to load would have stopped the script.
TEST_F(DemoRunTest, TheStoryPlaysItsOwnMusic) {
  const HeadlessRun run = game_.Run({"--frames", "200"}, "40 click 400 362\n");
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.Errors(), std::vector<std::string>{});
  EXPECT_EQ(run.Global("bgm").String(), "bgm/rooftop.ogg");
}

TEST_F(DemoRunTest, TheQuitButtonEndsTheGame) {
  const HeadlessRun run = game_.Run({"--frames", "400"}, "40 click 400 446\n");
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_LT((*run.dump)["frames"].Number(), 100);
  EXPECT_EQ(run.Global("endings").Number(), 0);
}

// Esc asks to leave (declined here), and a return to the title asked for in
// the middle of the story starts the game again from its title.
TEST_F(DemoRunTest, ThePlayerCanLeaveOrReturnToTheTitleMidStory) {
  const HeadlessRun run = game_.Run(
      {"--frames", "400"},
      "40 click 400 362\n150 key 27\n150 answer 0\n151 keyup 27\n200 action reset\n");
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.Errors(), std::vector<std::string>{});
  const JsonValue::Array& dialogs = (*run.dump)["dialogs"].Items();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0]["text"].String(), "星降る屋上で ― Mavu デモ を終了しますか？");
  EXPECT_EQ(dialogs[1]["text"].String(), "タイトルに戻りますか？");
  EXPECT_EQ((*run.dump)["position"].String().rfind("title.s(", 0), 0u);
}

}  // namespace
}  // namespace mavu::test
