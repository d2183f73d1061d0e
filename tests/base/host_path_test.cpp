#include <gtest/gtest.h>

#include "base/host_path.h"
#include "support/temp_dir.h"

namespace mavu::base {
namespace {

TEST(HostPath, BackslashesBecomeSeparatorsAndTextBecomesUtf8) {
  EXPECT_EQ(HostPath("System\\Menu\\Layout.dat"), std::filesystem::path("System/Menu/Layout.dat"));
  // The trail byte 0x5C of 表 is no separator.
  EXPECT_EQ(HostPath("\x95\x5C\\a.png"), std::filesystem::path("表/a.png"));
}

TEST(HostPath, FindsLooseFilesIgnoringLetterCase) {
  test::TempDir dir;
  auto file = dir.Write("GameData/System/Etc/Game.dat", "x");
  dir.Write("GameData/画像/Bg01.PNG", "y");
  EXPECT_EQ(FindLooseFile(dir.Path(), "gamedata\\system\\etc\\game.DAT"), file);
  EXPECT_EQ(FindLooseFile(dir.Path(), "GameData\\System\\Etc\\Game.dat"), file);
  EXPECT_TRUE(FindLooseFile(dir.Path(), "GAMEDATA\\\x89\xE6\x91\x9C\\bg01.png"));
  EXPECT_FALSE(FindLooseFile(dir.Path(), "gamedata\\system\\nothing.dat"));
  EXPECT_FALSE(FindLooseFile(dir.Path(), "gamedata\\system"));  // a folder is no file
  EXPECT_FALSE(FindLooseFile(dir.Path(), "..\\etc\\passwd"));
  EXPECT_FALSE(FindLooseFile(dir.Path(), ""));
}

TEST(HostPath, SeesFilesAddedAndRemovedAfterALookup) {
  test::TempDir dir;
  dir.Write("GameData/keep.txt", "k");
  EXPECT_FALSE(FindLooseFile(dir.Path(), "gamedata\\new.png"));
  const auto added = dir.Write("GameData/New.PNG", "n");
  EXPECT_EQ(FindLooseFile(dir.Path(), "gamedata\\new.png"), added);
  std::filesystem::remove(added);
  EXPECT_FALSE(FindLooseFile(dir.Path(), "gamedata\\new.png"));
}

}  // namespace
}  // namespace mavu::base
