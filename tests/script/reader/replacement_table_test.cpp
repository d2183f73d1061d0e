#include "script/reader/replacement_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/regex/bregexp.h"
#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::Sjis;

class ReplacementTableTest : public ::testing::Test {
 protected:
  std::vector<std::string> Patterns() const {
    std::vector<std::string> patterns;
    for (int i = 0; i < ReplacementTable::kSlots; ++i) {
      if (!table_.At(i).pattern.empty()) patterns.push_back(table_.At(i).pattern);
    }
    return patterns;
  }
  std::string Apply(std::string_view line) { return table_.Apply(line, regExp_); }

  ReplacementTable table_;
  TBRegExp regExp_;
};

TEST_F(ReplacementTableTest, LongestPatternComesFirst) {
  EXPECT_TRUE(table_.Add("ab", "1", kReplaceText));
  EXPECT_TRUE(table_.Add("abc", "2", kReplaceText));
  EXPECT_TRUE(table_.Add("a", "3", kReplaceText));
  EXPECT_EQ(Patterns(), (std::vector<std::string>{"abc", "ab", "a"}));
  EXPECT_EQ(table_.At(0).replacement, "2");
  EXPECT_EQ(table_.At(2).replacement, "3");
  EXPECT_EQ(Apply("abcab a"), "21 3");
}

TEST_F(ReplacementTableTest, EqualLengthsKeepTheOrderTheyWereAddedIn) {
  table_.Add("xy", "1", kReplaceText);
  table_.Add("zz", "2", kReplaceText);
  table_.Add("q", "3", kReplaceText);
  table_.Add("ab", "4", kReplaceText);
  EXPECT_EQ(Patterns(), (std::vector<std::string>{"xy", "zz", "ab", "q"}));
}

TEST_F(ReplacementTableTest, SamePatternInAnyCaseIsOverwrittenInPlace) {
  table_.Add("abc", "1", kReplaceText);
  table_.Add("ab", "2", kReplaceText);
  EXPECT_TRUE(table_.Add("AB", "9", kReplaceSubst));
  EXPECT_EQ(Patterns(), (std::vector<std::string>{"abc", "AB"}));
  EXPECT_EQ(table_.At(1).replacement, "9");
  EXPECT_EQ(table_.At(1).mode, kReplaceSubst);
}

TEST_F(ReplacementTableTest, RemoveEmptiesTheSlotAndReorders) {
  table_.Add("abc", "1", kReplaceSubst);
  table_.Add("ab", "2", kReplaceText);
  table_.Add("a", "3", kReplaceSplit);
  EXPECT_TRUE(table_.Remove("ABC"));
  EXPECT_EQ(Patterns(), (std::vector<std::string>{"ab", "a"}));
  EXPECT_EQ(table_.At(1).mode, kReplaceSplit);
  EXPECT_EQ(table_.At(2).mode, kReplaceText);
  EXPECT_EQ(table_.At(2).replacement, "");
  EXPECT_FALSE(table_.Remove("abc"));
  EXPECT_FALSE(table_.Remove(""));
}

TEST_F(ReplacementTableTest, FullTableRefusesNewPatternsButTakesKnownOnes) {
  for (int i = 0; i < ReplacementTable::kSlots; ++i) {
    ASSERT_TRUE(table_.Add("p" + std::to_string(i), "r", kReplaceText));
  }
  EXPECT_FALSE(table_.Add("new", "r", kReplaceText));
  EXPECT_TRUE(table_.Add("P7", "changed", kReplaceText));
  EXPECT_EQ(Patterns().size(), 64u);
}

TEST_F(ReplacementTableTest, EmptyPatternIsRefused) {
  EXPECT_FALSE(table_.Add("", "x", kReplaceText));
  EXPECT_TRUE(Patterns().empty());
}

TEST_F(ReplacementTableTest, SetWritesOneSlotWithoutReordering) {
  table_.Add("ab", "1", kReplaceText);
  EXPECT_TRUE(table_.Set(63, "longest", kReplacePrefix, "r"));
  EXPECT_EQ(Patterns(), (std::vector<std::string>{"ab", "longest"}));
  EXPECT_EQ(table_.At(63).mode, kReplacePrefix);
  EXPECT_FALSE(table_.Set(64, "x", 0, "y"));
  EXPECT_FALSE(table_.Set(-1, "x", 0, "y"));
  // The next add reorders everything, the directly set slot included.
  table_.Add("abc", "2", kReplaceText);
  EXPECT_EQ(Patterns(), (std::vector<std::string>{"longest", "abc", "ab"}));
  EXPECT_EQ(table_.At(0).replacement, "r");
}

TEST_F(ReplacementTableTest, ClearEmptiesEverySlot) {
  table_.Add("ab", "1", kReplaceSplit);
  table_.Clear();
  EXPECT_TRUE(Patterns().empty());
  EXPECT_EQ(table_.At(0).mode, kReplaceText);
}

TEST_F(ReplacementTableTest, TextModeIgnoresCaseAndKeepsCharactersWhole) {
  table_.Add("hello", "bye", kReplaceText);
  table_.Add(Sjis("表"), Sjis("裏"), kReplaceText);
  EXPECT_EQ(Apply(Sjis("HeLLo ソ表")), Sjis("bye ソ裏"));
  // "\" must not match the trail byte of ソ.
  table_.Add("\\", "/", kReplaceText);
  EXPECT_EQ(Apply(Sjis("ソ\\")), Sjis("ソ/"));
}

TEST_F(ReplacementTableTest, LineEndsAddedForTheSlotsAreRemovedAfterwards) {
  table_.Set(0, "s/\\r\\n/<EOL>/", kReplaceSubst, "");
  EXPECT_EQ(Apply("abc"), "abc<EOL>");
  table_.Clear();
  table_.Add("x", "\r\n", kReplaceText);
  EXPECT_EQ(Apply("axbx"), "ab");
}

TEST_F(ReplacementTableTest, PrefixModePutsTheTextInFrontOfAMatchingLine) {
  table_.Add("/^hel+o/i", ">>", kReplacePrefix);
  EXPECT_EQ(Apply("Hello there"), ">>Hello there");
  EXPECT_EQ(Apply("say hello"), "say hello");
}

TEST_F(ReplacementTableTest, SubstitutionModesReplaceTheText) {
  table_.Add("s/cat/dog/g", "", kReplaceSubst);
  EXPECT_EQ(Apply("cat cat"), "dog dog");
  table_.Clear();
  table_.Add("s/cat/cow/", "", kReplaceSubstAlt);
  EXPECT_EQ(Apply("cat cat"), "cow cat");
}

TEST_F(ReplacementTableTest, BadExpressionsLeaveTheTextAlone) {
  table_.Add("s/(/x/", "", kReplaceSubst);
  table_.Add("/(/", "!", kReplacePrefix);
  table_.Add("m/)/", "#", kReplaceSplit);
  EXPECT_EQ(Apply("a(b)"), "a(b)");
}

TEST_F(ReplacementTableTest, SplitModePutsTheTextInFrontOfEachPiece) {
  table_.Add("/,/", "#", kReplaceSplit);
  EXPECT_EQ(Apply("a,b,c"), "#a#b#c");
  // No separator: the whole line is the one piece.
  EXPECT_EQ(Apply("abc"), "#abc");
}

TEST_F(ReplacementTableTest, SplitModeStopsAtThirtyTwoPieces) {
  table_.Add("/,/", "", kReplaceSplit);
  std::string line;
  for (int i = 0; i < 40; ++i) line += "x,";
  // The last of the 32 pieces keeps the rest, separators included.
  EXPECT_EQ(Apply(line), std::string(31, 'x') + line.substr(31 * 2));
}

TEST_F(ReplacementTableTest, UnknownModesDoNothing) {
  table_.Add("a", "b", 5);
  table_.Add("c", "d", 255);
  EXPECT_EQ(Apply("ac"), "ac");
}

}  // namespace
}  // namespace mavu::script
