#include "resource/setting_values.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace mavu::resource {
namespace {

TEST(SettingValues, IntegersAreDecimalOrDollarHexadecimal) {
  EXPECT_EQ(ParseInteger("800"), 800);
  EXPECT_EQ(ParseInteger("-5"), -5);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("007"), 7);
  EXPECT_EQ(ParseInteger("$1F"), 31);
  EXPECT_EQ(ParseInteger("$1f"), 31);
  EXPECT_EQ(ParseInteger("-$10"), -16);
  EXPECT_EQ(ParseInteger("$20000"), 131072);
}

TEST(SettingValues, MalformedIntegersAreRefused) {
  for (const char* text : {"", "$", "-", "+", "-$", " 5", "5 ", "0x10", "12a", "1.5", "--5", "$-5",
                           "$+5", "+-5", "$G", "\x82\x50"}) {
    EXPECT_EQ(ParseInteger(text), std::nullopt) << text;
    EXPECT_EQ(ParseInteger64(text), std::nullopt) << text;
  }
}

TEST(SettingValues, DecimalMustFitAndHexadecimalIsABitPattern) {
  EXPECT_EQ(ParseInteger("2147483647"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseInteger("-2147483649"), std::nullopt);
  EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger("$80000000"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseInteger("$100000000"), std::nullopt);
  EXPECT_EQ(ParseInteger("99999999999999999999999"), std::nullopt);

  EXPECT_EQ(ParseInteger64("$123456789"), int64_t{0x123456789});
  EXPECT_EQ(ParseInteger64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger64("$10000000000000000"), std::nullopt);
  EXPECT_EQ(ParseInteger64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(ParseInteger64("9223372036854775808"), std::nullopt);
}

TEST(SettingValues, BooleansAreTrueOrFalseInAnyCase) {
  EXPECT_EQ(ParseBoolean("TRUE"), true);
  EXPECT_EQ(ParseBoolean("tRuE"), true);
  EXPECT_EQ(ParseBoolean("false"), false);
  for (const char* text : {"no", "yes", "1", "0", "", " TRUE", "FALSE "}) {
    EXPECT_EQ(ParseBoolean(text), std::nullopt) << text;
  }
}

TEST(SettingValues, ReadersFallBackToTheDefault) {
  SettingsList list("n=$10\r\nbad=ten\r\nwide=$123456789\r\nyes=TRUE\r\nno=no\r\nempty=");
  EXPECT_EQ(ReadInteger(list, "N", 3), 16);
  EXPECT_EQ(ReadInteger(list, "bad", 3), 3);
  EXPECT_EQ(ReadInteger(list, "empty", 3), 3);
  EXPECT_EQ(ReadInteger(list, "absent", 3), 3);
  EXPECT_EQ(ReadInteger(list, "wide", 3), 3);
  EXPECT_EQ(ReadInteger64(list, "wide", 3), int64_t{0x123456789});
  EXPECT_EQ(ReadInteger64(list, "bad", -7), -7);
  EXPECT_TRUE(ReadBoolean(list, "yes", false));
  EXPECT_TRUE(ReadBoolean(list, "no", true));
  EXPECT_FALSE(ReadBoolean(list, "no", false));
  EXPECT_FALSE(ReadBoolean(list, "absent", false));
}

TEST(SettingValues, NoneStandsForEmptyTextInLowerCaseOnly) {
  SettingsList list("a=none\r\nb=None\r\nc=MS Gothic\r\nd=");
  EXPECT_EQ(ReadTextOrNone(list, "a"), "");
  EXPECT_EQ(ReadTextOrNone(list, "b"), "None");
  EXPECT_EQ(ReadTextOrNone(list, "c"), "MS Gothic");
  EXPECT_EQ(ReadTextOrNone(list, "d"), "");
  EXPECT_EQ(ReadTextOrNone(list, "absent"), "");
  EXPECT_EQ(TextOrNone(""), "none");
  EXPECT_EQ(TextOrNone("MS Gothic"), "MS Gothic");
}

TEST(SettingValues, IndexedKeys) {
  EXPECT_EQ(IndexedKey("key", 0), "key[0]");
  EXPECT_EQ(IndexedKey("ActorVolume", 31), "ActorVolume[31]");
}

}  // namespace
}  // namespace mavu::resource
