#include <gtest/gtest.h>

#include "resource/data_tree.h"
#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using PathCommandsTest = ObjectTest;

const std::array<std::string, resource::DataTree::kDirEntries>& Dirs() {
  return resource::TheDataTree().DataDirs();
}

TEST_F(PathCommandsTest, AddRemoveAndSetChangeTheFolderList) {
  ASSERT_TRUE(Run("\\scp,path\\a,\"patch\\\"\\a,\"alt\\\"\\s,5,\"five\\\"\\d,\"PATCH\\\"\r\n"));
  EXPECT_EQ(Dirs()[0], "");
  EXPECT_EQ(Dirs()[1], "alt\\");
  EXPECT_EQ(Dirs()[5], "five\\");
  EXPECT_EQ(Dirs()[15], "root");
}

TEST_F(PathCommandsTest, AFolderPrefixChangesWhatFilesResolveTo) {
  ASSERT_TRUE(Run("\\gvar,file,f\\scp,path\\s,0,\"alt\\\"\\scp,f\\l,\"t.txt\"\\c\r\n",
                  {{"t.txt", "plain\n"}, {"alt\\t.txt", "a\nb\n"}}));
  EXPECT_EQ(Int("ResultInt"), 2);
}

TEST_F(PathCommandsTest, ResetEmptiesTheListButRoot) {
  ASSERT_TRUE(Run("\\scp,path\\a,\"x\\\"\\i\r\n"));
  for (int i = 0; i < 15; ++i) EXPECT_EQ(Dirs()[static_cast<size_t>(i)], "") << i;
  EXPECT_EQ(Dirs()[15], "root");
}

TEST_F(PathCommandsTest, AFullListIsReportedWithTheCommand) {
  std::string lines = "\\scp,path\r\n";
  for (int i = 0; i < 15; ++i) lines += "\\a,\"d" + std::to_string(i) + "\"\r\n";
  EXPECT_FALSE(Run(lines + "\\a,\"more\"\r\n"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"これ以上追加できません。: \\a,\"more\""});
}

TEST_F(PathCommandsTest, AnIndexOutsideZeroToFourteenIsReportedWithTheCommand) {
  EXPECT_FALSE(Run("\\scp,path\\s,15,\"x\"\r\n"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"範囲外を指定しました。: \\s,15,\"x\""});
  EXPECT_EQ(Dirs()[15], "root");
}

}  // namespace
}  // namespace mavu::script::test
