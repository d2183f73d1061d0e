#include "resource/settings_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_io.h"
#include "support/failing_writes.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using Lines = std::vector<std::string>;

TEST(SettingsList, LinesEndInCrLfLfOrCr) {
  EXPECT_EQ(SettingsList("a=1\r\nb=2\nc=3\rd=4").Lines(), (Lines{"a=1", "b=2", "c=3", "d=4"}));
  EXPECT_EQ(SettingsList("a\n\nb\r\n").Lines(), (Lines{"a", "", "b"}));
  EXPECT_EQ(SettingsList("\r\r\n\n").Lines(), (Lines{"", "", ""}));
  // LF then CR is two line ends, not one.
  EXPECT_EQ(SettingsList("a\n\rb").Lines(), (Lines{"a", "", "b"}));
  EXPECT_EQ(SettingsList("").Lines(), Lines{});
}

TEST(SettingsList, TheValueIsEverythingAfterTheFirstEquals) {
  SettingsList list("Title= My Game =2 \r\nEmpty=\r\n=bare");
  EXPECT_EQ(list.Value("Title"), " My Game =2 ");
  EXPECT_EQ(list.Value("Empty"), "");
  EXPECT_TRUE(list.Has("Empty"));
  EXPECT_EQ(list.Value(""), "bare");
}

TEST(SettingsList, LookUpIgnoresCaseAndTheFirstLineWins) {
  SettingsList list("fpsLIMIT=20\r\nFPSLimit=60\r\nFPSLimit\r\n");
  EXPECT_EQ(list.Value("FPSLimit"), "20");
  EXPECT_EQ(list.Value("fpslimit"), "20");
}

TEST(SettingsList, LinesWithoutEqualsAndMissingKeysReadAsEmpty) {
  SettingsList list("; GameTitle\r\nGameTitle\r\nOther=1");
  EXPECT_FALSE(list.Has("GameTitle"));
  EXPECT_EQ(list.Value("GameTitle"), "");
  EXPECT_EQ(list.Value("Absent"), "");
  // A key is the whole text before "=", blanks included.
  EXPECT_EQ(SettingsList("Key =1").Value("Key"), "");
}

TEST(SettingsList, TwoByteKeysCompareWholeCharacters) {
  // ア is 0x83 0x41: its trail byte looks like "A" but is not lowered.
  SettingsList list("\x83\x41x=1");
  EXPECT_EQ(list.Value("\x83\x41X"), "1");
  EXPECT_EQ(list.Value("\x83\x61x"), "");
}

TEST(SettingsList, SetReplacesTheFirstLineInPlaceOrAppends) {
  SettingsList list("; head\r\nfpslimit=20\r\nFPSLimit=30\r\ntail");
  list.Set("FPSLimit", "60");
  list.Set("New", "a b");
  EXPECT_EQ(list.Lines(), (Lines{"; head", "FPSLimit=60", "FPSLimit=30", "tail", "New=a b"}));
}

TEST(SettingsList, SettingAnEmptyValueRemovesEveryLineOfTheKey) {
  SettingsList list("a=1\r\nkeep\r\nA=2\r\nb=3");
  list.Set("a", "");
  EXPECT_EQ(list.Lines(), (Lines{"keep", "b=3"}));
  EXPECT_FALSE(list.Has("a"));
  list.Set("absent", "");
  EXPECT_EQ(list.Lines(), (Lines{"keep", "b=3"}));
}

TEST(SettingsList, AValueIsCutAtItsFirstLineBreak) {
  SettingsList list;
  list.Set("Pass", "abc\r\nFullScreen=1");
  list.Set("Host", "\nx");
  EXPECT_EQ(list.Lines(), Lines{"Pass=abc"});
}

TEST(SettingsList, TextEndsEveryLineWithCrLf) {
  SettingsList list("a=1\nplain\r\n\rb=2");
  EXPECT_EQ(list.Text(), "a=1\r\nplain\r\n\r\nb=2\r\n");
  EXPECT_EQ(SettingsList().Text(), "");
}

TEST(SettingsList, BytesAreKeptAsTheyAre) {
  base::Bytes bytes = {'k', '=', 0x00, 0xFF, '\n', 0x95, 0x5C, '=', 'v'};
  auto list = SettingsList::FromBytes(bytes);
  EXPECT_EQ(list.Value("k"), std::string("\x00\xFF", 2));
  EXPECT_EQ(list.Value("\x95\x5C"), "v");
}

TEST(SettingsList, SavesAndLoadsFiles) {
  test::TempDir dir;
  SettingsList list("x=1");
  auto path = dir.Path() / "s.txt";
  ASSERT_TRUE(list.Save(path));
  EXPECT_EQ(base::ReadWholeFile(path), (base::Bytes{'x', '=', '1', '\r', '\n'}));
  auto loaded = SettingsList::Load(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->Lines(), Lines{"x=1"});
  EXPECT_FALSE(SettingsList::Load(dir.Path() / "absent.txt"));
}

TEST(SettingsList, AFailedSaveKeepsTheOldFile) {
  test::TempDir dir;
  auto path = dir.Write("s.txt", "old=1\r\n");
  {
    test::FailingWrites failing;
    EXPECT_FALSE(SettingsList("new=2").Save(path));
  }
  EXPECT_EQ(SettingsList::Load(path)->Lines(), Lines{"old=1"});
  EXPECT_FALSE(SettingsList("new=2").Save(dir.Path() / "missing" / "s.txt"));
}

}  // namespace
}  // namespace mavu::resource
