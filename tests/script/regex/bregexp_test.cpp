#include "script/regex/bregexp.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

// Expected results are Perl's (5.36) for the same expression and text.
// CP932 characters used below, with the trail byte each carries:
//   表 "\x95\x5C" (backslash)   ソ "\x83\x5C" (backslash)
//   ボ "\x83\x7B" ("{")         マ "\x83\x7D" ("}")
// and two lead bytes followed by a byte CP932 does not allow as trail:
//   "\x81\x22" (a quote) and "\x81\x2C" (a comma), one invalid character each.
namespace mavu::script {
namespace {

using Strings = std::vector<std::string>;

const std::string kHyou = "\x95\x5C";
const std::string kBadQuote = "\x81\x22";

class TBRegExpTest : public ::testing::Test {
 protected:
  TBRegExp re;
};

// --- Match -------------------------------------------------------------------

TEST_F(TBRegExpTest, MatchGivesTheWholeMatchAndEveryGroupInOrder) {
  EXPECT_EQ(re.Match("m/(\\w+)@(\\w+)/", "mail: bob@example now"),
            (Strings{"bob@example", "bob", "example"}));
  EXPECT_EQ(re.Match("/(a)|(b)/", "b"), (Strings{"b", "", "b"}));
  EXPECT_EQ(re.Match("/x(y)?/", "x"), (Strings{"x", ""}));
  EXPECT_EQ(re.Match("/z/", "abc"), Strings{});
}

TEST_F(TBRegExpTest, MatchFlagsHavePerlsMeaning) {
  EXPECT_EQ(re.Match("/HELLO/i", "say hello"), Strings{"hello"});
  EXPECT_EQ(re.Match("/^b/", "a\nb"), Strings{});
  EXPECT_EQ(re.Match("/^b/m", "a\nb"), Strings{"b"});
  EXPECT_EQ(re.Match("/a.b/", "a\nb"), Strings{});
  EXPECT_EQ(re.Match("/a.b/s", "a\nb"), Strings{"a\nb"});
  EXPECT_EQ(re.Match("/a b  c # letters/x", "abc"), Strings{"abc"});
  EXPECT_EQ(re.Match("/[a b]+/xx", "ab ba"), Strings{"ab"});
  EXPECT_EQ(re.Match("/a/k", "a"), Strings{"a"});
}

TEST_F(TBRegExpTest, GlobalMatchStillReportsTheFirstMatch) {
  EXPECT_EQ(re.Match("/(\\d)/g", "a1b2"), (Strings{"1", "1"}));
}

TEST_F(TBRegExpTest, OtherDelimitersWork) {
  EXPECT_EQ(re.Match("m#a/b#", "xa/by"), Strings{"a/b"});
  EXPECT_EQ(re.Match("m{a{2}}", "aaa"), Strings{"aa"});
  EXPECT_EQ(re.Match("m!a\\!b!", "a!b"), Strings{"a!b"});
  EXPECT_EQ(re.Match("m.a\\.b.", "axb"), Strings{"axb"});  // the escaped delimiter is a plain "."
  EXPECT_EQ(re.Match("m{a\\{b}", "a{b"), Strings{"a{b"});
}

TEST_F(TBRegExpTest, MatchOnAnEmptySubject) {
  EXPECT_EQ(re.Match("/^$/", ""), Strings{""});
  EXPECT_EQ(re.Match("/a/", ""), Strings{});
}

TEST_F(TBRegExpTest, ATrailByteNeverMatchesAnAsciiPattern) {
  EXPECT_EQ(re.Match("/\\\\/", "\x95\x5C\x83\x5C"), Strings{});
  EXPECT_EQ(re.Match("/\\\\/", kHyou + "a\\"), Strings{"\\"});
  EXPECT_EQ(re.Match("/[{}]/", "\x83\x7B\x83\x7D"), Strings{});
  EXPECT_EQ(re.Match("/\"|,/", "\x81\x22\x81\x2C"), Strings{});
}

TEST_F(TBRegExpTest, ADotIsOneWholeCharacter) {
  EXPECT_EQ(re.Match("/\x95\x5C(.)/", "\x95\x5C\x83\x5Cx"),
            (Strings{"\x95\x5C\x83\x5C", "\x83\x5C"}));
  EXPECT_EQ(re.Match("/a(.)b/", "a" + kBadQuote + "b"),
            (Strings{"a" + kBadQuote + "b", kBadQuote}));
  EXPECT_EQ(re.Match("/^(.)(.)$/", "\x80\xB1"), (Strings{"\x80\xB1", "\x80", "\xB1"}));
  EXPECT_EQ(re.Match("/a(.)$/", "a\x95"),
            (Strings{"a\x95", "\x95"}));  // a lone lead byte at the end
}

TEST_F(TBRegExpTest, TrailBytesInThePatternNeitherEscapeNorCloseNorNest) {
  EXPECT_EQ(re.Match("m/\x95\x5C/", "x\x95\x5Cy"), Strings{"\x95\x5C"});
  EXPECT_EQ(re.Match("m{\x83\x7D+}", "\x83\x7D\x83\x7Dx"), Strings{"\x83\x7D\x83\x7D"});
  EXPECT_EQ(re.Match("m{\x83\x7B}", "a\x83\x7B"), Strings{"\x83\x7B"});
  EXPECT_EQ(re.Match("/\x81\x22/", "x\x81\x22y"), Strings{"\x81\x22"});
}

TEST_F(TBRegExpTest, ResultsAreTheOriginalBytes) {
  // 0xED40 and 0xFA5C are the same character; Unicode cannot tell them apart.
  EXPECT_EQ(re.Match("/./", "\xED\x40"), Strings{"\xED\x40"});
  EXPECT_EQ(re.Match("/./", "\xFA\x5C"), Strings{"\xFA\x5C"});
}

TEST_F(TBRegExpTest, ClassesStayAsciiButCaseFoldingCoversFullWidthLetters) {
  const std::string fullWidthOneTwo = "\x82\x50\x82\x51";
  EXPECT_EQ(re.Match("/\\d+/", fullWidthOneTwo + "3"), Strings{"3"});
  EXPECT_EQ(re.Match("/\\w+/", kHyou + "ab"), Strings{"ab"});
  EXPECT_EQ(re.Match("/\x82\x60/i", "\x82\x81"), Strings{"\x82\x81"});  // Ａ matches ａ
}

TEST_F(TBRegExpTest, ABadExpressionGivesAnEmptyList) {
  EXPECT_EQ(re.Match("/(/", "("), Strings{});
  EXPECT_EQ(re.Match("/a/q", "a"), Strings{});
  EXPECT_EQ(re.Match("/a", "a"), Strings{});
  EXPECT_EQ(re.Match("s/a/b/", "a"), Strings{});
  EXPECT_EQ(re.Match("", ""), Strings{});
  EXPECT_EQ(re.Match("/\\C/", "a"), Strings{});  // one code unit could be half a character
}

TEST_F(TBRegExpTest, RunawayBacktrackingEndsAsNoMatch) {
  // Perl finds the "b"; here the first alternative gives up at the step limit.
  EXPECT_EQ(re.Match("/(?:a|a)*c|b/", std::string(40, 'a') + "b"), Strings{});
}

// --- Substitute --------------------------------------------------------------

TEST_F(TBRegExpTest, SubstituteReplacesTheFirstOrEveryMatch) {
  EXPECT_EQ(re.Substitute("s/o/0/", "foo"), "f0o");
  EXPECT_EQ(re.Substitute("s/o/0/g", "foo"), "f00");
  EXPECT_EQ(re.Substitute("s/A/b/gi", "aA"), "bb");
  EXPECT_EQ(re.Substitute("s/^/>/mg", "a\nb\n"), ">a\n>b\n");
  EXPECT_EQ(re.Substitute("s/$/</g", "a\nb\n"), "a\nb<\n<");
  EXPECT_EQ(re.Substitute("s/z/y/", "abc"), "abc");
  EXPECT_EQ(re.Substitute("s/a/b/", ""), "");
}

TEST_F(TBRegExpTest, ZeroLengthMatchesWithGlobalFollowPerl) {
  EXPECT_EQ(re.Substitute("s/x*/-/g", "abc"), "-a-b-c-");
  EXPECT_EQ(re.Substitute("s/x*/-/g", "xxa"), "--a-");
  EXPECT_EQ(re.Substitute("s/x*/-/g", "x"), "--");
  EXPECT_EQ(re.Substitute("s/x*/-/g", ""), "-");
  EXPECT_EQ(re.Substitute("s/a*?/-/g", "aaa"), "-------");
  EXPECT_EQ(re.Substitute("s/(?=b)|c/-/g", "abc"), "a-b-");
  EXPECT_EQ(re.Substitute("s/\\b/|/g", "abc"), "|abc|");
  // An empty pattern is just empty here (Perl would take the last pattern).
  EXPECT_EQ(re.Substitute("s//-/g", "\x95\x5C\x83\x5C"), "-\x95\x5C-\x83\x5C-");
}

TEST_F(TBRegExpTest, ReplacementReferences) {
  EXPECT_EQ(re.Substitute("s/(\\w+) (\\w+)/${2}1 $1 $& \\$1 \\\\ \\/x/", "hello world"),
            "world1 hello hello world $1 \\ /x");
  EXPECT_EQ(re.Substitute("s/(\\w+)/<\\1>/g", "hello world"), "<hello> <world>");
  EXPECT_EQ(re.Substitute("s/b/[$`|$']/", "abc"), "a[a|c]c");
  EXPECT_EQ(re.Substitute("s/(l)/$10x/", "hello"), "hexlo");  // no group 10
  EXPECT_EQ(re.Substitute("s/a/\\t\\x41\\x{3042}/", "a"), "\tA\x82\xA0");
  EXPECT_EQ(re.Substitute("s/a/5$/", "a"), "5$");
}

TEST_F(TBRegExpTest, SubstituteKeepsDoubleByteCharactersWhole) {
  // 表 then "1": the trail byte 0x5C is no backslash, so this is no \1.
  EXPECT_EQ(re.Substitute("s/a/" + kHyou + "1/", "a"), kHyou + "1");
  EXPECT_EQ(re.Substitute("s/a/\x95\x5C/", "a"), "\x95\x5C");
  EXPECT_EQ(re.Substitute("s/\\\\/Y/g", "a\\\x95\x5C\\"), "aY\x95\x5CY");
  EXPECT_EQ(re.Substitute("s/./x/g", "\x95\x5C\x83\x5C"), "xx");
  EXPECT_EQ(re.Substitute("s/,/;/g", "a,\x81\x2C,"), "a;\x81\x2C;");
  EXPECT_EQ(re.Substitute("s/b/c/g", kBadQuote + "b\x80" + "b\xFF"), kBadQuote + "c\x80" + "c\xFF");
  const std::string necSelected = "\xED\x40";
  EXPECT_EQ(re.Substitute("s/a/b/", necSelected + "a"), necSelected + "b");
}

TEST_F(TBRegExpTest, SubstituteTakesOtherDelimiters) {
  EXPECT_EQ(re.Substitute("s{a}{b}g", "aa"), "bb");
  EXPECT_EQ(re.Substitute("s(a) [b]g", "aa"), "bb");
  EXPECT_EQ(re.Substitute("s{a}/b/", "a"), "b");
  EXPECT_EQ(re.Substitute("s|a|x\\|y|", "a"), "x|y");
  EXPECT_EQ(re.Substitute("s#/#\\\\#g", "a/b/c"), "a\\b\\c");
}

TEST_F(TBRegExpTest, AFailingSubstitutionLeavesTheTextUnchanged) {
  EXPECT_EQ(re.Substitute("s/(/x/", "(a"), "(a");
  EXPECT_EQ(re.Substitute("s/a/b/e", "a"), "a");
  EXPECT_EQ(re.Substitute("m/a/", "a"), "a");
  EXPECT_EQ(re.Substitute("s/a/b", "a"), "a");
  EXPECT_EQ(re.Substitute("s/(?:a|a)*c|b/x/", std::string(40, 'a') + "b"),
            std::string(40, 'a') + "b");
}

TEST_F(TBRegExpTest, SubstituteAlsoTransliterates) {
  EXPECT_EQ(re.Substitute("tr/a-c/A-C/", "abcd"), "ABCd");
}

// --- Split -------------------------------------------------------------------

TEST_F(TBRegExpTest, SplitKeepsALeadingEmptyFieldAndDropsTrailingOnes) {
  EXPECT_EQ(re.Split("/,/", "a,b,,c,,", 0), (Strings{"a", "b", "", "c"}));
  EXPECT_EQ(re.Split("/,/", ",a,b", 0), (Strings{"", "a", "b"}));
  EXPECT_EQ(re.Split("/,/", ",,,", 0), Strings{});
  EXPECT_EQ(re.Split("/\\s*/", " hi there ", 0), (Strings{"", "h", "i", "t", "h", "e", "r", "e"}));
}

TEST_F(TBRegExpTest, SplitOnZeroLengthSeparators) {
  EXPECT_EQ(re.Split("//", "abc", 0), (Strings{"a", "b", "c"}));
  EXPECT_EQ(re.Split("/x*/", "axxb", 0), (Strings{"a", "b"}));
  EXPECT_EQ(re.Split("/b*/", "abbbc", 0), (Strings{"a", "c"}));
  EXPECT_EQ(re.Split("/(?=b)/", "abab", 0), (Strings{"a", "ba", "b"}));
  EXPECT_EQ(re.Split("/^/", "a\nb\nc", 0), (Strings{"a\n", "b\n", "c"}));
  EXPECT_EQ(re.Split("/$/", "a\nb\n", 0), (Strings{"a\nb", "\n"}));
}

TEST_F(TBRegExpTest, SplitIncludesCapturedGroups) {
  EXPECT_EQ(re.Split("/(x*)/", "axxb", 0), (Strings{"a", "xx", "b"}));
  EXPECT_EQ(re.Split("/(-)|(,)/", "1-2,3", 0), (Strings{"1", "-", "", "2", "", ",", "3"}));
  EXPECT_EQ(re.Split("/(,)/", "a,", 0), (Strings{"a", ","}));
  EXPECT_EQ(re.Split("/(a)|b/", "xayb", 0), (Strings{"x", "a", "y"}));
}

TEST_F(TBRegExpTest, SplitWithALimit) {
  EXPECT_EQ(re.Split("/,/", "a,b,c,d", 2), (Strings{"a", "b,c,d"}));
  EXPECT_EQ(re.Split("/,/", "a,b,c,,", 3), (Strings{"a", "b", "c,,"}));
  EXPECT_EQ(re.Split("/,/", "a,b,,", 10), (Strings{"a", "b", "", ""}));
  EXPECT_EQ(re.Split("/,/", "a,b,,", -1), (Strings{"a", "b", "", ""}));
  EXPECT_EQ(re.Split("/,/", "abc", 1), Strings{"abc"});
  EXPECT_EQ(re.Split("/(,)/", "a,b,c", 2), (Strings{"a", ",", "b,c"}));
  EXPECT_EQ(re.Split("//", "abc", 2), (Strings{"a", "bc"}));
  EXPECT_EQ(re.Split("//", "abc", -1), (Strings{"a", "b", "c", ""}));
  EXPECT_EQ(re.Split("/,/", "a,b", std::numeric_limits<int>::min()), (Strings{"a", "b"}));
}

TEST_F(TBRegExpTest, SplittingAnEmptyTextGivesNoFields) {
  EXPECT_EQ(re.Split("/,/", "", 0), Strings{});
  EXPECT_EQ(re.Split("/,/", "", 3), Strings{});
  EXPECT_EQ(re.Split("/,/", "", -1), Strings{});
}

TEST_F(TBRegExpTest, SplitWalksWholeCharacters) {
  EXPECT_EQ(re.Split("/,/", "\x95\x5C,\x83\x5C,x\x81\x2Cy", 0),
            (Strings{"\x95\x5C", "\x83\x5C", "x\x81\x2Cy"}));
  EXPECT_EQ(re.Split("/\\\\/", "a\\\x95\x5C\\b", 0), (Strings{"a", "\x95\x5C", "b"}));
  EXPECT_EQ(re.Split("//", "\x95\x5C\x83\x7D", 0), (Strings{"\x95\x5C", "\x83\x7D"}));
  EXPECT_EQ(re.Split("m{\\s*\x81\x41\\s*}", "a \x81\x41 b", 0), (Strings{"a", "b"}));  // 、
}

TEST_F(TBRegExpTest, ABadSplitGivesAnEmptyList) {
  EXPECT_EQ(re.Split("/(/", "a(b", 0), Strings{});
  EXPECT_EQ(re.Split("s/a/b/", "a,b", 0), Strings{});
  EXPECT_EQ(re.Split("tr/a/b/", "a,b", 0), Strings{});
}

// --- Translate ---------------------------------------------------------------

TEST_F(TBRegExpTest, TranslateTakesTrAndY) {
  EXPECT_EQ(re.Translate("tr/a-y/b-z/", "hello"), "ifmmp");
  EXPECT_EQ(re.Translate("y/./!/", "a.b"), "a!b");
  EXPECT_EQ(re.Translate("tr{a}{b}", "aa"), "bb");
  EXPECT_EQ(re.Translate("tr/a/b/r", "a"), "b");
}

TEST_F(TBRegExpTest, ABadTransliterationLeavesTheTextUnchanged) {
  EXPECT_EQ(re.Translate("tr/c-a/x/", "abc"), "abc");
  EXPECT_EQ(re.Translate("tr/a/b/g", "abc"), "abc");
  EXPECT_EQ(re.Translate("s/a/b/", "abc"), "abc");
  EXPECT_EQ(re.Translate("tr/a/b", "abc"), "abc");
}

// --- The handle --------------------------------------------------------------

TEST_F(TBRegExpTest, TheSameExpressionTextUsesOneCompiledHandle) {
  EXPECT_EQ(re.CompileCount(), 0u);
  EXPECT_EQ(re.Match("/a(.)/", "ab"), (Strings{"ab", "b"}));
  EXPECT_EQ(re.Match("/a(.)/", "xac"), (Strings{"ac", "c"}));
  EXPECT_EQ(re.CompileCount(), 1u);
  EXPECT_EQ(re.Match("/b/", "b"), Strings{"b"});
  EXPECT_EQ(re.CompileCount(), 2u);
  EXPECT_EQ(re.Match("/a(.)/", "ad"), (Strings{"ad", "d"}));
  EXPECT_EQ(re.CompileCount(), 3u);
}

TEST_F(TBRegExpTest, MatchAndSplitShareTheHandleOfOneText) {
  re.Match("/,/", "a,b");
  EXPECT_EQ(re.Split("/,/", "a,b", 0), (Strings{"a", "b"}));
  EXPECT_EQ(re.CompileCount(), 1u);
}

TEST_F(TBRegExpTest, ABadExpressionIsRememberedAndReplacedLikeAnyOther) {
  EXPECT_EQ(re.Match("/(/", "("), Strings{});
  EXPECT_EQ(re.Substitute("/(/", "("), "(");
  EXPECT_EQ(re.CompileCount(), 1u);
  EXPECT_EQ(re.Match("/\\(/", "("), Strings{"("});
  EXPECT_EQ(re.CompileCount(), 2u);
}

}  // namespace
}  // namespace mavu::script
