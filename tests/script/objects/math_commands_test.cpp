#include <gtest/gtest.h>

#include "base/byte_writer.h"
#include "base/error_log.h"
#include "resource/random_table.h"
#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

class MathCommandsTest : public ObjectTest {
 protected:
  // ResultInt after the math command.
  int32_t Math(const std::string& command) {
    script_->Module().scope.names[0] = "math,0";
    script_->ExecuteLine(command);
    EXPECT_FALSE(base::TheErrorLog().ErrorFlag()) << command;
    return Int("ResultInt");
  }
};

TEST_F(MathCommandsTest, RandomNumbersComeFromTheTableInTurn) {
  // A table of 10, 11, 12 ... so each draw shows which entry it took.
  base::ByteWriter bytes;
  for (uint32_t i = 0; i < resource::RandomTable::kSize; ++i) bytes.U32(10 + i);
  resource::TheRandomTable().Load(bytes.Take());
  const size_t cursor = resource::TheRandomTable().Cursor();
  const int32_t first = Math("\\rnd,1000");
  EXPECT_EQ(first, static_cast<int32_t>(resource::TheRandomTable().Value(cursor + 1)) % 1000);
  const int32_t entry = static_cast<int32_t>(resource::TheRandomTable().Value(cursor + 2));
  EXPECT_EQ(Math("\\rnd,7"), entry % 7);
  const int32_t next = static_cast<int32_t>(resource::TheRandomTable().Value(cursor + 3));
  EXPECT_EQ(Math("\\rnd,-10"), next % 10 - 5);
  EXPECT_EQ(Math("\\rnd,0"), 0);
  const int32_t unbounded = static_cast<int32_t>(resource::TheRandomTable().Value(cursor + 5));
  EXPECT_EQ(Math("\\rnd"), unbounded % 0xFFFFFF);
}

TEST_F(MathCommandsTest, SineAndCosineUseTenTwentyFourthsOfATurn) {
  EXPECT_EQ(Math("\\sin,256,100"), 100);
  EXPECT_EQ(Math("\\sin,0,100"), 0);
  EXPECT_EQ(Math("\\sin,128,1000"), 707);
  EXPECT_EQ(Math("\\sin,768,50"), -50);
  EXPECT_EQ(Math("\\sin,1280,100"), 100);  // taken modulo a turn
  EXPECT_EQ(Math("\\sin,-256,100"), -100);
  EXPECT_EQ(Math("\\cos,0,100"), 100);
  EXPECT_EQ(Math("\\cos,512,100"), -100);
  EXPECT_EQ(Math("\\cos,171,1000"), 498);  // cos(60.117 degrees) = 0.4982
}

TEST_F(MathCommandsTest, TangentTakesTheAngleOverOneHundredEightyAsRadians) {
  EXPECT_EQ(Math("\\tan,45,100"), 26);      // tan(0.25) = 0.2553
  EXPECT_EQ(Math("\\tan,180,1000"), 1557);  // tan(1) = 1.5574
  EXPECT_EQ(Math("\\tan,0,100"), 0);
}

TEST_F(MathCommandsTest, ArctangentGivesWholeDegreesOfTheDirection) {
  EXPECT_EQ(Math("\\atan,1,0"), 0);
  EXPECT_EQ(Math("\\atan,0,1"), 90);
  EXPECT_EQ(Math("\\atan,-1,0"), 180);
  EXPECT_EQ(Math("\\atan,0,-1"), 270);
  EXPECT_EQ(Math("\\atan,1,1"), 45);
  EXPECT_EQ(Math("\\atan,1,-1"), 315);
  EXPECT_EQ(Math("\\atan,100,-1"), 359);  // -0.57 degrees
  EXPECT_EQ(Math("\\atan,1000,-1"), 0);   // -0.06 rounds to 0, not 360
  EXPECT_EQ(Math("\\atan,0,0"), 0);
}

TEST_F(MathCommandsTest, AbsoluteSquareAndRoot) {
  EXPECT_EQ(Math("\\abs,-5"), 5);
  EXPECT_EQ(Math("\\abs,5"), 5);
  EXPECT_EQ(Math("\\abs,-2147483647-1"), INT32_MIN);  // wraps as 32-bit arithmetic does
  EXPECT_EQ(Math("\\sqr,-12"), 144);
  EXPECT_EQ(Math("\\sqr,65536"), 0);  // 2^32 wraps
  EXPECT_EQ(Math("\\sqr,46341"), static_cast<int32_t>(46341u * 46341u));
  EXPECT_EQ(Math("\\sqrt,17"), 4);
  EXPECT_EQ(Math("\\sqrt,20"), 4);  // 4.47
  EXPECT_EQ(Math("\\sqrt,21"), 5);  // 4.58
  EXPECT_EQ(Math("\\sqrt,-9"), 0);
}

TEST_F(MathCommandsTest, PowerRoundsAndHoldsAtTheEndsOfThirtyTwoBits) {
  EXPECT_EQ(Math("\\pow,2,10"), 1024);
  EXPECT_EQ(Math("\\pow,-3,3"), -27);
  EXPECT_EQ(Math("\\pow,2,-1"), 1);  // 0.5 rounds away from zero
  EXPECT_EQ(Math("\\pow,4,-1"), 0);
  EXPECT_EQ(Math("\\pow,10,20"), INT32_MAX);
  EXPECT_EQ(Math("\\pow,-10,21"), INT32_MIN);
  EXPECT_EQ(Math("\\pow,0,-1"), INT32_MAX);  // infinity
}

TEST_F(MathCommandsTest, MinimumAndMaximumConsiderEveryArgument) {
  EXPECT_EQ(Math("\\min,5,2,9"), 2);
  EXPECT_EQ(Math("\\max,5,2,9"), 9);
  EXPECT_EQ(Math("\\min,4"), 4);
  EXPECT_EQ(Math("\\max,-1,-7,-3,2*-4"), -1);
  EXPECT_EQ(Math("\\min,-1,-7,-3,2*-4"), -8);
  EXPECT_EQ(Math("\\max"), 0);
}

TEST_F(MathCommandsTest, ResultsComeThroughAScript) {
  ASSERT_TRUE(Run("\\gvar,int,a\\scp,math\\max,3,4\\cal,a=ResultInt\\abs,-a\r\n"));
  EXPECT_EQ(Int("a"), 4);
  EXPECT_EQ(Int("ResultInt"), 4);
}

}  // namespace
}  // namespace mavu::script::test
