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
  EXPECT_EQ(ExpandDialogText("End %%%app?", "Demo"), "End Demo?");
  EXPECT_EQ(ExpandDialogText("%%%app:%%%app", "T"), "T:T");
  EXPECT_EQ(ExpandDialogText("%%%%app%%", "T"), "%T%%");
  EXPECT_EQ(ExpandDialogText("%%%ap", "T"), "%%%ap");
  EXPECT_EQ(ExpandDialogText("", "T"), "");
}

TEST(MessageTable, ALineMarkBetweenTwoPhrasesGivesTwoLines) {
  std::string text = ExpandDialogText("\x95\x5C first%%%nsecond", "T");
  EXPECT_EQ(text, "\x95\x5C first\x0A\x0Dsecond");
  EXPECT_EQ(text.find('\n'), 8u);
}

TEST(MessageTable, TheTitleIsInsertedWithoutFurtherExpansion) {
  EXPECT_EQ(ExpandDialogText("[%%%app]", "a%%%nb"), "[a%%%nb]");
}

}  // namespace
}  // namespace mavu::resource
