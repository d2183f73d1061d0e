#include <gtest/gtest.h>

#include "support/script/general_command_test.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

// Two-byte characters whose trail byte is an ASCII sign: ソ 83 5C ("\"),
// 表 95 5C ("\"), ボ 83 7B ("{"), マ 83 7D ("}").
const std::string kSo = "\x83\x5C";
const std::string kHyo = "\x95\x5C";
const std::string kBo = "\x83\x7B";
const std::string kMa = "\x83\x7D";

class StringCommandsTest : public GeneralCommandTest {};

TEST_F(StringCommandsTest, TrimDropsBlanksAndControlCharactersAtBothEnds) {
  SetString("s", "\t\x01 a b\x1F\r\n");
  Run(R"(\trim,s)");
  EXPECT_EQ(ResultStr(), "a b");
  Run(R"(\trim,"  表 ")");
  EXPECT_EQ(ResultStr(), kHyo);
}

TEST_F(StringCommandsTest, TrimKeepsAFullWidthBlank) {
  SetString("s", " \x81\x40x\x81\x40 ");
  Run(R"(\trim,s)");
  EXPECT_EQ(ResultStr(), "\x81\x40x\x81\x40");
}

TEST_F(StringCommandsTest, CopyTakesBytesFromAOneBasedPosition) {
  Run(R"(\copy,"abcdef",2,3
\cal,t=t+ResultStr+"|"
\copy,"abcdef",0,2
\cal,t=t+ResultStr+"|"
\copy,"abcdef",5,10
\cal,t=t+ResultStr+"|"
\copy,"abcdef",7,1
\cal,t=t+ResultStr+"|"
\copy,"abcdef",2,-1
\cal,t=t+ResultStr+"|"
\copy,"abcdef",-5,2147483647
\cal,t=t+ResultStr)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Trace(), "bcd|ab|ef|||abcdef");
}

TEST_F(StringCommandsTest, CopyCountsTwoByteCharactersAsTwoBytes) {
  SetString("s", kSo + "a" + kHyo);
  Run(R"(\copy,s,3,3)");
  EXPECT_EQ(ResultStr(), "a" + kHyo);
  Run(R"(\copy,"表示",3,2)");
  EXPECT_EQ(Utf8("ResultStr"), "示");
}

TEST_F(StringCommandsTest, PosGivesTheOneBasedBytePositionOfTheFirstOccurrence) {
  Run(R"(\pos,"cd","abcdef"
\cal,t=t+ResultInt+"|"
\pos,"x","abcdef"
\cal,t=t+ResultInt+"|"
\pos,"","abcdef"
\cal,t=t+ResultInt+"|"
\pos,"a",""
\cal,t=t+ResultInt+"|"
\pos,"示","表示"
\cal,t=t+ResultInt)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Trace(), "3|0|0|0|3");
}

TEST_F(StringCommandsTest, PosNeverMatchesTheTrailByteOfATwoByteCharacter) {
  SetString("backslash", "\\");
  SetString("open", "{");
  SetString("close", "}");
  SetString("s", kSo + "\\");
  Run(R"(\pos,backslash,s)");
  EXPECT_EQ(ResultInt(), 3);
  SetString("s", kBo + "{");
  Run(R"(\pos,open,s)");
  EXPECT_EQ(ResultInt(), 3);
  SetString("s", kMa + kMa + "}");
  Run(R"(\pos,close,s)");
  EXPECT_EQ(ResultInt(), 5);
  SetString("s", kHyo + "x");
  Run(R"(\pos,backslash,s)");
  EXPECT_EQ(ResultInt(), 0);
}

TEST_F(StringCommandsTest, PosDoesNotMatchAcrossACharacterBoundary) {
  // 5C 95 is the trail byte of ソ followed by the lead byte of 表.
  SetString("part", "\x5C\x95");
  SetString("s", kSo + kHyo);
  Run(R"(\pos,part,s)");
  EXPECT_EQ(ResultInt(), 0);
}

TEST_F(StringCommandsTest, DivAssignsThePiecesAndEmptiesTheTargetsLeft) {
  DeclareGlobal("int", "n");
  DeclareGlobal("str", "a[4]");
  Run(R"~(\div,",","x,12,f(1,2)",a[0],n,a[2],a[3])~");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Str("a[0]"), "x");
  EXPECT_EQ(Int("n"), 12);
  EXPECT_EQ(Str("a[2]"), "f(1,2)");
  EXPECT_EQ(Str("a[3]"), "");
}

TEST_F(StringCommandsTest, DivKeepsQuotedSeparatorsAndSkipsEmptyTargetWords) {
  SetString("s", "a,\"b,c\",d");
  SetString("x", "old");
  SetString("y", "old");
  Run(R"(\div,",",s,x,,y)");
  EXPECT_EQ(Str("x"), "a");
  EXPECT_EQ(Str("y"), "d");
}

TEST_F(StringCommandsTest, DivSplitsOnlyAtSeparatorsThatAreWholeCharacters) {
  SetString("separator", "\\");
  SetString("s", kSo + "\\" + kHyo + "\\x");
  SetString("p1", "");
  SetString("p2", "");
  SetString("p3", "");
  Run(R"(\div,separator,s,p1,p2,p3)");
  EXPECT_EQ(Str("p1"), kSo);
  EXPECT_EQ(Str("p2"), kHyo);
  EXPECT_EQ(Str("p3"), "x");
}

TEST_F(StringCommandsTest, DivWithASeparatorOtherThanOneSingleByteCharacterLeavesTheTextWhole) {
  SetString("p1", "");
  SetString("p2", "old");
  Run(R"(\div,"表","a表b",p1,p2)");
  EXPECT_EQ(Utf8("p1"), "a表b");
  EXPECT_EQ(Str("p2"), "");
  Run(R"(\div,"ab","xaby",p1)");
  EXPECT_EQ(Str("p1"), "xaby");
  Run(R"(\div,"","x,y",p1)");
  EXPECT_EQ(Str("p1"), "x,y");
}

}  // namespace
}  // namespace mavu::script::test
