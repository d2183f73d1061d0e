#include <gtest/gtest.h>

#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using ReplaceCommandsTest = ObjectTest;

const ReplacementTable& Table(TKelScript& script) {
  return script.Reader().Replacements();
}

TEST_F(ReplaceCommandsTest, AddsTakesPatternsLiterallyAndModesAsExpressions) {
  ASSERT_TRUE(Run("\\scp,rep\\a,\"x+1\",{[n]},1+1\r\n"));
  const ReplacementTable::Slot& slot = Table(*script_).At(0);
  EXPECT_EQ(slot.pattern, "x+1");
  EXPECT_EQ(slot.replacement, "[n]");
  EXPECT_EQ(slot.mode, 2);
}

TEST_F(ReplaceCommandsTest, ReplacementChangesTheLinesThatFollow) {
  ASSERT_TRUE(Run("\\gvar,int,a\\scp,rep\\a,\"ALPHA\",\"42\",0\r\n\\cal,a=alpha\r\n"));
  EXPECT_EQ(Int("a"), 42);
}

TEST_F(ReplaceCommandsTest, LockTurnsReplacementOffAndZeroOn) {
  ASSERT_TRUE(Run("\\scp,rep\\lk,1\r\n"));
  EXPECT_FALSE(script_->Reader().ReplacementEnabled());
  ASSERT_TRUE(Run("\\scp,rep\\lk,0\r\n"));
  EXPECT_TRUE(script_->Reader().ReplacementEnabled());
}

TEST_F(ReplaceCommandsTest, RemoveAndClear) {
  // Patterns that occur in no later line.
  ASSERT_TRUE(Run("\\scp,rep\\a,\"zzlong\",\"1\",0\\a,\"zq\",\"2\",0\\d,\"ZZLONG\"\r\n"));
  EXPECT_EQ(Table(*script_).At(0).pattern, "zq");
  EXPECT_EQ(Table(*script_).At(1).pattern, "");
  ASSERT_TRUE(Run("\\scp,rep\\et,\"> \"\\nt,{empty}\\i\r\n"));
  EXPECT_EQ(Table(*script_).At(0).pattern, "");
  EXPECT_EQ(script_->Reader().TextLinePrefix(), "");
  EXPECT_EQ(script_->Reader().EmptyLineText(), "");
}

TEST_F(ReplaceCommandsTest, TextLinePrefixAndEmptyLineText) {
  ASSERT_TRUE(Run("\\scp,rep\\et,\"\\msg \"\\nt,{\\cal,x=1}\r\n"));
  EXPECT_EQ(script_->Reader().TextLinePrefix(), "\\msg ");
  EXPECT_EQ(script_->Reader().EmptyLineText(), "\\cal,x=1");
}

TEST_F(ReplaceCommandsTest, SetWritesASlotDirectly) {
  ASSERT_TRUE(Run("\\scp,rep\\s,63,\"a\",\"b\",3\r\n"));
  const ReplacementTable::Slot& slot = Table(*script_).At(63);
  EXPECT_EQ(slot.pattern, "a");
  EXPECT_EQ(slot.replacement, "b");
  EXPECT_EQ(slot.mode, 3);
}

TEST_F(ReplaceCommandsTest, ASlotOutsideTheTableIsReportedWithTheCommand) {
  EXPECT_FALSE(Run("\\scp,rep\\s,64,\"a\",\"b\",0\r\n"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"範囲外を指定しました。:\\s,64,\"a\",\"b\",0"});
}

TEST_F(ReplaceCommandsTest, AFullTableIsReportedWithTheCommand) {
  std::string lines = "\\scp,rep\r\n";
  // Patterns of equal length, so that none occurs in the lines that add the others.
  for (int i = 10; i < 74; ++i) lines += "\\a,\"q" + std::to_string(i) + "\",\"r\",0\r\n";
  ASSERT_TRUE(Run(lines));
  EXPECT_FALSE(Run("\\scp,rep\\a,\"one more\",\"r\",0\r\n"));
  EXPECT_EQ(Messages(),
            std::vector<std::string>{"これ以上追加できません。:\\a,\"one more\",\"r\",0"});
  // An existing pattern is still overwritten (with replacement off, so that
  // the line itself keeps it).
  ClearError();
  EXPECT_TRUE(Run("\\scp,rep\\lk,1\r\n\\a,\"Q15\",\"new\",0\r\n"));
  EXPECT_EQ(Table(*script_).At(5).replacement, "new");
}

TEST_F(ReplaceCommandsTest, AnUnquotedPatternIsEmptyAndAddsNothing) {
  ASSERT_TRUE(Run("\\scp,rep\\a,abc,\"r\",0\r\n"));
  EXPECT_EQ(Table(*script_).At(0).pattern, "");
}

}  // namespace
}  // namespace mavu::script::test
