#include "script/interpreter/jump_commands.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/script/interpreter_fixture.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

class JumpCommandsTest : public InterpreterTest {
 protected:
  JumpCommandsTest() {
    DeclareGlobal("int", "a");
    DeclareGlobal("int", "b");
    DeclareGlobal("int", "n");
    DeclareGlobal("str", "s");
  }
  RunStack& Stack() { return script_->Module().runStack; }
  int LocalCount() {
    int count = 0;
    for (const auto& slot : script_->Calculation().LocalTable().Slots()) count += !slot.IsFree();
    return count;
  }
};

TEST_F(JumpCommandsTest, JmpMovesToTheLabelIgnoringItsCase) {
  Start("@@start\n\\jmp,@@There\n\\cal,t=t+\"x\"\n@@THERE\n\\cal,t=t+\"y\"");
  Frame();
  EXPECT_EQ(Trace(), "y");
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(JumpCommandsTest, TheFirstGoOfARunGivesNoPositionWarning) {
  Start("@@start\n\\cal,t=t+\"x\"");
  Frame();
  EXPECT_EQ(Trace(), "x");
  EXPECT_EQ(services_.warnings, Strings{});
}

TEST_F(JumpCommandsTest, ALabelArgumentMayBeAnExpressionGivingALabel) {
  Start("@@start\n\\cal,s=\"@@there\"\n\\jmp,s\n\\cal,t=t+\"x\"\n@@there\n\\cal,t=t+\"y\"");
  Frame();
  EXPECT_EQ(Trace(), "y");
}

TEST_F(JumpCommandsTest, JmpIntoAnotherFileSetsSelfFileNameAndPath) {
  Mount({{"main.s", "@@start\n\\jmp,@@other,\"story\\part.s\"\n\\cal,t=t+\"x\""},
         {"story\\part.s", "@@other\n\\cal,t=t+\"y\""}});
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  EXPECT_EQ(Str("SelfFileName"), "main.s");
  EXPECT_EQ(Str("SelfFilePath"), "");
  Frame();
  EXPECT_EQ(Trace(), "y");
  EXPECT_EQ(Str("SelfFileName"), "story\\part.s");
  EXPECT_EQ(Str("SelfFilePath"), "story\\");
}

TEST_F(JumpCommandsTest, AJumpToAnUnknownLabelIsReportedAndTheScriptGoesOnAfterIt) {
  Start("@@start\n\\jmp,@@nowhere\n\\cal,t=t+\"a\"\n\\jmp,@@nowhere,\"other.s\"\n\\cal,t=t+\"b\"");
  Frame();
  EXPECT_EQ(Messages(), Strings{"\\jmp：ジャンプ先が見つかりません：@@nowhere:"});
  ClearError();
  Frame();
  EXPECT_EQ(Messages().back(), "\\jmp：ジャンプ先が見つかりません：@@nowhere:\"other.s\"");
  ClearError();
  Frame();
  EXPECT_EQ(Trace(), "ab");
}

TEST_F(JumpCommandsTest, AFailedJumpIntoAnotherFileLeavesTheReaderWhereItWas) {
  Mount({{"main.s", "@@start\n\\jmp,@@missing,\"other.s\"\n\\cal,t=t+\"a\""},
         {"other.s", "\\cal,t=t+\"o\"\n@@other\n\\cal,t=t+\"p\""}});
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  Frame();
  EXPECT_EQ(Messages(), Strings{"\\jmp：ジャンプ先が見つかりません：@@missing:\"other.s\""});
  EXPECT_EQ(script_->Reader().CurrentFileName(), "main.s");
  ClearError();
  Frame();
  EXPECT_EQ(Trace(), "a");
}

TEST_F(JumpCommandsTest, JmpFromNestedBlocksInASubroutineKeepsOnlyTheCallFrame) {
  Start(
      "@@start\n\\sub,@@f\n\\cal,t=t+\"r\"\n\\jmp,@@done\n"
      "@@f\n\\if,1\n\\for,n=0,n<5,n=n+1\n\\if,n==1\n\\jmp,@@out\n\\fi\n\\next\n\\fi\n"
      "@@out\n\\cal,t=t+\"o\"\n\\ret\n@@done");
  Frame();
  EXPECT_EQ(Trace(), "or");
  EXPECT_TRUE(Stack().Empty());
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(JumpCommandsTest, GoEmptiesTheRunStackAndDeletesEveryLocal) {
  Start("@@start\n\\sub,@@f\n@@f\n\\if,1\n\\go,@@fresh\n@@fresh\n\\cal,t=t+\"g\"");
  script_->Module().commandsPerFrame = 2;
  Frame();
  EXPECT_EQ(script_->CallDepth(), 1);
  EXPECT_EQ(Stack().Size(), 2u);
  EXPECT_EQ(LocalCount(), 3);
  Frame();
  EXPECT_EQ(Trace(), "g");
  EXPECT_TRUE(Stack().Empty());
  EXPECT_EQ(script_->CallDepth(), 0);
  EXPECT_EQ(LocalCount(), 0);
}

TEST_F(JumpCommandsTest, GoTakesAnAtWordAsWrittenAndEvaluatesAnyOther) {
  Start(
      "@@start\n\\cal,s=\"@@b\"\n\\go,s\n@@a\n\\cal,t=t+\"a\"\n@@b\n\\cal,t=t+\"b\"\n\\go,@"
      "nolabel");
  Frame();
  EXPECT_EQ(Trace(), "b");
  EXPECT_EQ(Messages(), Strings{"\\go：ジャンプ先が見つかりません：@nolabel:"});
}

TEST_F(JumpCommandsTest, SubPassesParametersEvaluatedInTheCallersScope) {
  Start(
      "@@start\n\\cal,a=7\n\\sub,@@f,self,a*2,\"abc\",a+1\n\\jmp,@@done\n"
      "@@f\n\\cal,n=ParamCount,b=ParamInt[0]+ParamInt[2],s=ParamStr[1]+ParamStr[0]\n\\ret\n@@done");
  Frame();
  EXPECT_EQ(Int("n"), 3);
  EXPECT_EQ(Int("b"), 22);
  EXPECT_EQ(Str("s"), "abc14");
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(JumpCommandsTest, AnEmptyParameterInTheMiddleStillCounts) {
  Start(
      "@@start\n\\sub,@@f,,1,,3\n\\jmp,@@done\n"
      "@@f\n\\cal,n=ParamCount,a=ParamInt[1],s=ParamStr[1]+\"|\"+ParamStr[2]\n\\ret\n@@done");
  Frame();
  EXPECT_EQ(Int("n"), 3);
  EXPECT_EQ(Int("a"), 0);
  EXPECT_EQ(Str("s"), "|3");
}

TEST_F(JumpCommandsTest, AParameterThatDoesNotEvaluatePassesItsTextQuietly) {
  Start(
      "@@start\n\\sub,@@f,,undeclared,$1F x\n\\jmp,@@done\n"
      "@@f\n\\cal,s=ParamStr[0]+\"|\"+ParamStr[1],a=ParamInt[0],b=ParamInt[1]\n\\ret\n@@done");
  Frame();
  EXPECT_EQ(Str("s"), "undeclared|$1F x");
  EXPECT_EQ(Int("a"), 0);
  EXPECT_EQ(Int("b"), 0);
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_TRUE(script_->Calculation().Reporting());
}

TEST_F(JumpCommandsTest, RetReturnsAfterTheSubAndDeletesTheLocals) {
  Start(
      "@@start\n\\sub,@@f,,1\n\\cal,t=t+\"r\"\n\\jmp,@@done\n@@f\n\\cal,t=t+\"f\"\n\\ret\n@@done");
  Frame();
  EXPECT_EQ(Trace(), "fr");
  EXPECT_EQ(LocalCount(), 0);
  EXPECT_EQ(script_->Calculation().Visibility("ParamCount", 1), VariableScope::kNone);
  EXPECT_EQ(Str("SelfFileName"), "main.s");
}

TEST_F(JumpCommandsTest, RetWithALabelReturnsToTheFrameCalledFromThatLabel) {
  Start(
      "@@start\n\\sub,@@a\n\\cal,t=t+\"r\"\n\\jmp,@@done\n"
      "@@a\n\\sub,@@b\n\\cal,t=t+\"x\"\n\\ret\n@@b\n\\cal,t=t+\"b\"\n\\ret,@@start\n@@done");
  Frame();
  EXPECT_EQ(Trace(), "br");
  EXPECT_TRUE(Stack().Empty());
  EXPECT_EQ(LocalCount(), 0);
}

TEST_F(JumpCommandsTest, SubToAnUnknownLabelLeavesNoFrame) {
  Start("@@start\n\\sub,@@nowhere,self,1\n\\cal,t=t+\"a\"");
  Frame();
  EXPECT_EQ(Messages(), Strings{"\\sub：不明なファイル名かラベル：@@nowhere:self"});
  EXPECT_TRUE(Stack().Empty());
  EXPECT_EQ(LocalCount(), 0);
  ClearError();
  Frame();
  EXPECT_EQ(Trace(), "a");
}

TEST_F(JumpCommandsTest, RetWithoutSubIsReported) {
  Start("@@start\n\\ret\n\\sub,@@f\n@@f\n\\ret,@@elsewhere");
  Frame();
  ClearError();
  Frame();
  EXPECT_EQ(Messages(), (Strings{"\\ret : 対となる\\subが見つかりません : ",
                                 "\\ret : 対となる\\subが見つかりません : @@elsewhere"}));
  EXPECT_EQ(Stack().Size(), 1u);
}

TEST_F(JumpCommandsTest, SubroutinesInAnotherFileReturnToTheCaller) {
  Mount({{"main.s", "@@start\n\\sub,@@lib,\"lib.s\",5\n\\cal,t=t+\"r\"+SelfFileName"},
         {"lib.s", "@@lib\n\\cal,t=t+SelfFileName+ParamInt[0]\n\\ret"}});
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  Frame();
  EXPECT_EQ(Trace(), "lib.s5rmain.s");
}

TEST_F(JumpCommandsTest, TenThousandNestedCallsReturnInOrder) {
  Start(
      "@@start\n\\sub,@@rec\n\\cal,t=t+\"done\"\n\\jmp,@@end\n"
      "@@rec\n\\if,n<10000\n\\cal,n=n+1\n\\sub,@@rec\n\\fi\n\\cal,a=a+1\n\\ret\n@@end");
  script_->Module().commandsPerFrame = 1'000'000;
  Frame();
  EXPECT_EQ(Trace(), "done");
  EXPECT_EQ(Int("n"), 10000);
  EXPECT_EQ(Int("a"), 10001);
  EXPECT_TRUE(Stack().Empty());
  EXPECT_EQ(LocalCount(), 0);
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(JumpCommandsTest, CallsDeeperThanTheLocalKeysAllowAreRefused) {
  Start("@@start\n\\sub,@@f\n@@f");
  for (int i = 0; i < TValue::kMaxKey; ++i) {
    TScriptRunStack frame;
    frame.kind = RunKind::kCall;
    Stack().Push(frame);
  }
  Frame();
  EXPECT_EQ(Messages(), Strings{"\\sub：呼び出しが深すぎます：@@f"});
  EXPECT_EQ(script_->CallDepth(), TValue::kMaxKey);
}

TEST_F(JumpCommandsTest, ALabelLineRefreshesSelfFileName) {
  Mount({{"main.s", "@@start\n\\jmp,@@x,\"dir\\b.s\""},
         {"dir\\b.s", "@@x\n@@y\n\\cal,t=t+SelfFilePath"}});
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  script_->Module().commandsPerFrame = 1;
  Frame();
  script_->SetResultString("SelfFilePath", "stale");
  Frame();
  Frame();
  EXPECT_EQ(Trace(), "dir\\");
}

TEST_F(JumpCommandsTest, AMissingFileIsReportedWithTheFileWord) {
  Start("@@start\n\\sub,@@x,\"gone.s\"\n\\go,@@x,\"gone.s\"\n\\cal,t=t+\"a\"");
  Frame();
  ClearError();
  Frame();
  ClearError();
  Frame();
  EXPECT_EQ(Messages(), (Strings{"\\sub：不明なファイル名かラベル：@@x:\"gone.s\"",
                                 "\\go：ジャンプ先が見つかりません：@@x:\"gone.s\""}));
  EXPECT_EQ(Trace(), "a");
}

}  // namespace
}  // namespace mavu::script::test
