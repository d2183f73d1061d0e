#include "script/regex/regex_syntax.h"

#include <gtest/gtest.h>

namespace mavu::script {
namespace {

RegexExpression Parsed(std::string_view text) {
  auto expression = ParseRegexExpression(text);
  EXPECT_TRUE(expression.has_value()) << text;
  return expression.value_or(RegexExpression{});
}

TEST(RegexSyntax, MatchWithOrWithoutTheM) {
  RegexExpression m = Parsed("m/a+/ig");
  EXPECT_EQ(m.kind, RegexKind::kMatch);
  EXPECT_EQ(m.pattern, "a+");
  EXPECT_EQ(m.flags, "ig");
  EXPECT_TRUE(m.Has('i'));
  EXPECT_FALSE(m.Has('x'));
  RegexExpression bare = Parsed("/b/");
  EXPECT_EQ(bare.kind, RegexKind::kMatch);
  EXPECT_EQ(bare.pattern, "b");
  EXPECT_EQ(bare.flags, "");
}

TEST(RegexSyntax, SubstitutionAndTransliteration) {
  RegexExpression s = Parsed(" \ts/a(b)/[$1]/g  ");
  EXPECT_EQ(s.kind, RegexKind::kSubstitute);
  EXPECT_EQ(s.pattern, "a(b)");
  EXPECT_EQ(s.replacement, "[$1]");
  EXPECT_EQ(s.flags, "g");
  RegexExpression tr = Parsed("tr/a-z/A-Z/cds");
  EXPECT_EQ(tr.kind, RegexKind::kTransliterate);
  EXPECT_EQ(tr.pattern, "a-z");
  EXPECT_EQ(tr.replacement, "A-Z");
  EXPECT_EQ(tr.flags, "cds");
  EXPECT_EQ(Parsed("y/a/b/").kind, RegexKind::kTransliterate);
}

TEST(RegexSyntax, BracketsNestAndMayStartASecondPart) {
  EXPECT_EQ(Parsed("m{a{2}}").pattern, "a{2}");
  EXPECT_EQ(Parsed("m(a(b)c)").pattern, "a(b)c");
  EXPECT_EQ(Parsed("m<a>").pattern, "a");
  RegexExpression s = Parsed("s{a}{b}");
  EXPECT_EQ(s.pattern, "a");
  EXPECT_EQ(s.replacement, "b");
  EXPECT_EQ(Parsed("s[a] \t[b]g").replacement, "b");
  EXPECT_EQ(Parsed("s(a)/b/").replacement, "b");
  EXPECT_EQ(Parsed("tr[a-c] <x>").replacement, "x");
}

TEST(RegexSyntax, AnEscapedDelimiterLosesItsBackslashUnlessItIsABracket) {
  EXPECT_EQ(Parsed("m/a\\/b/").pattern, "a/b");
  EXPECT_EQ(Parsed("m!a\\!b!").pattern, "a!b");
  EXPECT_EQ(Parsed("m/a\\.b/").pattern, "a\\.b");
  EXPECT_EQ(Parsed("m/a\\\\/").pattern, "a\\\\");
  EXPECT_EQ(Parsed("m{a\\{}").pattern, "a\\{");
  EXPECT_EQ(Parsed("m{a\\}}").pattern, "a\\}");
  EXPECT_EQ(Parsed("s/\\//\\//").replacement, "/");
}

TEST(RegexSyntax, TrailBytesNeitherEscapeNorCloseNorNest) {
  EXPECT_EQ(Parsed("m/\x95\x5C/").pattern, "\x95\x5C");  // 表
  EXPECT_EQ(Parsed("m{\x83\x7D}").pattern, "\x83\x7D");  // マ
  EXPECT_EQ(Parsed("m{\x83\x7B}").pattern, "\x83\x7B");  // ボ
  EXPECT_EQ(Parsed("s/\x83\x5C/\x95\x5C/").replacement, "\x95\x5C");
  EXPECT_EQ(Parsed("m/a\\\x95\x5C/").pattern, "a\\\x95\x5C");  // an escaped 表 stays escaped
  // A lead byte takes the next byte with it, whatever that is.
  EXPECT_FALSE(ParseRegexExpression("/a\x81/"));
}

TEST(RegexSyntax, TheKanjiFlagIsAcceptedEverywhere) {
  EXPECT_EQ(Parsed("/a/k").flags, "k");
  EXPECT_EQ(Parsed("s/a/b/gk").flags, "gk");
  EXPECT_EQ(Parsed("tr/a/b/k").flags, "k");
}

TEST(RegexSyntax, TextsThatAreNoExpression) {
  for (std::string_view text :
       {"", "   ", "m/a", "/a", "s/a/b", "s{a}", "s{a}b", "tr/a/", "/a/q", "s/a/b/e", "tr/a/b/g",
        "m/a/c", "ma/", "m a ", "#a#", "m\\a\\", "m_a_", "x/a/", "/a/ i"}) {
    EXPECT_FALSE(ParseRegexExpression(text)) << text;
  }
}

}  // namespace
}  // namespace mavu::script
