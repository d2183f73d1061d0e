#include "script/values/value_operators.h"

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

TReturnValue Apply(Operator op, const TReturnValue& l, const TReturnValue& r) {
  std::optional<TReturnValue> result = ApplyOperator(op, l, r);
  EXPECT_TRUE(result.has_value());
  return result.value_or(TReturnValue::None());
}

void ExpectInt(const TReturnValue& value, int32_t expected) {
  EXPECT_EQ(value.kind, ValueKind::kInteger);
  EXPECT_EQ(value.integer, expected);
  EXPECT_EQ(value.Text(), std::to_string(expected));
}

TEST(OperatorFromText, KnowsEveryOperatorAndItsLevel) {
  struct Case {
    const char* text;
    Operator op;
    int level;
  };
  for (Case c : {Case{"*", Operator::kMultiply, 1},
                 {"/", Operator::kDivide, 1},
                 {"%", Operator::kModulo, 1},
                 {"+", Operator::kAdd, 2},
                 {"-", Operator::kSubtract, 2},
                 {"<<", Operator::kShiftLeft, 3},
                 {">>", Operator::kShiftRight, 3},
                 {"&", Operator::kBitAnd, 4},
                 {"|", Operator::kBitOr, 4},
                 {"^", Operator::kBitXor, 4},
                 {"==", Operator::kEqual, 5},
                 {"!=", Operator::kNotEqual, 5},
                 {"<", Operator::kLess, 5},
                 {">", Operator::kGreater, 5},
                 {"<=", Operator::kLessEqual, 5},
                 {">=", Operator::kGreaterEqual, 5},
                 {"&&", Operator::kLogicalAnd, 6},
                 {"||", Operator::kLogicalOr, 6},
                 {"=", Operator::kAssign, 7}}) {
    ASSERT_EQ(OperatorFromText(c.text), c.op) << c.text;
    EXPECT_EQ(OperatorLevel(c.op), c.level) << c.text;
  }
  for (const char* text : {"!", "++", "--", "<>", "=<", "**", "", "a"}) {
    EXPECT_FALSE(OperatorFromText(text)) << text;
  }
}

TEST(ApplyOperator, IntegerArithmeticWrapsAt32Bits) {
  ExpectInt(Apply(Operator::kAdd, Int(kMax), Int(1)), kMin);
  ExpectInt(Apply(Operator::kSubtract, Int(kMin), Int(1)), kMax);
  ExpectInt(Apply(Operator::kMultiply, Int(65536), Int(65536)), 0);
  ExpectInt(Apply(Operator::kMultiply, Int(kMin), Int(-1)), kMin);
  ExpectInt(Apply(Operator::kMultiply, Int(-3), Int(-2)), 6);
  ExpectInt(Apply(Operator::kSubtract, Int(10), Int(4)), 6);
}

TEST(ApplyOperator, DivisionTruncatesTowardZeroAndAZeroDivisorGivesZero) {
  ExpectInt(Apply(Operator::kDivide, Int(7), Int(2)), 3);
  ExpectInt(Apply(Operator::kDivide, Int(-7), Int(2)), -3);
  ExpectInt(Apply(Operator::kDivide, Int(7), Int(-2)), -3);
  ExpectInt(Apply(Operator::kModulo, Int(-7), Int(2)), -1);
  ExpectInt(Apply(Operator::kModulo, Int(7), Int(-2)), 1);
  ExpectInt(Apply(Operator::kDivide, Int(7), Int(0)), 0);
  ExpectInt(Apply(Operator::kModulo, Int(7), Int(0)), 0);
  // The one quotient that does not fit wraps instead of trapping.
  ExpectInt(Apply(Operator::kDivide, Int(kMin), Int(-1)), kMin);
  ExpectInt(Apply(Operator::kModulo, Int(kMin), Int(-1)), 0);
  ExpectInt(Apply(Operator::kDivide, Int(kMin), Int(1)), kMin);
}

TEST(ApplyOperator, ShiftsUseTheLowFiveBitsAndShiftRightIsLogical) {
  ExpectInt(Apply(Operator::kShiftLeft, Int(1), Int(4)), 16);
  ExpectInt(Apply(Operator::kShiftLeft, Int(1), Int(33)), 2);
  ExpectInt(Apply(Operator::kShiftLeft, Int(1), Int(31)), kMin);
  ExpectInt(Apply(Operator::kShiftLeft, Int(3), Int(-1)), kMin);  // -1 AND 31 = 31
  ExpectInt(Apply(Operator::kShiftRight, Int(-1), Int(28)), 15);
  ExpectInt(Apply(Operator::kShiftRight, Int(kMin), Int(31)), 1);
  ExpectInt(Apply(Operator::kShiftRight, Int(256), Int(32)), 256);
}

TEST(ApplyOperator, BitOperators) {
  ExpectInt(Apply(Operator::kBitAnd, Int(12), Int(10)), 8);
  ExpectInt(Apply(Operator::kBitOr, Int(12), Int(10)), 14);
  ExpectInt(Apply(Operator::kBitXor, Int(12), Int(10)), 6);
  ExpectInt(Apply(Operator::kBitXor, Int(-1), Int(kMax)), kMin);
}

TEST(ApplyOperator, AStringOnTheLeftJoinsTextsWithPlusAndAmpersand) {
  TReturnValue sum = Apply(Operator::kAdd, Str("12"), Int(3));
  EXPECT_EQ(sum.kind, ValueKind::kString);
  EXPECT_EQ(sum.Text(), "123");
  EXPECT_EQ(sum.integer, 15);  // the integer parts add
  TReturnValue joined = Apply(Operator::kBitAnd, Str("ab"), Str("cd"));
  EXPECT_EQ(joined.kind, ValueKind::kString);
  EXPECT_EQ(joined.Text(), "abcd");
  EXPECT_EQ(joined.integer, 0);
  TReturnValue masked = Apply(Operator::kBitAnd, Str("6"), Int(3));
  EXPECT_EQ(masked.Text(), "63");
  EXPECT_EQ(masked.integer, 2);
}

TEST(ApplyOperator, AnIntegerOnTheLeftKeepsTheIntegerKind) {
  ExpectInt(Apply(Operator::kAdd, Int(3), Str("12")), 15);
  ExpectInt(Apply(Operator::kAdd, Int(3), Str("abc")), 3);
  ExpectInt(Apply(Operator::kBitAnd, Int(7), Str("$0E")), 6);
}

TEST(ApplyOperator, OtherOperatorsGiveTheDecimalTextButKeepTheLeftKind) {
  TReturnValue difference = Apply(Operator::kSubtract, Str("10"), Int(3));
  EXPECT_EQ(difference.kind, ValueKind::kString);
  EXPECT_EQ(difference.integer, 7);
  EXPECT_EQ(difference.Text(), "7");
  TReturnValue product = Apply(Operator::kMultiply, Obj("bg,0"), Int(3));
  EXPECT_EQ(product.kind, ValueKind::kObjectName);
  EXPECT_EQ(product.Text(), "0");
  TReturnValue objectSum = Apply(Operator::kAdd, Obj("bg"), Str(",1"));
  EXPECT_EQ(objectSum.kind, ValueKind::kObjectName);
  EXPECT_EQ(objectSum.Text(), "bg,1");
}

TEST(ApplyOperator, ComparisonsOfIntegersAreSigned) {
  ExpectInt(Apply(Operator::kLess, Int(-1), Int(1)), 1);
  ExpectInt(Apply(Operator::kGreater, Int(kMin), Int(kMax)), 0);
  ExpectInt(Apply(Operator::kLessEqual, Int(5), Int(5)), 1);
  ExpectInt(Apply(Operator::kGreaterEqual, Int(4), Int(5)), 0);
  ExpectInt(Apply(Operator::kEqual, Int(5), Str("5")), 1);
  ExpectInt(Apply(Operator::kNotEqual, Int(5), Str("abc")), 1);
  // The right string's integer part counts, not its text.
  ExpectInt(Apply(Operator::kEqual, Int(0), Str("abc")), 1);
}

TEST(ApplyOperator, ComparisonsOfStringsIgnoreLetterCase) {
  ExpectInt(Apply(Operator::kEqual, Str("Hello"), Str("hELLO")), 1);
  ExpectInt(Apply(Operator::kNotEqual, Str("Hello"), Str("hELLO")), 0);
  ExpectInt(Apply(Operator::kLess, Str("apple"), Str("Banana")), 1);
  ExpectInt(Apply(Operator::kGreater, Str("b"), Str("A")), 1);
  ExpectInt(Apply(Operator::kLess, Str("ab"), Str("abc")), 1);
  // A string on the left compares texts even against an integer: "10" < "9".
  ExpectInt(Apply(Operator::kLess, Str("10"), Int(9)), 1);
  ExpectInt(Apply(Operator::kEqual, Obj("BG,0"), Str("bg,0")), 1);
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
  ExpectInt(Apply(Operator::kLogicalAnd, Int(1), Int(1)), 1);
  ExpectInt(Apply(Operator::kLogicalAnd, Int(1), Int(2)), 0);
  ExpectInt(Apply(Operator::kLogicalOr, Int(0), Int(1)), 1);
  ExpectInt(Apply(Operator::kLogicalOr, Int(2), Int(-1)), 0);
  EXPECT_FALSE(ApplyOperator(Operator::kLogicalAnd, Str("1"), Int(1)));
  EXPECT_FALSE(ApplyOperator(Operator::kLogicalOr, Int(1), Str("1")));
  EXPECT_FALSE(ApplyOperator(Operator::kLogicalOr, Int(1), Obj("a")));
}

TEST(ApplyOperator, FailsOnANoneOperandAndLeavesAssignmentToTheEvaluator) {
  EXPECT_FALSE(ApplyOperator(Operator::kAdd, TReturnValue::None(), Int(1)));
  EXPECT_FALSE(ApplyOperator(Operator::kEqual, Int(1), TReturnValue::None()));
  EXPECT_FALSE(ApplyOperator(Operator::kAssign, Int(1), Int(1)));
}

}  // namespace
}  // namespace mavu::script
