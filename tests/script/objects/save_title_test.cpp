#include "script/objects/save_title.h"

#include <gtest/gtest.h>

#include "support/script/script_game.h"

namespace mavu::script {
namespace {

TEST(SaveTitle, RemovesBracketedPartsWithTheirBrackets) {
  EXPECT_EQ(StripBracketedParts("abc"), "abc");
  EXPECT_EQ(StripBracketedParts("a[x]b[y]c"), "abc");
  EXPECT_EQ(StripBracketedParts("[rb,x,y]"), "");
  EXPECT_EQ(StripBracketedParts(""), "");
}

TEST(SaveTitle, CountsNesting) {
  EXPECT_EQ(StripBracketedParts("a[b[c]d]e"), "ae");
  EXPECT_EQ(StripBracketedParts("a[b[c]"), "a");  // still inside the first bracket
}

TEST(SaveTitle, AStrayClosingBracketStays) {
  EXPECT_EQ(StripBracketedParts("a]b"), "a]b");
}

TEST(SaveTitle, TwoByteCharactersAreSkippedWhole) {
  // The trail byte of "ー" (0x81 0x5B) is "[": it must not open a bracket.
  const std::string text = test::Sjis("ーム[c,1]ー");
  EXPECT_EQ(StripBracketedParts(text), test::Sjis("ームー"));
}

}  // namespace
}  // namespace mavu::script
