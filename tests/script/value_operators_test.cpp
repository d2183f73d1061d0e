#include "script/value_operators.h"

#include <gtest/gtest.h>

#include <limits>

namespace mavu::script {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TReturnValue Int(int32_t v) {
  return TReturnValue::FromInteger(v);
}
TReturnValue Str(const char* text) {
  return TReturnValue::FromString(text);
}
TReturnValue Obj(const char* name) {
  return TReturnValue::FromObjectName(name);
}

TReturnValue Apply(TOperator op, const TReturnValue& l, const TReturnValue& r) {
  std::optional<TReturnValue> result = ApplyOperator(op, l, r);
  EXPECT_TRUE(result.has_value());
  return result.value_or(TReturnValue::None());
}

void ExpectInt(const TReturnValue& value, int32_t expected) {
  EXPECT_EQ(value.kind, ValueKind::Integer);
  EXPECT_EQ(value.integer, expected);
  EXPECT_EQ(value.text, std::to_string(expected));
}

TEST(OperatorFromText, KnowsEveryOperatorAndItsLevel) {
  struct Case {
    const char* text;
    TOperator op;
    int level;
  };
  for (Case c : {Case{"*", TOperator::Multiply, 1},
                 {"/", TOperator::Divide, 1},
                 {"%", TOperator::Modulo, 1},
                 {"+", TOperator::Add, 2},
                 {"-", TOperator::Subtract, 2},
                 {"<<", TOperator::ShiftLeft, 3},
                 {">>", TOperator::ShiftRight, 3},
                 {"&", TOperator::BitAnd, 4},
                 {"|", TOperator::BitOr, 4},
                 {"^", TOperator::BitXor, 4},
                 {"==", TOperator::Equal, 5},
                 {"!=", TOperator::NotEqual, 5},
                 {"<", TOperator::Less, 5},
                 {">", TOperator::Greater, 5},
                 {"<=", TOperator::LessEqual, 5},
                 {">=", TOperator::GreaterEqual, 5},
                 {"&&", TOperator::LogicalAnd, 6},
                 {"||", TOperator::LogicalOr, 6},
                 {"=", TOperator::Assign, 7}}) {
    ASSERT_EQ(OperatorFromText(c.text), c.op) << c.text;
    EXPECT_EQ(OperatorLevel(c.op), c.level) << c.text;
  }
  for (const char* text : {"!", "++", "--", "<>", "=<", "**", "", "a"}) {
    EXPECT_FALSE(OperatorFromText(text)) << text;
  }
}

TEST(ApplyOperator, IntegerArithmeticWrapsAt32Bits) {
  ExpectInt(Apply(TOperator::Add, Int(kMax), Int(1)), kMin);
  ExpectInt(Apply(TOperator::Subtract, Int(kMin), Int(1)), kMax);
  ExpectInt(Apply(TOperator::Multiply, Int(65536), Int(65536)), 0);
  ExpectInt(Apply(TOperator::Multiply, Int(kMin), Int(-1)), kMin);
  ExpectInt(Apply(TOperator::Multiply, Int(-3), Int(-2)), 6);
  ExpectInt(Apply(TOperator::Subtract, Int(10), Int(4)), 6);
}

TEST(ApplyOperator, DivisionTruncatesTowardZeroAndAZeroDivisorGivesZero) {
  ExpectInt(Apply(TOperator::Divide, Int(7), Int(2)), 3);
  ExpectInt(Apply(TOperator::Divide, Int(-7), Int(2)), -3);
  ExpectInt(Apply(TOperator::Divide, Int(7), Int(-2)), -3);
  ExpectInt(Apply(TOperator::Modulo, Int(-7), Int(2)), -1);
  ExpectInt(Apply(TOperator::Modulo, Int(7), Int(-2)), 1);
  ExpectInt(Apply(TOperator::Divide, Int(7), Int(0)), 0);
  ExpectInt(Apply(TOperator::Modulo, Int(7), Int(0)), 0);
  // The one quotient that does not fit wraps instead of trapping.
  ExpectInt(Apply(TOperator::Divide, Int(kMin), Int(-1)), kMin);
  ExpectInt(Apply(TOperator::Modulo, Int(kMin), Int(-1)), 0);
  ExpectInt(Apply(TOperator::Divide, Int(kMin), Int(1)), kMin);
}

TEST(ApplyOperator, ShiftsUseTheLowFiveBitsAndShiftRightIsLogical) {
  ExpectInt(Apply(TOperator::ShiftLeft, Int(1), Int(4)), 16);
  ExpectInt(Apply(TOperator::ShiftLeft, Int(1), Int(33)), 2);
  ExpectInt(Apply(TOperator::ShiftLeft, Int(1), Int(31)), kMin);
  ExpectInt(Apply(TOperator::ShiftLeft, Int(3), Int(-1)), kMin);  // -1 AND 31 = 31
  ExpectInt(Apply(TOperator::ShiftRight, Int(-1), Int(28)), 15);
  ExpectInt(Apply(TOperator::ShiftRight, Int(kMin), Int(31)), 1);
  ExpectInt(Apply(TOperator::ShiftRight, Int(256), Int(32)), 256);
}

TEST(ApplyOperator, BitOperators) {
  ExpectInt(Apply(TOperator::BitAnd, Int(12), Int(10)), 8);
  ExpectInt(Apply(TOperator::BitOr, Int(12), Int(10)), 14);
  ExpectInt(Apply(TOperator::BitXor, Int(12), Int(10)), 6);
  ExpectInt(Apply(TOperator::BitXor, Int(-1), Int(kMax)), kMin);
}

TEST(ApplyOperator, AStringOnTheLeftJoinsTextsWithPlusAndAmpersand) {
  TReturnValue sum = Apply(TOperator::Add, Str("12"), Int(3));
  EXPECT_EQ(sum.kind, ValueKind::String);
  EXPECT_EQ(sum.text, "123");
  EXPECT_EQ(sum.integer, 15);  // the integer parts add
  TReturnValue joined = Apply(TOperator::BitAnd, Str("ab"), Str("cd"));
  EXPECT_EQ(joined.kind, ValueKind::String);
  EXPECT_EQ(joined.text, "abcd");
  EXPECT_EQ(joined.integer, 0);
  TReturnValue masked = Apply(TOperator::BitAnd, Str("6"), Int(3));
  EXPECT_EQ(masked.text, "63");
  EXPECT_EQ(masked.integer, 2);
}

TEST(ApplyOperator, AnIntegerOnTheLeftKeepsTheIntegerKind) {
  ExpectInt(Apply(TOperator::Add, Int(3), Str("12")), 15);
  ExpectInt(Apply(TOperator::Add, Int(3), Str("abc")), 3);
  ExpectInt(Apply(TOperator::BitAnd, Int(7), Str("$0E")), 6);
}

TEST(ApplyOperator, OtherOperatorsGiveTheDecimalTextButKeepTheLeftKind) {
  TReturnValue difference = Apply(TOperator::Subtract, Str("10"), Int(3));
  EXPECT_EQ(difference.kind, ValueKind::String);
  EXPECT_EQ(difference.integer, 7);
  EXPECT_EQ(difference.text, "7");
  TReturnValue product = Apply(TOperator::Multiply, Obj("bg,0"), Int(3));
  EXPECT_EQ(product.kind, ValueKind::ObjectName);
  EXPECT_EQ(product.text, "0");
  TReturnValue objectSum = Apply(TOperator::Add, Obj("bg"), Str(",1"));
  EXPECT_EQ(objectSum.kind, ValueKind::ObjectName);
  EXPECT_EQ(objectSum.text, "bg,1");
}

TEST(ApplyOperator, ComparisonsOfIntegersAreSigned) {
  ExpectInt(Apply(TOperator::Less, Int(-1), Int(1)), 1);
  ExpectInt(Apply(TOperator::Greater, Int(kMin), Int(kMax)), 0);
  ExpectInt(Apply(TOperator::LessEqual, Int(5), Int(5)), 1);
  ExpectInt(Apply(TOperator::GreaterEqual, Int(4), Int(5)), 0);
  ExpectInt(Apply(TOperator::Equal, Int(5), Str("5")), 1);
  ExpectInt(Apply(TOperator::NotEqual, Int(5), Str("abc")), 1);
  // The right string's integer part counts, not its text.
  ExpectInt(Apply(TOperator::Equal, Int(0), Str("abc")), 1);
}

TEST(ApplyOperator, ComparisonsOfStringsIgnoreLetterCase) {
  ExpectInt(Apply(TOperator::Equal, Str("Hello"), Str("hELLO")), 1);
  ExpectInt(Apply(TOperator::NotEqual, Str("Hello"), Str("hELLO")), 0);
  ExpectInt(Apply(TOperator::Less, Str("apple"), Str("Banana")), 1);
  ExpectInt(Apply(TOperator::Greater, Str("b"), Str("A")), 1);
  ExpectInt(Apply(TOperator::Less, Str("ab"), Str("abc")), 1);
  // A string on the left compares texts even against an integer: "10" < "9".
  ExpectInt(Apply(TOperator::Less, Str("10"), Int(9)), 1);
  ExpectInt(Apply(TOperator::Equal, Obj("BG,0"), Str("bg,0")), 1);
}

TEST(CompareTextIgnoreCase, FoldsFullWidthGreekAndCyrillicLetters) {
  // Full-width A/a, Greek alpha, Cyrillic A and O (either side of the 0x7F gap).
  EXPECT_EQ(CompareTextIgnoreCase("\x82\x60", "\x82\x81"), 0);
  EXPECT_EQ(CompareTextIgnoreCase("\x82\x79", "\x82\x9A"), 0);
  EXPECT_EQ(CompareTextIgnoreCase("\x83\x9F", "\x83\xBF"), 0);
  EXPECT_EQ(CompareTextIgnoreCase("\x84\x40", "\x84\x70"), 0);
  EXPECT_EQ(CompareTextIgnoreCase("\x84\x4E", "\x84\x7E"), 0);
  EXPECT_EQ(CompareTextIgnoreCase("\x84\x4F", "\x84\x80"), 0);
  EXPECT_EQ(CompareTextIgnoreCase("\x84\x60", "\x84\x91"), 0);
  // Kana are not letters with a case; a trail byte that looks like A is not one.
  EXPECT_NE(CompareTextIgnoreCase("\x82\xA0", "\x82\xA2"), 0);
  EXPECT_NE(CompareTextIgnoreCase("\x83\x41", "\x83\x61"), 0);
  EXPECT_LT(CompareTextIgnoreCase("z", "\x82\xA0"), 0);
}

TEST(ApplyOperator, LogicalOperatorsNeedIntegersAndTestForExactlyOne) {
  ExpectInt(Apply(TOperator::LogicalAnd, Int(1), Int(1)), 1);
  ExpectInt(Apply(TOperator::LogicalAnd, Int(1), Int(2)), 0);
  ExpectInt(Apply(TOperator::LogicalOr, Int(0), Int(1)), 1);
  ExpectInt(Apply(TOperator::LogicalOr, Int(2), Int(-1)), 0);
  EXPECT_FALSE(ApplyOperator(TOperator::LogicalAnd, Str("1"), Int(1)));
  EXPECT_FALSE(ApplyOperator(TOperator::LogicalOr, Int(1), Str("1")));
  EXPECT_FALSE(ApplyOperator(TOperator::LogicalOr, Int(1), Obj("a")));
}

TEST(ApplyOperator, FailsOnANoneOperandAndLeavesAssignmentToTheEvaluator) {
  EXPECT_FALSE(ApplyOperator(TOperator::Add, TReturnValue::None(), Int(1)));
  EXPECT_FALSE(ApplyOperator(TOperator::Equal, Int(1), TReturnValue::None()));
  EXPECT_FALSE(ApplyOperator(TOperator::Assign, Int(1), Int(1)));
}

}  // namespace
}  // namespace mavu::script
