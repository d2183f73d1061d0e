#include "resource/message_table.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

TEST(MessageTable, TextsByKeyIgnoringCase) {
  test::TempDir dir;
  auto path =
      dir.Write("Message.Dat", "OK=\x82\x6E\x82\x6A\r\nEXIT_Text=Quit %%%app?\r\nEXIT_Yes=\r\n");
  MessageTable table;
  ASSERT_TRUE(table.Load(path));
  EXPECT_EQ(table.Text("OK"), "\x82\x6E\x82\x6A");
  EXPECT_EQ(table.Text("exit_text"), "Quit %%%app?");
  EXPECT_EQ(table.Text("EXIT_Yes"), "");
  EXPECT_EQ(table.Text("CRCCHECKERROR"), "");
}

TEST(MessageTable, AMissingFileLeavesAnEmptyTable) {
  test::TempDir dir;
  MessageTable table;
  table.LoadFromBytes(base::Bytes{'O', 'K', '=', 'y'});
  ASSERT_EQ(table.Text("OK"), "y");
  EXPECT_FALSE(table.Load(dir.Path() / "Message.Dat"));
  EXPECT_EQ(table.Text("OK"), "");
}

TEST(MessageTable, TheProcessTable) {
  test::TempDir dir;
  auto path = dir.Write("Message.Dat", "SaveDirectoryERROR=cannot create\n");
  ASSERT_TRUE(LoadMessageTable(path));
  EXPECT_EQ(MessageText("SaveDirectoryERROR"), "cannot create");
  EXPECT_FALSE(LoadMessageTable(dir.Path() / "absent"));
  EXPECT_EQ(MessageText("SaveDirectoryERROR"), "");
}

TEST(MessageTable, DialogTextsGetTheTitleAndLineBreaks) {
  EXPECT_EQ(DialogDisplayText("End %%%app?", "Demo"), "End Demo?");
  EXPECT_EQ(DialogDisplayText("%%%app:%%%app", "T"), "T:T");
  EXPECT_EQ(DialogDisplayText("%%%%app%%", "T"), "%T%%");
  EXPECT_EQ(DialogDisplayText("%%%ap", "T"), "%%%ap");
  EXPECT_EQ(DialogDisplayText("", "T"), "");
}

TEST(MessageTable, ALineMarkBetweenTwoPhrasesGivesTwoLinesOfUtf8) {
  // 0x95 0x5C is one character whose trail byte is a backslash.
  EXPECT_EQ(DialogDisplayText("\x95\x5C first%%%nsecond", "\x83\x51"), "表 first\nsecond");
  EXPECT_EQ(DialogDisplayText("%%%app", "\x83\x51\x81\x5B\x83\x80"), "ゲーム");
}

TEST(MessageTable, TheTitleIsInsertedWithoutFurtherExpansion) {
  EXPECT_EQ(DialogDisplayText("[%%%app]", "a%%%nb"), "[a%%%nb]");
}

}  // namespace
}  // namespace mavu::resource
