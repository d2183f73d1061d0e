#include "script/interpreter/control_flow.h"

#include <gtest/gtest.h>

#include "support/script/interpreter_fixture.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

class ControlFlowTest : public InterpreterTest {
 protected:
  ControlFlowTest() {
    DeclareGlobal("int", "i");
    DeclareGlobal("int", "n");
  }
  const RunStack& Stack() { return script_->Module().runStack; }
};

TEST_F(ControlFlowTest, IfRunsTheIfPartOnExactlyOneAndTheElsePartOnExactlyZero) {
  const std::string body = "\\cal,t=t+\"a\"\n\\else\n\\cal,t=t+\"b\"\n\\fi\n\\cal,t=t+\"e\"";
  Start("@@start\n\\if,1\n" + body);
  Frame();
  EXPECT_EQ(Trace(), "ae");
  Start("@@start\n\\cal,t=\"\"\n\\if,0\n" + body);
  Frame();
  EXPECT_EQ(Trace(), "be");
  Start("@@start\n\\cal,t=\"\"\n\\if,2\n" + body);
  Frame();
  EXPECT_EQ(Trace(), "e");
  EXPECT_TRUE(Stack().Empty());
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(ControlFlowTest, ThenGoesBackToTheBranchTheConditionChose) {
  const std::string body =
      "\\cal,t=t+\"a\"\n\\else\n\\cal,t=t+\"b\"\n\\then\n\\cal,t=t+\"c\"\n\\fi";
  Start("@@start\n\\if,1\n" + body);
  Frame();
  EXPECT_EQ(Trace(), "ac");
  Start("@@start\n\\cal,t=\"\"\n\\if,0\n" + body);
  Frame();
  EXPECT_EQ(Trace(), "b");
}

TEST_F(ControlFlowTest, BlocksPassedOverKeepTheirNesting) {
  Start(
      "@@start\n\\if,0\n\\if,1\n\\cal,t=t+\"a\"\n\\else\n\\cal,t=t+\"x\"\n\\fi\n"
      "\\for,i=0,i<3,i=i+1\n\\cal,t=t+\"f\"\n\\next\n\\case,1\n\\ans,1\n\\cal,t=t+\"y\"\n\\fi\n"
      "\\cal,t=t+\"b\"\n\\else\n\\cal,t=t+\"c\"\n\\fi\n\\cal,t=t+\"e\"");
  Frame();
  EXPECT_EQ(Trace(), "ce");
  EXPECT_EQ(Int("i"), 0);  // a for met while passing over evaluates nothing
  EXPECT_TRUE(Stack().Empty());
}

TEST_F(ControlFlowTest, AConditionThatIsNoIntegerIsReportedAndItsBlockPassedOver) {
  Start("@@start\n\\if,\"1\"\n\\cal,t=t+\"a\"\n\\else\n\\cal,t=t+\"b\"\n\\fi\n\\cal,t=t+\"e\"");
  Frame();
  EXPECT_EQ(Messages(), Strings{"if：評価式が間違っています：\"1\""});
  ClearError();
  Frame();
  EXPECT_EQ(Trace(), "e");
  EXPECT_TRUE(Stack().Empty());
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ControlFlowTest, ElseThenAndEndOutsideABlockAreReportedAndChangeNothing) {
  Start("@@start\n\\else\n\\then\n\\fi\n\\end\n\\next\n\\cal,t=t+\"e\"");
  for (int i = 0; i < 6; ++i) {
    Frame();
    ClearError();
  }
  EXPECT_EQ(Messages(), (Strings{"\\else：対となる\\if,\\caseがみつかりません",
                                 "\\else：\\if～\\fiの中でしか使用できません",
                                 "\\end : 対となる制御命令(\\if,\\for,\\swit)が見つかりません",
                                 "\\end : 対となる制御命令(\\if,\\for,\\swit)が見つかりません",
                                 "\\end : 対となる制御命令(\\if,\\for,\\swit)が見つかりません"}));
  EXPECT_EQ(Trace(), "e");
  EXPECT_TRUE(Stack().Empty());
}

TEST_F(ControlFlowTest, EndDoesNotCloseACallFrame) {
  Start(
      "@@start\n\\sub,@@f\n\\cal,t=t+\"r\"\n\\jmp,@@done\n@@f\n\\fi\n\\cal,t=t+\"f\"\n\\ret\n@@"
      "done");
  Frame();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Stack().Size(), 1u);
  ClearError();
  Frame();
  EXPECT_EQ(Trace(), "fr");
  EXPECT_TRUE(Stack().Empty());
}

TEST_F(ControlFlowTest, ForCountsWithInitialisationConditionAndStep) {
  Start("@@start\n\\for,i=0,i<3,i=i+1\n\\cal,t=t+i\n\\next\n\\cal,t=t+\"e\"");
  Frame();
  EXPECT_EQ(Trace(), "012e");
  EXPECT_EQ(Int("i"), 3);
  EXPECT_TRUE(Stack().Empty());
}

TEST_F(ControlFlowTest, AForClosedByFiStillIterates) {
  Start("@@start\n\\cal,i=0\n\\for,i<2\n\\cal,i=i+1,t=t+\"x\"\n\\fi\n\\cal,t=t+\"e\"");
  Frame();
  EXPECT_EQ(Trace(), "xxe");
}

TEST_F(ControlFlowTest, ALoopFalseAtTheStartIsPassedOverWithoutEvaluatingItsStep) {
  Start("@@start\n\\for,i=5,i<3,n=n+1\n\\cal,t=t+\"x\"\n\\next\n\\cal,t=t+\"e\"");
  Frame();
  EXPECT_EQ(Trace(), "e");
  EXPECT_EQ(Int("i"), 5);
  EXPECT_EQ(Int("n"), 0);
}

TEST_F(ControlFlowTest, BrkEndsTheInnermostLoopFromInsideAnIf) {
  Start(
      "@@start\n\\for,i=0,i<10,i=i+1\n\\if,i==2\n\\brk\n\\cal,t=t+\"!\"\n\\fi\n"
      "\\cal,t=t+i\n\\next\n\\cal,t=t+\"e\"");
  Frame();
  EXPECT_EQ(Trace(), "01e");
  EXPECT_TRUE(Stack().Empty());
}

TEST_F(ControlFlowTest, CntPassesOverTheRestOfTheBodyAndIterates) {
  Start(
      "@@start\n\\for,i=0,i<3,i=i+1\n\\if,i==1\n\\cnt\n\\fi\n\\cal,t=t+i\n\\next\n"
      "\\cal,t=t+\"e\"");
  Frame();
  EXPECT_EQ(Trace(), "02e");
  EXPECT_TRUE(Stack().Empty());
}

TEST_F(ControlFlowTest, BrkAndCntOutsideALoopAreReported) {
  Start("@@start\n\\brk\n\\cnt\n\\cal,t=t+\"e\"");
  Frame();
  ClearError();
  Frame();
  ClearError();
  Frame();
  EXPECT_EQ(Messages(), (Strings{"\\brkは\\for～\\nextの中でしか使用できません",
                                 "\\cntは\\for～\\nextの中でしか使用できません"}));
  EXPECT_EQ(Trace(), "e");
}

TEST_F(ControlFlowTest, BrkDoesNotReachALoopOutsideTheCurrentCall) {
  Start(
      "@@start\n\\for,i=0,i<1,i=i+1\n\\sub,@@f\n\\next\n\\cal,t=t+\"e\"\n\\jmp,@@done\n@@f\n"
      "\\brk\n\\ret\n@@done");
  Frame();
  EXPECT_EQ(Messages(), Strings{"\\brkは\\for～\\nextの中でしか使用できません"});
  ClearError();
  Frame();
  EXPECT_EQ(Trace(), "e");
}

TEST_F(ControlFlowTest, AForWithTooManyArgumentsIsReportedAndPassedOver) {
  Start("@@start\n\\for,1,2,3,4\n\\cal,t=t+\"x\"\n\\next\n\\cal,t=t+\"e\"");
  Frame();
  EXPECT_EQ(Messages(), Strings{"\\for：引数の設定に誤りがあります。"});
  ClearError();
  Frame();
  EXPECT_EQ(Trace(), "e");
  EXPECT_TRUE(Stack().Empty());
}

TEST_F(ControlFlowTest, ARunawayLoopSpendsTheFrameBudgetAndGoesOnNextFrame) {
  Start("@@start\n\\for\n\\cal,n=n+1\n\\next");
  Frame();
  // The for, then 127 pairs of cal and next, then one more cal.
  EXPECT_EQ(Int("n"), 128);
  Frame();
  EXPECT_EQ(Int("n"), 256);
}

TEST_F(ControlFlowTest, EveryMatchingAnsSectionRunsAndElseIsPassedOverAfterAMatch) {
  Start(
      "@@start\n\\case,3\n\\ans,1\n\\cal,t=t+\"a\"\n\\ans,3\n\\cal,t=t+\"b\"\n\\ans,2,3\n"
      "\\cal,t=t+\"c\"\n\\else\n\\cal,t=t+\"d\"\n\\fi\n\\cal,t=t+\"e\"");
  Frame();
  EXPECT_EQ(Trace(), "bce");
  EXPECT_TRUE(Stack().Empty());
}

TEST_F(ControlFlowTest, ElseInACaseIsTheDefaultSection) {
  Start("@@start\n\\case,5\n\\ans,1\n\\cal,t=t+\"a\"\n\\else\n\\cal,t=t+\"d\"\n\\fi");
  Frame();
  EXPECT_EQ(Trace(), "d");
}

TEST_F(ControlFlowTest, AStringCaseComparesStringsIgnoringCase) {
  Start(
      "@@start\n\\case,\"Abc\"\n\\ans,\"x\"\n\\cal,t=t+\"a\"\n\\ans,\"aBC\"\n\\cal,t=t+\"b\"\n"
      "\\fi");
  Frame();
  EXPECT_EQ(Trace(), "b");
  EXPECT_EQ(Stack().Size(), 0u);
}

TEST_F(ControlFlowTest, AnIntegerCaseComparesTheIntegerPartsOfTheAnswers) {
  Start("@@start\n\\case,10\n\\ans,\"$A\"\n\\cal,t=t+\"a\"\n\\fi");
  Frame();
  EXPECT_EQ(Trace(), "a");
}

TEST_F(ControlFlowTest, CaseNeedsExactlyOneArgumentAndAnsACase) {
  Start("@@start\n\\case,1,2\n\\ans,1\n\\case\n\\cal,t=t+\"e\"");
  for (int i = 0; i < 4; ++i) {
    Frame();
    ClearError();
  }
  EXPECT_EQ(Messages(), (Strings{"\\case：引数の設定に誤りがあります。",
                                 "\\ans：対応する\\caseが見つかりません",
                                 "\\case：引数の設定に誤りがあります。"}));
  EXPECT_TRUE(Stack().Empty());
  EXPECT_EQ(Trace(), "e");
}

TEST_F(ControlFlowTest, ALabelInsideABlockIsReportedAndTheBlockGoesOn) {
  Start(
      "@@start\n\\if,1\n\\cal,t=t+\"a\"\n@@inner\n\\cal,t=t+\"b\"\n\\fi\n@@after\n\\cal,t=t+\"c\"");
  Frame();
  EXPECT_EQ(Trace(), "a");
  EXPECT_EQ(Messages(), Strings{"\\if～\\fi/\\for～\\next間にラベルを設置しないでください"});
  ClearError();
  Frame();
  EXPECT_EQ(Trace(), "abc");
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ControlFlowTest, CommandsPassedOverAreNeverDispatched) {
  Start("@@start\n\\if,0\n\\nosuchcommand\n\\jmp,@@nowhere\n\\sub,@@nowhere\n\\ret\n\\fi");
  Frame();
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_TRUE(Stack().Empty());
}

}  // namespace
}  // namespace mavu::script::test
