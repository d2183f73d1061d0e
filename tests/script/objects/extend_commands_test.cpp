#include <gtest/gtest.h>

#include "script/objects/kel_object_data_extend.h"
#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using ExtendCommandsTest = ObjectTest;

TEST_F(ExtendCommandsTest, SendRaisesTheEventWithItsTextAndHoldsTwoSteps) {
  game_.emplace(std::map<std::string, std::string>{
      {"main.s", "@@start\r\n\\gvar,int,n\\scp,ext\\s,\"open\"+\"door\"\\cal,n=1\r\n"}});
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  script_->UpdateFrame(25, true);
  EXPECT_EQ(shell_.extensionTexts, std::vector<std::string>{"opendoor"});
  auto* extension = dynamic_cast<TKelObjectDataExtend*>(objects_->Find("ext,0"));
  ASSERT_NE(extension, nullptr);
  EXPECT_EQ(extension->Text(), "opendoor");
  EXPECT_EQ(Int("n"), 0);
  script_->UpdateFrame(25, true);  // held
  EXPECT_EQ(Int("n"), 0);
  script_->UpdateFrame(25, true);
  script_->UpdateFrame(25, true);
  EXPECT_EQ(Int("n"), 1);
}

TEST_F(ExtendCommandsTest, ResetRaisesTheResetEvent) {
  ASSERT_TRUE(Run("\\scp,ext\\i\r\n"));
  EXPECT_EQ(shell_.extensionResets, 1);
  EXPECT_TRUE(shell_.extensionTexts.empty());
}

TEST_F(ObjectTest, TheNetworkObjectTakesEveryWordWithoutAnError) {
  bool ran = Run("\\scp,tcp\\open,\"host\",80\\x\\send,1\r\n");
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace mavu::script::test
