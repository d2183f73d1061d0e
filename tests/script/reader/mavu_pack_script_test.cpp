#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "resource/data_tree.h"
#include "script/reader/kel_reader.h"
#include "script/reader/word_buf.h"
#include "support/script/script_game.h"
#include "support/temp_dir.h"

namespace mavu::script {
namespace {

using test::ScriptGame;
using test::Sjis;

std::filesystem::path MavuPack() {
  const char* tools = std::getenv("MAVU_TOOLS_DIR");
  if (tools == nullptr) throw std::runtime_error("MAVU_TOOLS_DIR is not set");
  return std::filesystem::path(tools) / "mavu-pack";
}

// A game folder whose data0 pair is written by the mavu-pack tool from UTF-8 sources.
class PackedGame {
 public:
  PackedGame() {
    source_.Write("start.s", "// 開始\n@@TOP\n\\mes,\"ソ表\\ボ{マ}\",能\n@@@scn\\sub.s\n\\end\n");
    source_.Write("scn/sub.s", "@@Sub\n\\sel,ソ,\"a,b\"\\next\n\\after\n");
    std::filesystem::create_directories(game_.Path() / "GameData");
    std::string command = "\"" + MavuPack().string() + "\" build \"" +
                          (game_.Path() / "GameData" / "data0").string() + "\" \"" +
                          source_.Path().string() + "\" --compress --scramble --encode-text";
    built_ = std::system(command.c_str()) == 0;
    mounted_ = built_ && ScriptGame::MountFolder(game_.Path()) == 1;
  }
  ~PackedGame() { resource::TheDataTree().UnmountDataPacks(); }

  bool Ready() const { return mounted_; }

 private:
  mavu::test::TempDir source_;
  mavu::test::TempDir game_;
  bool built_ = false;
  bool mounted_ = false;
};

TEST(MavuPackScript, ReadsCp932ScriptsFromAToolBuiltPack) {
  PackedGame game;
  ASSERT_TRUE(game.Ready());
  TKelReader reader;
  ASSERT_TRUE(reader.JumpToLabel("start.s", "@@top"));
  EXPECT_EQ(reader.ReadCommand(), Sjis("\\mes,\"ソ表\\ボ{マ}\",能"));
  EXPECT_EQ(reader.PositionText(), "start.s(3)");
  EXPECT_EQ(reader.ReadCommand(), "@@Sub");
  std::string command = reader.ReadCommand();
  EXPECT_EQ(command, Sjis("\\sel,ソ,\"a,b\""));
  EXPECT_EQ(reader.PositionText(), "scn\\sub.s(2)");
  TWordBuf words;
  SplitWords(words, command, ',');
  ASSERT_EQ(words.count, 3);
  EXPECT_EQ(words.words[1], Sjis("ソ"));
  EXPECT_EQ(words.words[2], "\"a,b\"");
  EXPECT_EQ(reader.ReadCommand(), "\\next");
  EXPECT_EQ(reader.ReadCommand(), "\\after");
  EXPECT_EQ(reader.ReadCommand(), "\\end");
  EXPECT_EQ(reader.LabelFile("@@sub"), "scn\\sub.s");
}

}  // namespace
}  // namespace mavu::script
