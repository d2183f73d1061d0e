#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/cp932.h"
#include "base/file_io.h"
#include "resource/data_tree.h"
#include "resource/save_data.h"
#include "support/imaging/animation_files.h"
#include "support/script/object_fixture.h"

// A saved game's state stream, written, installed and written again by the
// interpreter over the real objects and stage.
namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

// Two pictures moving across a background, a third found through a data
// folder, a message being typed, the camera on its way, variables of every
// kind, a save title, and the script waiting inside a call and an if block.
constexpr std::string_view kScene =
    "\\gvar,img,bg,a,b,c\\gvar,msg,m\\gvar,file,f\r\n"
    "\\gvar,int,n,grid[2,3]\\gvar,str,s,names[2]\r\n"
    "\\cal,n=7\\cal,grid[1,2]=5\\cal,s=\"文字\"\\cal,names[1]=\"x\"\r\n"
    "\\scp,bg\\fr,0,0,320,240,$FFFFFFFFFF204060\\e\r\n"
    "\\scp,a\\fr,0,0,40,40,$FFFFFFFFFFFF0000\\e\\p,0,20,10,0\\p,260,20,10,2000\r\n"
    "\\scp,b\\fr,0,0,40,40,$FFFFFFFFFF0000FF\\e\\p,260,150,20,0\\p,0,150,20,2000\r\n"
    "\\scp,m\\ts,10,180,310,230\\e\\t,[spd,50]こんにちは、世界。日本語のメッセージです。\r\n"
    "\\scp,cam\\p,30,10,2000\r\n"
    "\\scp,sys\\n,\"第一章[ruby]\",\"朝\",\"\",\"\"\r\n"
    "\\scp,path\\s,0,\"extra\\\"\r\n"
    "\\scp,c\\l,\"c.b\"\\e\\p,120,60,30,0\r\n"
    "\\sub,@@inner\r\n"
    "@@inner\r\n"
    "\\if,n==7\r\n"
    "\\wait,100000\r\n"
    "\\fi\r\n";

class GameStateTest : public ObjectTest {
 protected:
  GameStateTest() { stage_.Graphic().SetScreenSize(320, 240); }

  bool RunScene() {
    const std::string picture =
        mavu::test::AsText(mavu::test::FillAnimation({"m"}, {0, 0, 30, 30}, 0xFF00FF00));
    const bool ran = Run(base::Utf8ToCp932(kScene), {{"extra\\c.b", picture}});
    for (const std::string& message : Messages()) ADD_FAILURE() << message;
    return ran;
  }
  base::Bytes State() {
    base::ByteWriter out;
    EXPECT_TRUE(script_->WriteGameState(out));
    return out.Take();
  }
  // The picture a window would show now.
  std::vector<uint32_t> Shot() {
    script_->ComposeFrame(true);
    const imaging::TARGB8888& picture = stage_.Graphic().ShownPicture();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < picture.Height(); ++y) {
      pixels.insert(pixels.end(), picture.Row(y), picture.Row(y) + picture.Width());
    }
    return pixels;
  }
};

TEST_F(GameStateTest, AStateInstalledLaterWritesItselfAgainByteForByteAndPlaysOnAlike) {
  ASSERT_TRUE(RunScene());
  // Everything on its way, the message between two characters: the time
  // towards the next character is not part of a save.
  Frames(20);
  const base::Bytes saved = State();
  Frames(10);
  const std::vector<uint32_t> later = Shot();
  Frames(30);  // the game goes on
  script_->ExecuteLine("\\cal,n=8\\scp,path\\s,0,\"\"");

  std::string why;
  ASSERT_TRUE(script_->InstallGameState(saved, why)) << why;
  EXPECT_EQ(State(), saved);
  EXPECT_EQ(Int("n"), 7);
  EXPECT_EQ(resource::TheDataTree().DataDirs()[0], "extra\\");
  Frames(10);
  EXPECT_EQ(Shot(), later);
}

TEST_F(GameStateTest, AStreamThatDoesNotReadWholeIsRefusedAndTheGameStaysAsItWas) {
  ASSERT_TRUE(RunScene());
  Frames(20);
  base::Bytes saved = State();
  Frames(5);
  const base::Bytes before = State();
  std::string why;
  // Cut inside each part of the stream, then one byte too many.
  for (size_t cut = 1; cut < saved.size(); cut += saved.size() / 23) {
    EXPECT_FALSE(script_->InstallGameState(std::span(saved.data(), cut), why)) << cut;
    EXPECT_FALSE(why.empty());
    ASSERT_EQ(State(), before) << "cut at " << cut;
  }
  saved.push_back(0);
  EXPECT_FALSE(script_->InstallGameState(saved, why));
  EXPECT_EQ(why, "the state goes on after the variables");
  EXPECT_EQ(State(), before);
}

TEST_F(GameStateTest, DatSavesTestsDeletesAndLoadsByName) {
  ASSERT_TRUE(
      Run("\\gvar,int,n,there\\cal,n=1\r\n"
          "\\scp,dat\\s,\"slot.svd\"\\s,\"\"\\g,\"slot.svd\"\\cal,there=ResultInt\r\n"
          "\\cal,n=5\r\n"));
  EXPECT_EQ(Int("there"), 1);
  script_->ExecuteLine("\\scp,dat\\l,\"slot.svd\"");
  EXPECT_EQ(Int("n"), 1);
  EXPECT_EQ(Int("there"), 0);  // as it was when saved
  script_->ExecuteLine("\\scp,dat\\d,\"slot.svd\"\\d,\"slot.svd\"\\g,\"slot.svd\"");
  EXPECT_EQ(Int("ResultInt"), 0);
  EXPECT_EQ(Messages(), Strings{});
  // The empty name wrote nothing; the system data was saved with the game.
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.Path() / "SaveData")) {
    files.insert(entry.path().filename().string());
  }
  EXPECT_EQ(files, (std::set<std::string>{"SystemData.dat", "SystemData.dat.bak"}));
}

// What a slot list shows: the titles without their bracketed parts, and the
// newest backlog text as it reads.
TEST_F(GameStateTest, ASaveCarriesTheTitlesAndAPlainExcerptInItsHeader) {
  ASSERT_TRUE(Run(base::Utf8ToCp932(
      "\\gvar,msg,m\\scp,m\\ts,320,200\\sv,0\\t,[c,$FF0000]こんにちは[n]世界\\lg\r\n"
      "\\scp,sys\\n,\"第一章[ルビ]\",\"朝\",\"\",\"\"\r\n"
      "\\scp,dat\\s,\"slot.svd\"\r\n")));
  resource::TKelSaveData data(0x1234);
  ASSERT_TRUE(data.ReadSaveFile(folder_.Path() / "SaveData" / "slot.svd", true, false, true));
  EXPECT_EQ(base::Cp932ToUtf8(data.Header().titles[0]), "第一章");
  EXPECT_EQ(base::Cp932ToUtf8(data.Header().titles[1]), "朝");
  EXPECT_EQ(base::Cp932ToUtf8(data.Header().excerpt), "こんにちは世界");
  ASSERT_TRUE(data.Thumbnail());
  EXPECT_EQ(data.Thumbnail()->Width(), 128);
  EXPECT_EQ(data.Thumbnail()->Height(), 96);
}

TEST_F(GameStateTest, DatFailuresReportTwoLinesAndLeaveTheGameAsItWas) {
  ASSERT_TRUE(Run("\\gvar,int,n\\cal,n=1\\scp,dat\\s,\"ok.svd\"\r\n"));
  const std::filesystem::path file = folder_.Path() / "SaveData" / "ok.svd";
  base::Bytes bytes = *base::ReadWholeFile(file);
  bytes[bytes.size() / 2] ^= 0x40;  // the payload's checksum no longer matches
  ASSERT_TRUE(base::WriteFileAtomic(folder_.Path() / "SaveData" / "bad.svd", bytes));

  EXPECT_FALSE(Run("\\cal,n=2\\scp,dat\\l,\"none.svd\"\r\n"));
  EXPECT_EQ(Messages(), (Strings{"GameData:ファイルが見つかりません:none.svd",
                                 "\\l：GameDataのロードに失敗：none.svd"}));
  ClearError();
  base::TheErrorLog().ClearErrors();
  EXPECT_FALSE(Run("\\scp,dat\\l,\"bad.svd\"\r\n"));
  EXPECT_EQ(Messages(),
            (Strings{"GameData:読み込みエラー:bad.svd", "\\l：GameDataのロードに失敗：bad.svd"}));
  EXPECT_EQ(Int("n"), 2);
  ClearError();
  base::TheErrorLog().ClearErrors();
  EXPECT_FALSE(Run("\\scp,dat\\s,\"../out.svd\"\r\n"));
  EXPECT_EQ(Messages(), (Strings{"\\s：GameDataのセーブに失敗：../out.svd"}));
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "out.svd"));
}

}  // namespace
}  // namespace mavu::script::test
