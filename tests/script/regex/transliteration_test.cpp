#include "script/regex/transliteration.h"

#include <gtest/gtest.h>

#include <string>

// Expected results are Perl's (5.36) for tr with the same lists and flags.
namespace mavu::script {
namespace {

std::string Tr(std::string_view search, std::string_view replacement, std::string_view flags,
               std::string_view text) {
  auto tr = Transliteration::Create(search, replacement, flags.find('c') != flags.npos,
                                    flags.find('d') != flags.npos, flags.find('s') != flags.npos);
  EXPECT_TRUE(tr.has_value()) << search << " / " << replacement;
  return tr ? tr->Apply(text) : std::string("<invalid>");
}

TEST(Transliteration, RangesMapPlaceByPlace) {
  EXPECT_EQ(Tr("a-y", "b-z", "", "hello"), "ifmmp");
  EXPECT_EQ(Tr("a-z", "A-C", "", "hello"), "CCCCC");  // the last replacement repeats
  EXPECT_EQ(Tr("abcd", "AB", "", "abcd"), "ABBB");
  EXPECT_EQ(Tr("aa", "xy", "", "aab"), "xxb");  // the first mention wins
}

TEST(Transliteration, AHyphenAtEitherEndOrEscapedIsItself) {
  EXPECT_EQ(Tr("a\\-b", "123", "", "a-b"), "123");
  EXPECT_EQ(Tr("-ab", "123", "", "a-b"), "213");
  EXPECT_EQ(Tr("ab-", "123", "", "a-b"), "132");
  EXPECT_EQ(Tr("\\\\", "X", "", "a\\b"), "aXb");
  EXPECT_EQ(Tr("\\x41-\\x{43}\\n", "a-c_", "", "ABCD\n"), "abcD_");
  EXPECT_EQ(Tr("\\101", "z", "", "BA"), "Bz");  // octal 101 is "A"
}

TEST(Transliteration, DeleteAndSqueeze) {
  EXPECT_EQ(Tr("abcd", "AB", "d", "abcd"), "AB");
  EXPECT_EQ(Tr("x-z", "", "d", "xyzw"), "w");
  EXPECT_EQ(Tr("a-z", "", "s", "hello"), "helo");
  EXPECT_EQ(Tr("ab", "xx", "s", "aabbaa"), "x");
  // A deleted character does not end a squeezed run.
  EXPECT_EQ(Tr("aX", "b", "ds", "aXa"), "b");
  EXPECT_EQ(Tr("a-c", "A", "ds", "aabbcc"), "A");
  EXPECT_EQ(Tr("a", "b", "s", "aa-aa"), "b-b");
}

TEST(Transliteration, TheComplementIsTakenInCodePointOrder) {
  EXPECT_EQ(Tr("a-z", "", "cd", "hello world"), "helloworld");
  EXPECT_EQ(Tr("a-z", "_", "c", "hello world"), "hello_world");
  EXPECT_EQ(Tr("a-z", "_", "cs", "hello  world"), "hello_world");
  EXPECT_EQ(Tr("a-z", "x", "cs", "aa--bb"), "aaxbb");
  // あぃいぅう then a: U+3042.. are the first code points outside \x00-\x{3041}.
  const std::string fiveKana = "\x82\xA0\x82\xA1\x82\xA2\x82\xA3\x82\xA4";
  EXPECT_EQ(Tr("\\x00-\\x{3041}", "ABCD", "c", fiveKana + "a"), "ABCDDa");
  EXPECT_EQ(Tr("a-z", "", "c", "a-b"), "a-b");
}

TEST(Transliteration, JapaneseRangesAreByCodePoint) {
  // ひらがな to ヒラガナ; the ASCII stays.
  const std::string hiragana = "\x82\xD0\x82\xE7\x82\xAA\x82\xC8";
  const std::string katakana = "\x83\x71\x83\x89\x83\x4B\x83\x69";
  EXPECT_EQ(Tr("\x82\x9F-\x82\xF1", "\x83\x40-\x83\x93", "", hiragana + "abc"), katakana + "abc");
  EXPECT_EQ(Tr("\x82\x60-\x82\x79", "A-Z", "", "\x82\x60\x82\x61\x82\x62"), "ABC");  // ＡＢＣ
}

TEST(Transliteration, TrailBytesAreNotAsciiCharacters) {
  EXPECT_EQ(Tr("\\\\", "X", "", "\x95\x5C\\"), "\x95\x5CX");
  EXPECT_EQ(Tr("{}", "()", "", "\x83\x7D{\x83\x7B}"), "\x83\x7D(\x83\x7B)");
  EXPECT_EQ(Tr("\",", "'.", "", "\x81\x22\"\x81\x2C,"), "\x81\x22'\x81\x2C.");
  EXPECT_EQ(Tr("\x95\x5C\x83\x5C", "\x83\x5C\x95\x5C", "", "a\x95\x5C\x83\x5C"),
            "a\x83\x5C\x95\x5C");  // 表 and ソ swap
}

TEST(Transliteration, UntouchedCharactersKeepTheirBytes) {
  const std::string necSelected = "\xED\x40";
  EXPECT_EQ(Tr("a", "b", "", necSelected + "a\x80"), necSelected + "b\x80");
  EXPECT_EQ(Tr("a-z", "", "", "\xFA\x5C"), "\xFA\x5C");
}

TEST(Transliteration, HugeRangesCostNothing) {
  EXPECT_EQ(Tr("\\x00-\\x{10FFFF}", "_", "", "a\x95\x5C"), "__");
  EXPECT_EQ(Tr("\\x{10FFFF}", "", "cd", "abc"), "");
}

TEST(Transliteration, ReversedRangesAndCodePointsBeyondUnicodeAreRefused) {
  EXPECT_FALSE(Transliteration::Create("c-a", "x", false, false, false));
  EXPECT_FALSE(Transliteration::Create("a", "z-a", false, false, false));
  EXPECT_FALSE(Transliteration::Create("\\x{110000}", "x", false, false, false));
}

}  // namespace
}  // namespace mavu::script
