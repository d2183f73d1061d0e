#include "script/values/script_number.h"

#include <gtest/gtest.h>

#include <limits>

namespace mavu::script {
namespace {

TEST(ParseInteger64, ReadsDecimalWithAnOptionalSign) {
  EXPECT_EQ(ParseInteger64("0"), 0);
  EXPECT_EQ(ParseInteger64("007"), 7);
  EXPECT_EQ(ParseInteger64("-42"), -42);
  EXPECT_EQ(ParseInteger64("+42"), 42);
  EXPECT_EQ(ParseInteger64("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ParseInteger64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
}

TEST(ParseInteger64, ReadsDollarHexadecimalAsA64BitPattern) {
  EXPECT_EQ(ParseInteger64("$1F"), 31);
  EXPECT_EQ(ParseInteger64("$1f"), 31);
  EXPECT_EQ(ParseInteger64("-$10"), -16);
  EXPECT_EQ(ParseInteger64("$FFFFFFFF"), 4294967295LL);
  EXPECT_EQ(ParseInteger64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger64("$8000000000000000"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(ParseInteger64("$00000000000000000001"), 1);  // leading zeros do not count
}

TEST(ParseInteger64, RefusesAnythingElse) {
  for (const char* text :
       {"", "-", "+", "$", "-$", "12abc", " 12", "12 ", "1e5", "0x1F", "$G", "--1", "+-1", "1.5",
        "9223372036854775808", "-9223372036854775809", "$10000000000000000", "\x82\x4F"}) {
    EXPECT_FALSE(ParseInteger64(text)) << text;
  }
}

TEST(ScriptInteger, IsZeroForTextsThatAreNoNumberOrBeyond32Bits) {
  EXPECT_EQ(ScriptInteger("12abc"), 0);
  EXPECT_EQ(ScriptInteger("$1F"), 31);
  EXPECT_EQ(ScriptInteger("2147483647"), 2147483647);
  EXPECT_EQ(ScriptInteger("2147483648"), 0);
  EXPECT_EQ(ScriptInteger("-2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ScriptInteger("-2147483649"), 0);
  EXPECT_EQ(ScriptInteger("$FFFFFFFF"), 0);
  EXPECT_EQ(ScriptInteger("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(ScriptInteger(""), 0);
}

TEST(DecimalText, WritesTheWholeRange) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(-15), "-15");
  EXPECT_EQ(DecimalText(std::numeric_limits<int32_t>::min()), "-2147483648");
  EXPECT_EQ(DecimalText(std::numeric_limits<int32_t>::max()), "2147483647");
}

}  // namespace
}  // namespace mavu::script
