#include "script/regex/regex_text.h"

#include <gtest/gtest.h>

#include <string>

namespace mavu::script {
namespace {

TEST(RegexText, AsciiIsItsOwnUtf8) {
  RegexText text("a\\b");
  EXPECT_EQ(text.Utf8(), "a\\b");
  EXPECT_EQ(text.Cp932Slice(1, 3), "\\b");
  EXPECT_EQ(text.NextChar(0), 1u);
}

TEST(RegexText, ATwoByteCharacterIsOneCodePoint) {
  const std::string hyou = "\x95\x5C";  // 表
  std::string cp932 = "a" + hyou + "b";
  RegexText text(cp932);
  EXPECT_EQ(text.Utf8(), "a\xE8\xA1\xA8" + std::string("b"));
  EXPECT_EQ(text.CodePoints(), (std::u32string{U'a', 0x8868, U'b'}));
  EXPECT_EQ(text.NextChar(1), 4u);
  EXPECT_EQ(text.Cp932Slice(1, 4), hyou);
  EXPECT_EQ(text.Cp932Slice(4, 5), "b");
  EXPECT_EQ(text.Cp932Slice(0, 5), cp932);
  EXPECT_EQ(text.NextChar(5), 5u);
}

TEST(RegexText, HalfWidthKatakanaIsOneByteOneCodePoint) {
  EXPECT_EQ(RegexText("\xB1").CodePoints(), std::u32string{0xFF71});  // ｱ
}

TEST(RegexText, InvalidCharactersGetStandInsThatLeadBackToTheirBytes) {
  // 表, a lead byte with a quote, a stray 0x80, ソ, and a lone lead byte at the end.
  std::string bytes = "\x95\x5C\x81\x22\x80\x83\x5C\x95";
  RegexText text(bytes);
  EXPECT_EQ(text.CodePoints(),
            (std::u32string{0x8868, kInvalidCharBase + 0x8122, kInvalidCharBase + 0x80, 0x30BD,
                            kInvalidCharBase + 0x95}));
  std::string back;
  text.ForEachChar([&](char32_t c, std::string_view original) {
    EXPECT_EQ(CodePointToCp932(c).size(), original.size());
    back += original;
  });
  EXPECT_EQ(back, bytes);
  EXPECT_EQ(CodePointToCp932(kInvalidCharBase + 0x8122), "\x81\x22");
  EXPECT_EQ(CodePointToCp932(kInvalidCharBase + 0x80), "\x80");
}

TEST(RegexText, SlicesKeepBytesThatUnicodeMerges) {
  RegexText text("\xED\x40\xFA\x5C");  // the same character twice, in two encodings
  EXPECT_EQ(text.CodePoints(), (std::u32string{0x7E8A, 0x7E8A}));
  EXPECT_EQ(text.Cp932Slice(0, 3), "\xED\x40");
  EXPECT_EQ(text.Cp932Slice(3, 6), "\xFA\x5C");
}

TEST(RegexText, CodePointsBackToCp932) {
  EXPECT_EQ(CodePointToCp932(U'A'), "A");
  EXPECT_EQ(CodePointToCp932(0x3042), "\x82\xA0");  // あ
  EXPECT_EQ(CodePointToCp932(0x1F600), "?");
}

TEST(RegexText, Utf8CodingRefusesMalformedSequences) {
  size_t length = 0;
  EXPECT_EQ(DecodeUtf8("\xE3\x81\x82", 0, &length), 0x3042u);
  EXPECT_EQ(length, 3u);
  EXPECT_EQ(DecodeUtf8("\xF3\xB0\x80\x80", 0, &length), kInvalidCharBase);
  EXPECT_EQ(length, 4u);
  for (std::string_view bad : {"\xC0\x80", "\xED\xA0\x80", "\xE3\x81", "\xF4\x90\x80\x80", "\x80",
                               "\xF8\x80\x80\x80\x80", "\xE3\x41\x82"}) {
    EXPECT_EQ(DecodeUtf8(bad, 0, &length), 0xFFFDu) << testing::PrintToString(bad);
    EXPECT_EQ(length, 1u);
  }
  EXPECT_EQ(EncodeUtf8(0x3042), "\xE3\x81\x82");
  EXPECT_EQ(EncodeUtf8(0x10FFFF), "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(EncodeUtf8(0xD800), "\xEF\xBF\xBD");
  EXPECT_EQ(EncodeUtf8(0x110000), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace mavu::script
