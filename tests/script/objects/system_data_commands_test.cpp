#include <gtest/gtest.h>

#include <filesystem>

#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using SystemDataCommandsTest = ObjectTest;

TEST_F(SystemDataCommandsTest, SavesAndLoadsSystemVariables) {
  ASSERT_TRUE(
      Run("\\svar,int,seen\\cal,seen=3\\scp,sdat\\s,\"copy.dat\"\\cal,seen=8\r\n"
          "\\l,\"copy.dat\"\r\n"));
  EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "SaveData" / "copy.dat"));
  EXPECT_EQ(Int("seen"), 3);
}

TEST_F(SystemDataCommandsTest, ClearRemovesEverySystemVariable) {
  ASSERT_TRUE(Run("\\svar,int,seen\\scp,sdat\\i\r\n"));
  EXPECT_EQ(script_->Calculation().Visibility("seen", 0), VariableScope::kNone);
}

TEST_F(SystemDataCommandsTest, AMissingFileIsReported) {
  EXPECT_FALSE(Run("\\scp,sdat\\l,\"none.dat\"\r\n"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"\\l：SystemDataのロードに失敗：none.dat"});
}

TEST_F(SystemDataCommandsTest, AFileThatCannotBeWrittenIsReported) {
  std::filesystem::create_directories(folder_.Path() / "SaveData" / "taken");
  EXPECT_FALSE(Run("\\scp,sdat\\s,\"taken\"\r\n"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"\\s：SystemDataのセーブに失敗：taken"});
}

}  // namespace
}  // namespace mavu::script::test
