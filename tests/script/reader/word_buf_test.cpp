#include "script/reader/word_buf.h"

#include <gtest/gtest.h>

#include <string>

#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::Sjis;

TWordBuf Split(std::string_view text, char separator = ',') {
  TWordBuf buffer;
  SplitWords(buffer, text, separator);
  return buffer;
}

TEST(SplitWords, SeparatesAtCommas) {
  auto b = Split("\\cmd,a,b");
  ASSERT_EQ(b.count, 3);
  EXPECT_EQ(b.words[0], "\\cmd");
  EXPECT_EQ(b.words[1], "a");
  EXPECT_EQ(b.words[2], "b");
  EXPECT_EQ(b.words[3], "");
}

TEST(SplitWords, TrailingSeparatorAddsNoWordButEmptyMiddleWordCounts) {
  EXPECT_EQ(Split("\\cmd,a,").count, 2);
  auto b = Split("\\cmd,,b");
  ASSERT_EQ(b.count, 3);
  EXPECT_EQ(b.words[1], "");
  EXPECT_EQ(b.words[2], "b");
}

TEST(SplitWords, BlankTextLeavesTheBufferAsItWas) {
  auto b = Split("\\x,y");
  SplitWords(b, " \t\r\n", ',');
  ASSERT_EQ(b.count, 2);
  EXPECT_EQ(b.words[1], "y");
}

TEST(SplitWords, ReusedBufferHoldsNoOldWords) {
  auto b = Split("a,b,c,d");
  SplitWords(b, "x", ',');
  EXPECT_EQ(b.count, 1);
  EXPECT_EQ(b.words[1], "");
  EXPECT_EQ(b.words[3], "");
}

TEST(SplitWords, QuotesBracesAndBracketsHoldTheSeparator) {
  auto b = Split("\\m,\"a,b\",{c,\"d},x[1,(2,3)],e");
  ASSERT_EQ(b.count, 5);
  EXPECT_EQ(b.words[1], "\"a,b\"");
  // Inside braces a quote does not toggle anything.
  EXPECT_EQ(b.words[2], "{c,\"d}");
  EXPECT_EQ(b.words[3], "x[1,(2,3)]");
  EXPECT_EQ(b.words[4], "e");
}

TEST(SplitWords, BracketsInsideQuotesDoNotNest) {
  auto b = Split("\"(\",a");
  ASSERT_EQ(b.count, 2);
  EXPECT_EQ(b.words[0], "\"(\"");
  EXPECT_EQ(b.words[1], "a");
}

TEST(SplitWords, DropsUnitSeparatorsAndKeepsBlanks) {
  auto b = Split(
      "a\x1F"
      "b, c ");
  ASSERT_EQ(b.count, 2);
  EXPECT_EQ(b.words[0], "ab");
  EXPECT_EQ(b.words[1], " c ");
}

TEST(SplitWords, OtherSeparator) {
  auto b = Split("1 2,3", ' ');
  ASSERT_EQ(b.count, 2);
  EXPECT_EQ(b.words[1], "2,3");
}

TEST(SplitWords, KeepsTheFirst33WordsAndDropsTheRest) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "w" + std::to_string(i) + ",";
  auto b = Split(text);
  ASSERT_EQ(b.count, TWordBuf::kMaxWords);
  for (int i = 0; i < TWordBuf::kMaxWords; ++i) EXPECT_EQ(b.words[i], "w" + std::to_string(i));
}

TEST(SplitWords, ExactlyThirtyThreeWords) {
  std::string text = "w0";
  for (int i = 1; i < 33; ++i) text += ",w" + std::to_string(i);
  auto b = Split(text);
  EXPECT_EQ(b.count, 33);
  EXPECT_EQ(b.words[32], "w32");
  // A 34th word after a separator is dropped without touching the others.
  b = Split(text + ",extra");
  EXPECT_EQ(b.count, 33);
  EXPECT_EQ(b.words[32], "w32");
}

TEST(SplitWords, TrailBytesThatLookLikeSignsStayInsideTheirCharacter) {
  // ソ and 表 end in 0x5C, ボ in 0x7B, マ in 0x7D.
  auto b = Split(Sjis("\\mes,ソ表,ボ,マ,\"ソ,ボ\""));
  ASSERT_EQ(b.count, 5);
  EXPECT_EQ(b.words[1], Sjis("ソ表"));
  EXPECT_EQ(b.words[2], Sjis("ボ"));
  EXPECT_EQ(b.words[3], Sjis("マ"));
  EXPECT_EQ(b.words[4], Sjis("\"ソ,ボ\""));
  auto braced = Split(Sjis("{マ,x},y"));
  ASSERT_EQ(braced.count, 2);
  EXPECT_EQ(braced.words[0], Sjis("{マ,x}"));
}

TEST(SplitWords, LeadByteSwallowsAQuoteOrCommaAfterIt) {
  // 0x22 and 0x2C are no CP932 trail bytes, but a lead byte always takes the
  // next byte with it.
  auto outside = Split("\\a,\x82,b,\x82\",c");
  ASSERT_EQ(outside.count, 4);
  EXPECT_EQ(outside.words[1], "\x82,b");
  EXPECT_EQ(outside.words[2], "\x82\"");
  EXPECT_EQ(outside.words[3], "c");
  auto inside = Split("\\a,\"\x82\",b");
  ASSERT_EQ(inside.count, 2);
  EXPECT_EQ(inside.words[1], "\"\x82\",b");
  auto closed = Split("\\a,\"x\x82,\",b");
  ASSERT_EQ(closed.count, 3);
  EXPECT_EQ(closed.words[1], "\"x\x82,\"");
}

TEST(SplitWords, LeadByteAtTheEndIsOneCharacter) {
  auto b = Split("a,\x82");
  ASSERT_EQ(b.count, 2);
  EXPECT_EQ(b.words[1], "\x82");
}

TEST(BracketContent, RemovesBlanksOutsideQuotes) {
  EXPECT_EQ(BracketContent("(x + 1)"), "x+1");
  EXPECT_EQ(BracketContent("f ( \"a b\" , c\t)"), "\"a b\",c");
  EXPECT_EQ(BracketContent("(a\x01"
                           "b)"),
            "ab");
}

TEST(BracketContent, TakesTheFirstOpenerAndItsPartner) {
  EXPECT_EQ(BracketContent("x[2,3]"), "2,3");
  EXPECT_EQ(BracketContent("name\"a b\"rest"), "a b");
  EXPECT_EQ(BracketContent("{ a b }"), " a b ");
  EXPECT_EQ(BracketContent("v(a)[b]"), "a");
  EXPECT_EQ(BracketContent("plain"), "");
  EXPECT_EQ(BracketContent(""), "");
}

TEST(BracketContent, KeepsInnerPairs) {
  EXPECT_EQ(BracketContent("(a(b)[c]d)"), "a(b)[c]d");
  EXPECT_EQ(BracketContent("(a{ ) }b)"), "a{ ) }b");
  EXPECT_EQ(BracketContent("(\")\")"), "\")\"");
  EXPECT_EQ(BracketContent("{a{b}c}"), "a{b}c");
  EXPECT_EQ(BracketContent("\"a{\"}\""), "a{\"}");
}

TEST(BracketContent, UnclosedRunsToTheEnd) {
  EXPECT_EQ(BracketContent("(a b"), "ab");
}

TEST(BracketContent, TrailBytesAreNotClosers) {
  EXPECT_EQ(BracketContent(Sjis("(ソ マ)")), Sjis("ソマ"));
  EXPECT_EQ(BracketContent(Sjis("{ボ}")), Sjis("ボ"));
  EXPECT_EQ(BracketContent("\"\x82\"\"x"), "\x82\"");
  EXPECT_EQ(BracketContent("(\x82)x)"), "\x82)x");
}

TEST(NamePart, TextBeforeTheFirstOpenerWithoutBlanks) {
  EXPECT_EQ(NamePart(" x [1]"), "x");
  EXPECT_EQ(NamePart("a b\tc"), "abc");
  EXPECT_EQ(NamePart("v\"q\""), "v");
  EXPECT_EQ(NamePart("{x}"), "");
  EXPECT_EQ(NamePart(Sjis("表 [1]")), Sjis("表"));
}

TEST(ParseIndexedName, NameThenIndices) {
  TWordBuf b;
  ParseIndexedName(b, "x[2,3]", ',');
  ASSERT_EQ(b.count, 3);
  EXPECT_EQ(b.words[0], "x");
  EXPECT_EQ(b.words[1], "2");
  EXPECT_EQ(b.words[2], "3");
  ParseIndexedName(b, "arr [ i , j + 1 ]", ',');
  ASSERT_EQ(b.count, 3);
  EXPECT_EQ(b.words[0], "arr");
  EXPECT_EQ(b.words[2], "j+1");
}

TEST(ParseIndexedName, PlainNameAndEmptyBrackets) {
  TWordBuf b;
  ParseIndexedName(b, "a,b,c", ',');
  ParseIndexedName(b, "y", ',');
  EXPECT_EQ(b.count, 1);
  EXPECT_EQ(b.words[0], "y");
  EXPECT_EQ(b.words[1], "");
  ParseIndexedName(b, "z[]", ',');
  EXPECT_EQ(b.count, 1);
}

TEST(ParseIndexedName, TooManyIndicesKeepTheBufferBounded) {
  std::string word = "x[";
  for (int i = 0; i < 50; ++i) word += std::to_string(i) + ",";
  word += "]";
  TWordBuf b;
  ParseIndexedName(b, word, ',');
  ASSERT_EQ(b.count, TWordBuf::kMaxWords);
  EXPECT_EQ(b.words[0], "x");
  EXPECT_EQ(b.words[32], "31");
}

TWordBuf Words(int n) {
  TWordBuf b;
  for (int i = 0; i < n; ++i) b.words[i] = "w" + std::to_string(i);
  b.count = n;
  return b;
}

TEST(InsertWord, MovesLaterWordsUp) {
  auto b = Words(3);
  InsertWord(b, 1, "new");
  ASSERT_EQ(b.count, 4);
  EXPECT_EQ(b.words[0], "w0");
  EXPECT_EQ(b.words[1], "new");
  EXPECT_EQ(b.words[2], "w1");
  EXPECT_EQ(b.words[3], "w2");
}

TEST(InsertWord, IndexIsClampedToTheCount) {
  auto b = Words(2);
  InsertWord(b, 10, "end");
  ASSERT_EQ(b.count, 3);
  EXPECT_EQ(b.words[2], "end");
  InsertWord(b, -4, "front");
  ASSERT_EQ(b.count, 4);
  EXPECT_EQ(b.words[0], "front");
  EXPECT_EQ(b.words[3], "end");
}

TEST(InsertWord, EmptyTextIsIgnored) {
  auto b = Words(2);
  InsertWord(b, 0, "");
  EXPECT_EQ(b.count, 2);
  EXPECT_EQ(b.words[0], "w0");
}

TEST(InsertWord, ThirtyTwoWordsKeepAllOfThem) {
  auto b = Words(32);
  InsertWord(b, 0, "new");
  ASSERT_EQ(b.count, 33);
  EXPECT_EQ(b.words[0], "new");
  EXPECT_EQ(b.words[31], "w30");
  EXPECT_EQ(b.words[32], "w31");
}

TEST(InsertWord, FullBufferLosesItsLastWord) {
  auto b = Words(33);
  InsertWord(b, 5, "new");
  ASSERT_EQ(b.count, 33);
  EXPECT_EQ(b.words[4], "w4");
  EXPECT_EQ(b.words[5], "new");
  EXPECT_EQ(b.words[6], "w5");
  EXPECT_EQ(b.words[32], "w31");
  InsertWord(b, 40, "past");
  EXPECT_EQ(b.count, 33);
  EXPECT_EQ(b.words[32], "w31");
}

}  // namespace
}  // namespace mavu::script
