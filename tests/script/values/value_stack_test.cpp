#include "script/values/value_stack.h"

#include <gtest/gtest.h>

namespace mavu::script {
namespace {

TEST(ValueStack, PopsInReverseOrderAndGivesNoneWhenEmpty) {
  TValueStack stack;
  stack.Push(TReturnValue::FromInteger(1));
  stack.Push(TReturnValue::FromString("two"));
  EXPECT_EQ(stack.Count(), 2u);
  EXPECT_EQ(stack.Pop().Text(), "two");
  EXPECT_EQ(stack.Pop().integer, 1);
  EXPECT_TRUE(stack.Pop().IsNone());
  EXPECT_EQ(stack.Count(), 0u);
}

TEST(ValueStack, KeepsEveryValueBeyondSixtyFour) {
  TValueStack stack;
  for (int i = 0; i < 200; ++i) stack.Push(TReturnValue::FromInteger(i));
  EXPECT_EQ(stack.Count(), 200u);
  for (int i = 199; i >= 0; --i) EXPECT_EQ(stack.Pop().integer, i);
  stack.Push(TReturnValue::FromInteger(5));
  stack.Clear();
  EXPECT_TRUE(stack.Pop().IsNone());
}

}  // namespace
}  // namespace mavu::script
