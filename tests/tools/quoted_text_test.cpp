#include "quoted_text.h"

#include <gtest/gtest.h>

namespace mavu::tools {
namespace {

TEST(QuotedText, NamesAreUtf8WhereTheyConvertBackAndEscapedBytesElsewhere) {
  EXPECT_EQ(QuoteName("*On\x83\x7B\xB1"), "\"*Onボｱ\"");
  EXPECT_EQ(QuoteName("\"\\\n"), "\"\\\"\\\\\\x0A\"");
  // A lead byte without its trail, and a pair CP932 does not define.
  EXPECT_EQ(QuoteName("\x82"), "\"\\x82\"");
  EXPECT_EQ(QuoteName("\x85\x40"), "\"\\x85\\x40\"");
}

TEST(QuotedText, PathsKeepTheirBytes) {
  EXPECT_EQ(QuotePath("ピクチャ/a b.png"), "\"ピクチャ/a b.png\"");
  EXPECT_EQ(UnquotePath("a\\\"b\\\\c\\x41"), "a\"b\\cA");
}

TEST(QuotedText, OnlyThreeEscapesAreKnown) {
  EXPECT_TRUE(HasValidEscapes("\\\" \\\\ \\x4a"));
  EXPECT_FALSE(HasValidEscapes("\\n"));
  EXPECT_FALSE(HasValidEscapes("\\x4"));
  EXPECT_FALSE(HasValidEscapes("\\xG0"));
  EXPECT_FALSE(HasValidEscapes("end\\"));
}

}  // namespace
}  // namespace mavu::tools
