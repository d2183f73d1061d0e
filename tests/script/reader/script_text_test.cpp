#include "script/reader/script_text.h"

#include <gtest/gtest.h>

#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::Sjis;

TEST(TrimBlanks, DropsBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(TrimBlanks(" \t\x01"
                       "a b\r\n "),
            "a b");
  EXPECT_EQ(TrimBlanks(" \t "), "");
  EXPECT_EQ(TrimBlanks(Sjis("表")), Sjis("表"));
}

TEST(CutLineComment, CutsAtTheFirstDoubleSlashEvenInsideQuotes) {
  EXPECT_EQ(CutLineComment("\\mes,\"http://x\""), "\\mes,\"http:");
  EXPECT_EQ(CutLineComment("// all"), "");
  EXPECT_EQ(CutLineComment("a/b/"), "a/b/");
}

TEST(CutLineComment, SlashAfterALeadByteBelongsToItsCharacter) {
  EXPECT_EQ(CutLineComment("\x82//x"), "\x82//x");
  EXPECT_EQ(CutLineComment("\x82///x"), "\x82/");
}

TEST(StripBlockComments, FlagCarriesFromLineToLine) {
  bool inComment = false;
  EXPECT_EQ(StripBlockComments("a/*b", inComment), "a");
  EXPECT_TRUE(inComment);
  EXPECT_EQ(StripBlockComments("still", inComment), "");
  EXPECT_EQ(StripBlockComments("x*/y/*z*/w", inComment), "yw");
  EXPECT_FALSE(inComment);
}

TEST(StripBlockComments, TrailBytesDoNotCloseOrOpen) {
  bool inComment = false;
  EXPECT_EQ(StripBlockComments(Sjis("/*表*/ソ"), inComment), Sjis("ソ"));
  EXPECT_FALSE(inComment);
  EXPECT_EQ(StripBlockComments("\x82/*x", inComment), "\x82/*x");
  EXPECT_FALSE(inComment);
}

TEST(ReplaceAllIgnoreCase, ReplacesEveryOccurrenceInAnyCase) {
  EXPECT_EQ(ReplaceAllIgnoreCase("Cat cat CAT", "cAt", "dog"), "dog dog dog");
  EXPECT_EQ(ReplaceAllIgnoreCase("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAllIgnoreCase("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAllIgnoreCase("abc", "abcd", "x"), "abc");
  EXPECT_EQ(ReplaceAllIgnoreCase("", "a", "x"), "");
}

TEST(ReplaceAllIgnoreCase, MatchesWholeCharactersOnly) {
  // 0x82 0x61 is not "a"; the trail byte is neither folded nor matched.
  EXPECT_EQ(ReplaceAllIgnoreCase("\x82"
                                 "a"
                                 "a",
                                 "a", "x"),
            "\x82"
            "ax");
  EXPECT_EQ(ReplaceAllIgnoreCase("\x82"
                                 "A",
                                 "a", "x"),
            "\x82"
            "A");
  EXPECT_EQ(ReplaceAllIgnoreCase(Sjis("表\\"), "\\", "/"), Sjis("表/"));
  EXPECT_EQ(ReplaceAllIgnoreCase(Sjis("ソ表ソ"), Sjis("表"), "x"), Sjis("ソxソ"));
}

TEST(ReplaceAllIgnoreCase, MarkerOneEatsTheFrontOfMarkerTwelve) {
  EXPECT_EQ(ReplaceAllIgnoreCase("a%%%12b", "%%%1", ""), "a2b");
}

}  // namespace
}  // namespace mavu::script
