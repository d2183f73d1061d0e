#include "base/cp932.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace mavu::base {
namespace {

using Items = std::vector<std::string>;

TEST(Cp932, LeadBytesAreTheTwoRanges) {
  EXPECT_FALSE(IsLeadByte(uint8_t{0x80}));
  EXPECT_TRUE(IsLeadByte(uint8_t{0x81}));
  EXPECT_TRUE(IsLeadByte(uint8_t{0x9F}));
  EXPECT_FALSE(IsLeadByte(uint8_t{0xA0}));
  EXPECT_FALSE(IsLeadByte(uint8_t{0xDF}));
  EXPECT_TRUE(IsLeadByte(uint8_t{0xE0}));
  EXPECT_TRUE(IsLeadByte(uint8_t{0xFF}));
  EXPECT_FALSE(IsLeadByte('A'));
}

TEST(Cp932, MbcsCopyCountsTwoByteCharactersAsOne) {
  std::string text =
      "a\x95\x5C"
      "b\x83\x41"
      "c";  // a 表 b ア c
  EXPECT_EQ(MbcsCopy(text, 2, 2),
            "\x95\x5C"
            "b");
  EXPECT_EQ(MbcsCopy(text, 1, 1), "a");
  EXPECT_EQ(MbcsCopy(text, 4, 10),
            "\x83\x41"
            "c");
  EXPECT_EQ(MbcsCopy(text, 7, 1), "");
  EXPECT_EQ(MbcsCopy(text, 1, 0), "");
  EXPECT_EQ(MbcsCopy("\x95", 1, 1), "\x95");  // a lone lead byte at the end is one character
}

TEST(Cp932, MbcsCopyTakesTheRestForTheLargestCount) {
  std::string text =
      "a\x95\x5C"
      "b";
  EXPECT_EQ(MbcsCopy(text, 2, std::numeric_limits<int>::max()),
            "\x95\x5C"
            "b");
  EXPECT_EQ(MbcsCopy(text, std::numeric_limits<int>::max(), std::numeric_limits<int>::max()), "");
}

TEST(Cp932, LowerNameKeepsTrailBytesThatLookLikeLetters) {
  // 0x83 0x41 is ア; its trail byte 0x41 is "A" and must not become "a".
  EXPECT_EQ(LowerName("System\\\x83\x41MENU.Dat"), "system\\\x83\x41menu.dat");
  EXPECT_TRUE(EqualsIgnoreCase("Startup.S", "startup.s"));
  EXPECT_FALSE(EqualsIgnoreCase("\x83\x41", "\x83\x61"));
}

TEST(Cp932, TruncateWholeNeverSplitsACharacter) {
  EXPECT_EQ(TruncateWhole("ab\x95\x5C", 3), "ab");
  EXPECT_EQ(TruncateWhole("ab\x95\x5C", 4), "ab\x95\x5C");
  EXPECT_EQ(TruncateWhole("abc", 1), "a");
}

TEST(SplitList, BracketsStayInItemsBlanksGoAndATrailingSeparatorAddsAnEmptyItem) {
  EXPECT_EQ(SplitList(",", "a, (b,c) ,d,", true, false), (Items{"a", "(b,c)", "d", ""}));
  EXPECT_EQ(SplitList(",", "x,\"p,q\",y", false, false), (Items{"x", "\"p,q\"", "y"}));
  EXPECT_EQ(SplitList(",", "a,,b", false, false), (Items{"a", "", "b"}));
  EXPECT_EQ(SplitList(",", "[a,{b,c}],d", false, false), (Items{"[a,{b,c}]", "d"}));
}

TEST(SplitList, CommentsBlanksAndDepthBelowZero) {
  EXPECT_EQ(SplitList(",", "x // y,z", true, true), (Items{"x"}));
  EXPECT_EQ(SplitList(",", "x // y,z", true, false), (Items{"x//y", "z"}));
  EXPECT_EQ(SplitList(",", "112,*F1 // note,", true, true), (Items{"112", "*F1"}));
  EXPECT_EQ(SplitList(",", "a\t b", true, false), (Items{"ab"}));
  // A closing bracket first drives the depth below zero: nothing splits after it.
  EXPECT_EQ(SplitList(",", ")a,b", false, false), (Items{")a,b"}));
  EXPECT_EQ(SplitList(",", "", false, false), Items{});
}

TEST(SplitList, TrailBytesEqualToTheSeparatorOrSignsDoNotSplit) {
  // ー is 0x81 0x5B ("["), 表 is 0x95 0x5C ("\"), ｢ in two bytes would be worse still:
  // 0x81 0x2C does not exist, but the walker must treat any pair as one character.
  std::string text =
      "\x81\x5B"
      "a,\x95\x5C"
      "b";
  EXPECT_EQ(SplitList(",", text, false, false), (Items{"\x81\x5B"
                                                       "a",
                                                       "\x95\x5C"
                                                       "b"}));
  EXPECT_EQ(SplitList("\x95\x5C",
                      "a\x95\x5C"
                      "b",
                      false, false),
            (Items{"a", "b"}));
}

TEST(SplitList, ATrailByteAtTheEndIsNoTrailingSeparator) {
  // 表 ends in 0x5C, the byte of "\": the text does not end in the separator.
  EXPECT_EQ(SplitList("\\", "a\\\x95\x5C", false, false), (Items{"a", "\x95\x5C"}));
  EXPECT_EQ(SplitList("\\", "a\\\x95\x5C\\", false, false), (Items{"a", "\x95\x5C", ""}));
}

TEST(SplitList, TheLastCharacterBeforeACommentDecidesTheTrailingItem) {
  EXPECT_EQ(SplitList(",", "a,b,// c", false, true), (Items{"a", "b", ""}));
  EXPECT_EQ(SplitList(",", "a,b, // c,", false, true), (Items{"a", "b", " "}));
  EXPECT_EQ(SplitList(",", "a,b, // c,", true, true), (Items{"a", "b"}));
  EXPECT_EQ(SplitList(",", "//a,", false, true), Items{});
}

TEST(Cp932, ConvertsToAndFromUtf8) {
  EXPECT_EQ(Cp932ToUtf8("\x95\x5C\x83\x41"
                        "a"),
            "表アa");
  EXPECT_EQ(Utf8ToCp932("表アa"),
            "\x95\x5C\x83\x41"
            "a");
  EXPECT_EQ(Cp932ToUtf8("\x82\xA0"), "あ");
  // CP932's own mappings: the wave dash and NEC row 13.
  EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8("\x81\x60\x87\x40")), "\x81\x60\x87\x40");
}

TEST(Cp932, InvalidBytesAreReplacedNotDropped) {
  EXPECT_EQ(Cp932ToUtf8("a\x85\x40"
                        "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToCp932("a\xC3\xA9"
                        "b"),
            "a?b");  // é has no CP932 form
  EXPECT_EQ(Utf8ToCp932("a\xFF"
                        "b"),
            "a?b");  // not UTF-8 at all
}

TEST(Cp932, IsUtf8AcceptsOnlyWellFormedTextToTheEnd) {
  EXPECT_TRUE(IsUtf8("plain \xE3\x81\x82\xF0\x9F\x98\x80"));  // あ and an emoji
  EXPECT_TRUE(IsUtf8(""));
  EXPECT_FALSE(IsUtf8("\x82\xA0"));      // CP932 あ
  EXPECT_FALSE(IsUtf8("cut \xE3\x81"));  // a character cut at the end
  EXPECT_FALSE(IsUtf8("\xC0\xAF"));      // an overlong "/"
  EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));  // a surrogate
}

TEST(Cp932, StrictConversionRefusesWhatWouldBecomeAQuestionMark) {
  EXPECT_EQ(StrictUtf8ToCp932("表?"), "\x95\x5C?");
  EXPECT_EQ(StrictUtf8ToCp932("a\xC3\xA9"), std::nullopt);
  EXPECT_EQ(StrictUtf8ToCp932("a\xFF"), std::nullopt);
}

}  // namespace
}  // namespace mavu::base
