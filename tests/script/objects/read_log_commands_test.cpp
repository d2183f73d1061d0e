#include <gtest/gtest.h>

#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using ReadLogCommandsTest = ObjectTest;

TEST_F(ReadLogCommandsTest, LineLogValuesAreStoredReadAndCleared) {
  ASSERT_TRUE(
      Run("\\gvar,int,a,b,c\\scp,slog\\s,\"Main.s@@Start\",12\\g,\"main.s@@start\"\r\n"
          "\\cal,a=ResultInt\\s,\"main.s@@start\",3\\g,\"main.s@@start\"\r\n"
          "\\cal,b=ResultInt\\cc\\g,\"main.s@@start\"\\cal,c=ResultInt\r\n"));
  EXPECT_EQ(Int("a"), 12);
  EXPECT_EQ(Int("b"), 3);  // stored whatever was there
  EXPECT_EQ(Int("c"), -1);
}

TEST_F(ReadLogCommandsTest, BothLineLogObjectsActOnTheLineLog) {
  ASSERT_TRUE(Run("\\scp,llog\\s,\"k\",5\\scp,slog\\g,\"K\"\r\n"));
  EXPECT_EQ(Int("ResultInt"), 5);
  EXPECT_EQ(script_->SystemData().ReadLines().Counts().LookupCount("k"), 5);
}

TEST_F(ReadLogCommandsTest, LineLogLocksOnlyWithOne) {
  ASSERT_TRUE(Run("\\scp,slog\\lk,1\r\n"));
  EXPECT_TRUE(script_->SystemData().ReadLines().Locked());
  ASSERT_TRUE(Run("\\scp,slog\\lk,1\\lk,2\r\n"));
  EXPECT_FALSE(script_->SystemData().ReadLines().Locked());
  ASSERT_TRUE(Run("\\scp,slog\\lk,1\\i\r\n"));
  EXPECT_FALSE(script_->SystemData().ReadLines().Locked());
}

TEST_F(ReadLogCommandsTest, FileLogFiltersDecideWhatIsCounted) {
  ASSERT_TRUE(
      Run("\\gvar,file,f\\scp,flog\\a,\"CG\\\"\\scp,f\\l,\"cg\\a.txt\"\\l,\"bg\\b.txt\"\r\n"
          "\\l,\"cg\\a.txt\"\\scp,flog\\g,\"CG\\A.TXT\"\r\n",
          {{"cg\\a.txt", "x"}, {"bg\\b.txt", "y"}}));
  EXPECT_EQ(Int("ResultInt"), 2);
  EXPECT_EQ(script_->SystemData().OpenedFiles().Filters()[0], "cg\\");
  EXPECT_EQ(script_->SystemData().OpenedFiles().Counts().LookupCount("bg\\b.txt"), -1);
}

TEST_F(ReadLogCommandsTest, FileLogFilterRemovalIsExact) {
  ASSERT_TRUE(Run("\\scp,flog\\a,\"Ev\"\\d,\"EV\"\r\n"));
  EXPECT_EQ(script_->SystemData().OpenedFiles().Filters()[0], "ev");
  ASSERT_TRUE(Run("\\scp,flog\\d,\"ev\"\r\n"));
  EXPECT_EQ(script_->SystemData().OpenedFiles().Filters()[0], "");
}

TEST_F(ReadLogCommandsTest, FileLogStoreClearLockAndReset) {
  ASSERT_TRUE(
      Run("\\gvar,int,a\\scp,flog\\s,\"X.png\",9\\g,\"x.png\"\\cal,a=ResultInt\\cc\r\n"
          "\\g,\"x.png\"\\a,\"ev\"\\lk,1\r\n"));
  EXPECT_EQ(Int("a"), 9);
  EXPECT_EQ(Int("ResultInt"), -1);
  resource::FileLog& log = script_->SystemData().OpenedFiles();
  EXPECT_TRUE(log.Locked());
  ASSERT_TRUE(Run("\\scp,flog\\i\r\n"));
  EXPECT_FALSE(log.Locked());
  EXPECT_EQ(log.Filters()[0], "");
}

}  // namespace
}  // namespace mavu::script::test
