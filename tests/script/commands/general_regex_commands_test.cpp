#include <gtest/gtest.h>

#include "support/script/general_command_test.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

class RegexCommandsTest : public GeneralCommandTest {
 protected:
  RegexCommandsTest() {
    for (const char* name : {"all", "a", "b", "c"}) SetString(name, "old");
  }
};

TEST_F(RegexCommandsTest, BmatAssignsTheWholeMatchAndThenEachGroup) {
  Run(R"(\bmat,"/(\d+)-(\d+)/","tel 12-345 x",all,a,b,c)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Str("all"), "12-345");
  EXPECT_EQ(Str("a"), "12");
  EXPECT_EQ(Str("b"), "345");
  // More targets than matched strings: the rest keep their values.
  EXPECT_EQ(Str("c"), "old");
}

TEST_F(RegexCommandsTest, BmatStopsAtTheLastTargetAndSkipsEmptyTargetWords) {
  Run(R"(\bmat,"/(a)(b)(c)/","abc",all,,b)");
  EXPECT_EQ(Str("all"), "abc");
  EXPECT_EQ(Str("a"), "old");
  EXPECT_EQ(Str("b"), "b");
  EXPECT_EQ(Str("c"), "old");
}

TEST_F(RegexCommandsTest, BmatWithoutAMatchChangesNothing) {
  Run(R"(\bmat,"/z+/","abc",all,a)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Str("all"), "old");
  EXPECT_EQ(Str("a"), "old");
}

TEST_F(RegexCommandsTest, BmatMatchesWholeTwoByteCharactersIntoArrayElements) {
  DeclareGlobal("str", "parts[3]");
  Run(R"(\bmat,"/(表)(示)/","「表示」",parts[0],parts[1],parts[2])");
  EXPECT_EQ(Utf8("parts[0]"), "表示");
  EXPECT_EQ(Utf8("parts[1]"), "表");
  EXPECT_EQ(Utf8("parts[2]"), "示");
}

TEST_F(RegexCommandsTest, BsplTakesTheMatchCallToo) {
  Run(R"(\bspl,"/(\w+)@(\w+)/","mail me@home",all,a,b)");
  EXPECT_EQ(Str("all"), "me@home");
  EXPECT_EQ(Str("a"), "me");
  EXPECT_EQ(Str("b"), "home");
}

TEST_F(RegexCommandsTest, ThePatternIsTakenLiterallyNotEvaluated) {
  SetString("p", "s/a/b/");
  Run(R"(\bsub,p,"aaa")");
  EXPECT_EQ(ResultStr(), "aaa");
  Run(R"(\bsub,(s/a/b/g),"aaa")");
  EXPECT_EQ(ResultStr(), "bbb");
}

TEST_F(RegexCommandsTest, BsubSubstitutesIntoResultStr) {
  SetString("s", "banana");
  Run(R"(\bsub,"s/a/o/g",s)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(ResultStr(), "bonono");
  EXPECT_EQ(Str("s"), "banana");
}

TEST_F(RegexCommandsTest, BsubReplacesTwoByteCharactersWhoseTrailByteIsABackslash) {
  Run(R"(\bsub,"s/表/ソ/g","表示と表")");
  EXPECT_EQ(Utf8("ResultStr"), "ソ示とソ");
}

TEST_F(RegexCommandsTest, AFailingSubstitutionLeavesTheTextAndReportsNothing) {
  Run(R"(\bsub,"s/(/x/","a(b")");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(ResultStr(), "a(b");
}

TEST_F(RegexCommandsTest, BtraTransliteratesWithTheSubstitutionCall) {
  Run(R"(\btra,"tr/a-c/A-C/","abcd")");
  EXPECT_EQ(ResultStr(), "ABCd");
  Run(R"(\btra,"s/d/D/","abcd")");
  EXPECT_EQ(ResultStr(), "abcD");
}

}  // namespace
}  // namespace mavu::script::test
