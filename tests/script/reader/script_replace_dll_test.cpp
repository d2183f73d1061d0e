#include "script/reader/script_replace_dll.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "support/temp_dir.h"

namespace mavu::script {
namespace {

namespace fs = std::filesystem;

const fs::path kPlugin = MAVU_SCRREP_TEST_PLUGIN;
const fs::path kNoEntryPlugin = MAVU_SCRREP_NO_ENTRY_PLUGIN;

std::unique_ptr<TScriptReplaceDLL> LoadPlugin() {
  auto loaded = TScriptReplaceDLL::Load(kPlugin);
  EXPECT_EQ(loaded.error, "");
  return std::move(loaded.replacer);
}

TEST(TScriptReplaceDLL, ReplacesALineThroughTheLibrary) {
  auto replacer = LoadPlugin();
  ASSERT_TRUE(replacer);
  EXPECT_EQ(replacer->Path(), fs::absolute(kPlugin));
  EXPECT_EQ(replacer->Replace("\\mes hello"), "\\MES HELLO");
  // ヂ ("\x83\x61") keeps its trail byte, which looks like an "a" but is no letter here.
  const std::string di = "\x83\x61";
  EXPECT_EQ(replacer->Replace("a" + di + "b"), "A" + di + "B");
  EXPECT_EQ(replacer->Replace(""), "");
  EXPECT_EQ(replacer->Replace("erase"), "");
}

TEST(TScriptReplaceDLL, TheLibraryGetsAZeroFilledBufferEveryTime) {
  auto replacer = LoadPlugin();
  ASSERT_TRUE(replacer);
  EXPECT_EQ(replacer->Replace(std::string(1000, 'q')), std::string(1000, 'Q'));
  EXPECT_EQ(replacer->Replace("ok"), "OK");  // nothing left over from the long line
}

TEST(TScriptReplaceDLL, AFullBufferWithoutTerminatorGivesAll1024Bytes) {
  auto replacer = LoadPlugin();
  ASSERT_TRUE(replacer);
  EXPECT_EQ(replacer->Replace("fill"), std::string(TScriptReplaceDLL::kBufferSize, 'x'));
}

TEST(TScriptReplaceDLL, LinesTheBufferCannotCarryStayUnchanged) {
  auto replacer = LoadPlugin();
  ASSERT_TRUE(replacer);
  std::string longest(TScriptReplaceDLL::kBufferSize - 1, 'a');
  EXPECT_EQ(replacer->Replace(longest), std::string(longest.size(), 'A'));
  std::string tooLong(TScriptReplaceDLL::kBufferSize, 'a');
  EXPECT_EQ(replacer->Replace(tooLong), tooLong);
  std::string withZero("ab\0cd", 5);
  EXPECT_EQ(replacer->Replace(withZero), withZero);
}

TEST(TScriptReplaceDLL, AMissingFileIsReportedWithItsFullPath) {
  test::TempDir dir;
  fs::path missing = dir.Path() / "nothing.so";
  auto loaded = TScriptReplaceDLL::Load(missing);
  EXPECT_FALSE(loaded.replacer);
  EXPECT_EQ(loaded.error, "Not Found SCRREP.DLL \r\n(" + missing.string() + ")");
}

TEST(TScriptReplaceDLL, AFileThatIsNoLibraryIsReportedAsNotFound) {
  test::TempDir dir;
  fs::path bogus = dir.Write("DLL/libscrrep.so", "not a library");
  auto loaded = TScriptReplaceDLL::LoadFromGame(dir.Path());
  EXPECT_FALSE(loaded.replacer);
  EXPECT_EQ(loaded.error, "Not Found SCRREP.DLL \r\n(" + bogus.string() + ")");
}

TEST(TScriptReplaceDLL, AMissingEntryPointIsReportedByName) {
  auto loaded = TScriptReplaceDLL::Load(kNoEntryPlugin);
  EXPECT_FALSE(loaded.replacer);
  // 関数(SRReplace)の所得に失敗しました
  EXPECT_EQ(loaded.error,
            "\x8A\xD6\x90\x94(SRReplace)\x82\xCC\x8F\x8A\x93\xBE\x82\xC9\x8E\xB8\x94\x73\x82\xB5"
            "\x82\xDC\x82\xB5\x82\xBD");
}

TEST(TScriptReplaceDLL, AGameWithoutReplacerHasNoneAndNoError) {
  test::TempDir dir;
  auto loaded = TScriptReplaceDLL::LoadFromGame(dir.Path());
  EXPECT_FALSE(loaded.replacer);
  EXPECT_EQ(loaded.error, "");
}

TEST(TScriptReplaceDLL, TheGameFoldersReplacerIsFoundWhateverTheCase) {
  test::TempDir dir;
  fs::create_directories(dir.Path() / "dll");
  fs::copy_file(kPlugin, dir.Path() / "dll" / "LibScrRep.so");
  auto loaded = TScriptReplaceDLL::LoadFromGame(dir.Path());
  ASSERT_TRUE(loaded.replacer) << loaded.error;
  EXPECT_EQ(loaded.replacer->Path(), dir.Path() / "dll" / "LibScrRep.so");
  EXPECT_EQ(loaded.replacer->Replace("abc"), "ABC");
}

}  // namespace
}  // namespace mavu::script
