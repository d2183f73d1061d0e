#include "resource/data_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "hand_made_pack.h"
#include "resource/pack_builder.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using test::BytesOf;

TEST(NormalizeDataPath, TurnsSlashesIntoBackslashesAndCollapsesDoubles) {
  EXPECT_EQ(NormalizeDataPath("System/Menu//Layout.dat"), "System\\Menu\\Layout.dat");
  EXPECT_EQ(NormalizeDataPath("a\\\\\\\\b"), "a\\\\b");
  EXPECT_EQ(NormalizeDataPath("a\\/b"), "a\\b");
  EXPECT_EQ(NormalizeDataPath("//a"), "\\a");
  EXPECT_EQ(NormalizeDataPath("Up\\..\\.\\Case.PNG"), "Up\\..\\.\\Case.PNG");
  EXPECT_EQ(NormalizeDataPath(""), "");
}

TEST(NormalizeDataPath, KeepsATrailByte5CWhole) {
  // 表 is 0x95 0x5C: its trail byte is no separator, so the "\" after it stays.
  EXPECT_EQ(NormalizeDataPath("\x95\x5C\\x"), "\x95\x5C\\x");
  EXPECT_EQ(NormalizeDataPath("\x95\x5C/x"), "\x95\x5C\\x");
  EXPECT_EQ(NormalizeDataPath("\x95\x5C\\\\x"), "\x95\x5C\\x");
}

// A game folder with packs made at test time.
class DataTreeTest : public ::testing::Test {
 protected:
  using Files = std::map<std::string, std::string>;

  DataTreeTest() { tree_.SetProgramDirectory(dir_.Path()); }

  void MakePack(int number, const Files& files, bool withIndex = true) {
    PackBuilder builder({.compress = true, .scramble = true});
    for (const auto& [name, contents] : files) ASSERT_TRUE(builder.Add(name, BytesOf(contents)));
    std::filesystem::create_directories(dir_.Path() / "GameData");
    auto stem = dir_.Path() / "GameData" / ("data" + std::to_string(number));
    ASSERT_TRUE(builder.WriteFiles(stem));
    if (!withIndex) std::filesystem::remove(stem.string() + ".hash");
  }

  std::string Open(std::string_view name) {
    auto bytes = tree_.OpenDataFile(name);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
  }

  test::TempDir dir_;
  DataTree tree_;
};

TEST_F(DataTreeTest, ReadsArchivedFilesInAnySpelling) {
  MakePack(0, {{"System\\Menu\\Layout.dat", "layout"}});
  ASSERT_EQ(tree_.MountDataPacks("GameData\\"), 1);
  EXPECT_EQ(Open("System/Menu//Layout.dat"), "layout");
  EXPECT_EQ(Open("SYSTEM\\MENU\\LAYOUT.DAT"), "layout");
  EXPECT_EQ(tree_.ResolveDataPath("System/Menu/Layout.dat"), "System\\Menu\\Layout.dat");
  EXPECT_EQ(Open("System\\Menu\\Other.dat"), "<none>");
  EXPECT_EQ(tree_.ResolveDataPath("System\\Menu\\Other.dat"), "");
}

TEST_F(DataTreeTest, ALooseFileWinsExceptForScripts) {
  MakePack(0, {{"System\\etc\\Game.dat", "packed"}, {"Startup.s", "packed script"}});
  dir_.Write("System/Etc/game.DAT", "loose");
  dir_.Write("startup.s", "loose script");
  dir_.Write("only.s", "loose only");
  ASSERT_EQ(tree_.MountDataPacks("GameData\\"), 1);
  EXPECT_EQ(Open("System\\etc\\Game.dat"), "loose");
  EXPECT_EQ(tree_.ResolveDataPath("System\\etc\\Game.dat"), "System\\etc\\Game.dat");
  EXPECT_EQ(Open("Startup.s"), "packed script");
  EXPECT_EQ(Open("only.s"), "<none>");
  EXPECT_EQ(tree_.ResolveDataPath("only.s"), "");
}

TEST_F(DataTreeTest, HigherPacksComeFirstThroughAllPrefixes) {
  MakePack(
      3,
      {{"a.png", "3 root a"}, {"alt\\a.png", "3 alt a"}, {"b.png", "3 root b"}, {"c.png", "3 c"}});
  MakePack(1, {{"alt\\b.png", "1 alt b"}, {"c.png", "1 c"}, {"d.png", "1 d"}});
  ASSERT_EQ(tree_.MountDataPacks("GameData\\"), 2);
  ASSERT_TRUE(tree_.SetDataDir(0, "alt\\"));
  EXPECT_EQ(tree_.ResolveDataPath("a.png"), "alt\\a.png");
  EXPECT_EQ(Open("a.png"), "3 alt a");
  EXPECT_EQ(tree_.ResolveDataPath("b.png"), "b.png");
  EXPECT_EQ(Open("b.png"), "3 root b");
  EXPECT_EQ(Open("c.png"), "3 c");
  EXPECT_EQ(Open("d.png"), "1 d");
  tree_.ResetDataDirs();
  EXPECT_EQ(Open("a.png"), "3 root a");
}

TEST_F(DataTreeTest, ALooseFileAlsoOverridesANameFoundUnderAPrefix) {
  MakePack(0, {{"alt\\a.png", "packed"}});
  dir_.Write("Alt/A.png", "loose");
  ASSERT_EQ(tree_.MountDataPacks("GameData\\"), 1);
  tree_.SetDataDir(0, "alt\\");
  EXPECT_EQ(tree_.ResolveDataPath("a.png"), "alt\\a.png");
  EXPECT_EQ(Open("a.png"), "loose");
}

TEST_F(DataTreeTest, ScriptsStillTakeThePrefixesWhenALooseCopyExists) {
  MakePack(0, {{"alt\\main.s", "prefixed"}, {"main.s", "plain"}});
  dir_.Write("main.s", "loose");
  ASSERT_EQ(tree_.MountDataPacks("GameData\\"), 1);
  tree_.SetDataDir(0, "alt\\");
  EXPECT_EQ(tree_.ResolveDataPath("main.s"), "alt\\main.s");
  EXPECT_EQ(Open("main.s"), "prefixed");
}

TEST_F(DataTreeTest, TheHookSeesTheResolvedNameLowerCased) {
  MakePack(0, {{"alt\\a.png", "a"}});
  dir_.Write("System/etc/Game.dat", "g");
  ASSERT_EQ(tree_.MountDataPacks("GameData\\"), 1);
  std::vector<std::string> opened;
  tree_.SetOpenHook([&](const std::string& name) { opened.push_back(name); });
  tree_.AddDataDir("Alt\\");
  EXPECT_EQ(Open("A.PNG"), "a");
  EXPECT_EQ(Open("System\\etc\\Game.dat"), "g");
  EXPECT_EQ(Open("nothing.png"), "<none>");
  EXPECT_EQ(opened, (std::vector<std::string>{"alt\\a.png", "system\\etc\\game.dat"}));
}

TEST_F(DataTreeTest, MountsTheNumbersPresent) {
  MakePack(2, {{"two", "2"}});
  MakePack(7, {{"seven", "7"}}, false);
  ASSERT_EQ(tree_.MountDataPacks("GameData\\"), 2);
  for (int slot = 0; slot < DataTree::kSlots; ++slot) {
    EXPECT_EQ(tree_.IsSlotMounted(slot), slot == 2 || slot == 7) << slot;
  }
  EXPECT_EQ(Open("two"), "2");
  EXPECT_EQ(Open("SEVEN"), "7");
  tree_.UnmountDataPacks();
  EXPECT_FALSE(tree_.IsSlotMounted(2));
  EXPECT_EQ(Open("two"), "<none>");
}

TEST_F(DataTreeTest, FindsTheFolderInAnotherCaseAndWithoutATrailingSeparator) {
  MakePack(0, {{"x", "x"}});
  EXPECT_EQ(tree_.MountDataPacks("gamedata"), 1);
  EXPECT_EQ(tree_.MountDataPacks((dir_.Path() / "GameData").string() + "/"), 1);
  EXPECT_EQ(Open("x"), "x");
}

TEST_F(DataTreeTest, NoPackMountsNothing) {
  EXPECT_EQ(tree_.MountDataPacks("GameData\\"), 0);
  dir_.Write("GameData/data0.hash", "");  // an index alone is no archive
  EXPECT_EQ(tree_.MountDataPacks("GameData\\"), 0);
}

TEST_F(DataTreeTest, ABrokenPairMountsNothing) {
  MakePack(0, {{"x", "x"}});
  MakePack(4, {{"y", "y"}});
  dir_.Write("GameData/data9.pack", "shorter than a footer");
  EXPECT_EQ(tree_.MountDataPacks("GameData\\"), 0);
  EXPECT_FALSE(tree_.IsSlotMounted(0));
  EXPECT_FALSE(tree_.IsSlotMounted(4));
  EXPECT_EQ(Open("x"), "<none>");
  std::filesystem::remove(dir_.Path() / "GameData" / "data9.pack");
  dir_.Write("GameData/data4.hash", "HashVer1.1");
  EXPECT_EQ(tree_.MountDataPacks("GameData\\"), 0);
}

TEST_F(DataTreeTest, VerificationIsOffAfterMountingAndReportsMismatches) {
  std::filesystem::create_directories(dir_.Path() / "GameData");
  dir_.Write("GameData/data0.pack",
             test::HandMadePack({{"bad.png", BytesOf("damaged!"), false, false, false}}));
  std::vector<std::string> reported;
  tree_.SetChecksumErrorHandler([&](const std::string& name) { reported.push_back(name); });
  tree_.SetPackVerification(true);
  ASSERT_EQ(tree_.MountDataPacks("GameData\\"), 1);
  EXPECT_EQ(Open("bad.png"), "damaged!");
  bool hooked = false;
  tree_.SetOpenHook([&](const std::string&) { hooked = true; });
  tree_.SetPackVerification(true);
  EXPECT_EQ(Open("Bad.png"), "<none>");
  EXPECT_EQ(reported, std::vector<std::string>{"bad.png"});
  EXPECT_FALSE(hooked);
}

TEST_F(DataTreeTest, AReadErrorReachesTheCaller) {
  std::filesystem::create_directories(dir_.Path() / "GameData");
  dir_.Write("GameData/data0.pack", test::HandMadePack({{"a.b", BytesOf("not packed"), true}}));
  ASSERT_EQ(tree_.MountDataPacks("GameData\\"), 1);
  EXPECT_THROW(tree_.OpenDataFile("a.b"), base::FormatError);
}

TEST(DataDirs, StartWithRootInTheLastEntry) {
  DataTree tree;
  std::array<std::string, DataTree::kDirEntries> expected{};
  expected[15] = "root";
  EXPECT_EQ(tree.DataDirs(), expected);
  tree.SetDataDir(3, "x\\");
  tree.ResetDataDirs();
  EXPECT_EQ(tree.DataDirs(), expected);
}

TEST(DataDirs, ScriptsSetEntriesZeroToFourteen) {
  DataTree tree;
  EXPECT_TRUE(tree.SetDataDir(0, "a\\"));
  EXPECT_TRUE(tree.SetDataDir(14, "b\\"));
  EXPECT_FALSE(tree.SetDataDir(15, "c\\"));
  EXPECT_FALSE(tree.SetDataDir(-1, "c\\"));
  EXPECT_EQ(tree.DataDirs()[0], "a\\");
  EXPECT_EQ(tree.DataDirs()[14], "b\\");
  EXPECT_EQ(tree.DataDirs()[15], "root");
}

TEST(DataDirs, AddFillsTheFirstFreeEntryOrRewritesAnEqualOne) {
  DataTree tree;
  tree.SetDataDir(0, "taken\\");
  EXPECT_TRUE(tree.AddDataDir("new\\"));
  EXPECT_EQ(tree.DataDirs()[1], "new\\");
  EXPECT_TRUE(tree.AddDataDir("NEW\\"));
  EXPECT_EQ(tree.DataDirs()[1], "NEW\\");
  EXPECT_EQ(tree.DataDirs()[2], "");
  for (int i = 2; i <= 14; ++i) EXPECT_TRUE(tree.AddDataDir("d" + std::to_string(i) + "\\"));
  EXPECT_FALSE(tree.AddDataDir("full\\"));
  EXPECT_TRUE(tree.AddDataDir("D7\\"));
  EXPECT_EQ(tree.DataDirs()[7], "D7\\");
  EXPECT_EQ(tree.DataDirs()[15], "root");
}

TEST(DataDirs, RemoveEmptiesTheFirstEqualEntryButNeverTheLast) {
  DataTree tree;
  tree.SetDataDir(2, "a\\");
  tree.SetDataDir(5, "A\\");
  EXPECT_TRUE(tree.RemoveDataDir("A\\"));
  EXPECT_EQ(tree.DataDirs()[2], "");
  EXPECT_EQ(tree.DataDirs()[5], "A\\");
  EXPECT_FALSE(tree.RemoveDataDir("b\\"));
  EXPECT_FALSE(tree.RemoveDataDir("root"));
  EXPECT_EQ(tree.DataDirs()[15], "root");
}

}  // namespace
}  // namespace mavu::resource
