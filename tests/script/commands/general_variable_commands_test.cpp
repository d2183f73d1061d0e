#include <gtest/gtest.h>

#include "support/script/general_command_test.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

class VariableCommandsTest : public GeneralCommandTest {
 protected:
  VariableScope Scope(std::string_view name) {
    return script_->Calculation().Visibility(name, script_->CallDepth());
  }
};

TEST_F(VariableCommandsTest, VarDeclaresLocalsOfTheCurrentCallAndTheReturnFreesThem) {
  Run(R"(\sub,@@declare
\cal,t=t+"|back"
\jmp,@@end
@@declare
\var,int,count,flags[8]
\cal,count=3,flags[7]=5
\vexs,count
\cal,t=t+ResultInt+flags[7]+count
\ret
@@end)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Trace(), "353|back");
  EXPECT_EQ(Scope("count"), VariableScope::kNone);
  EXPECT_EQ(Scope("flags"), VariableScope::kNone);
}

TEST_F(VariableCommandsTest, GvarAndSvarDeclareGlobalAndSystemVariables) {
  Run(R"(\gvar,int,g
\svar,str,sv,sw[2]
\vexs,g
\cal,t=t+ResultInt
\vexs,sv
\cal,t=t+ResultInt
\vexs,sw[1]
\cal,t=t+ResultInt
\vexs,nosuch
\cal,t=t+ResultInt)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Trace(), "2110");
  EXPECT_NE(script_->Calculation().SystemTable().Find("sw", 0), TValue::kNotFound);
  EXPECT_NE(script_->Calculation().GlobalTable().Find("g", 0), TValue::kNotFound);
}

TEST_F(VariableCommandsTest, SizesAreExpressionsAndGiveRowMajorArrays) {
  Run(R"(\gvar,int,n
\cal,n=3
\gvar,int,grid[n,4]
\cal,grid[1,2]=7,grid[2,3]=9
\cal,t=t+grid[0,6]+grid[0,11])");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Trace(), "79");
  EXPECT_EQ(Int("grid[1,2]"), 7);
}

TEST_F(VariableCommandsTest, AnArrayDeclaredByVarIsDeletedWholeByDel) {
  Run(R"(\gvar,str,names[3],other
\cal,names[2]="c"
\del,names
\vexs,names
\cal,t=t+ResultInt
\vexs,other
\cal,t=t+ResultInt)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Trace(), "02");
}

TEST_F(VariableCommandsTest, DelInASubroutineDeletesALocalArray) {
  Run(R"(\sub,@@s
\jmp,@@end
@@s
\var,int,loc[3]
\cal,loc[2]=4
\vexs,loc
\cal,t=t+ResultInt+loc[2]
\del,loc
\vexs,loc
\cal,t=t+ResultInt
\ret
@@end)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Trace(), "340");
}

TEST_F(VariableCommandsTest, ObjectVariablesCreateTheirObjectsAndDelFreesThem) {
  Run(R"(\gvar,img,bg[2]
\gvar,MSG,win)");
  EXPECT_EQ(Messages(), Strings{});
  ASSERT_NE(objects_->FindObject("bg,0"), nullptr);
  ASSERT_NE(objects_->FindObject("bg,1"), nullptr);
  EXPECT_EQ(objects_->FindObject("bg,1")->Kind(), FakeObjectRegistry::KindOf("img"));
  EXPECT_EQ(objects_->FindObject("win,0")->Kind(), FakeObjectRegistry::KindOf("msg"));
  EXPECT_EQ(Str("bg[1]"), "bg,1");
  script_->ExecuteCommand("\\del,bg,win");
  EXPECT_EQ(objects_->FindObject("bg,0"), nullptr);
  EXPECT_EQ(objects_->FindObject("bg,1"), nullptr);
  EXPECT_EQ(objects_->FindObject("win,0"), nullptr);
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(VariableCommandsTest, EveryScriptObjectKindCanBeDeclaredButNotAssigned) {
  Run(R"(\gvar,btn,b
\gvar,simg,si
\gvar,sbtn,sb
\gvar,file,f
\cal,b="x")");
  for (const char* name : {"b,0", "si,0", "sb,0", "f,0"}) {
    EXPECT_NE(objects_->FindObject(name), nullptr) << name;
  }
  EXPECT_EQ(Messages().front(), "この変数には書き込めません:b");
  EXPECT_EQ(Str("b"), "b,0");
}

TEST_F(VariableCommandsTest, ALocalObjectVariableLosesItsObjectWhenTheCallReturns) {
  Run(R"(\sub,@@s
\jmp,@@end
@@s
\var,msg,box
\cal,t=t+box
\ret
@@end)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Trace(), "box,0");
  EXPECT_EQ(objects_->FindObject("box,0"), nullptr);
}

TEST_F(VariableCommandsTest, ObjectVariablesCannotBeSystemVariables) {
  Run(R"(\svar,img,bg)");
  EXPECT_EQ(LastMessageBytes(), Sjis("指定されたオブジェクトは生成出来ません：") + "img");
  EXPECT_EQ(Scope("bg"), VariableScope::kNone);
  EXPECT_EQ(objects_->FindObject("bg,0"), nullptr);
}

TEST_F(VariableCommandsTest, AnUnknownTypeOrNoNameDeclaresNothing) {
  Run(R"(\var,float,x
\gvar,int
\gvar,snd,s
\cal,t="after")");
  EXPECT_EQ(Messages(), Strings{"指定されたオブジェクトは生成出来ません：float"});
  ClearError();
  Frame();
  EXPECT_EQ(Messages().back(), "指定されたオブジェクトは生成出来ません：int");
  ClearError();
  Frame();
  EXPECT_EQ(Messages().back(), "指定されたオブジェクトは生成出来ません：snd");
  ClearError();
  Frame();
  EXPECT_EQ(Messages().size(), 3u);
  EXPECT_EQ(Trace(), "after");
  EXPECT_EQ(Scope("x"), VariableScope::kNone);
  EXPECT_EQ(Scope("s"), VariableScope::kNone);
}

TEST_F(VariableCommandsTest, TypeWordsIgnoreLetterCaseAndBlanks) {
  Run(R"(\gvar, STR ,s
\cal,s="ab"+1)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Str("s"), "ab1");
}

TEST_F(VariableCommandsTest, ANameVisibleAlreadyIsReported) {
  Run(R"(\gvar,int,a
\sub,@@s
@@s
\var,str,a)");
  EXPECT_EQ(LastMessageBytes(), Sjis("既に変数が登録されています：") + "a");
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(script_->Calculation().LocalTable().Find("a", 1), TValue::kNotFound);
}

TEST_F(VariableCommandsTest, EachDeletionThatFailsIsReported) {
  Run(R"(\gvar,int,a
\del,nosuch,a)");
  EXPECT_EQ(LastMessageBytes(), Sjis("変数の削除に失敗しまた：") + "nosuch");
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Scope("a"), VariableScope::kNone);
}

TEST_F(VariableCommandsTest, ASystemVariableCannotBeDeleted) {
  Run(R"(\del,ResultInt)");
  EXPECT_EQ(Messages(),
            (Strings{"この変数は削除出来ません:ResultInt", "変数の削除に失敗しまた：ResultInt"}));
  EXPECT_EQ(Scope("ResultInt"), VariableScope::kGlobal);
}

TEST_F(VariableCommandsTest, CalEvaluatesEveryExpressionAndReportsEachThatFails) {
  DeclareGlobal("int", "a");
  DeclareGlobal("int", "b");
  Run(R"(\cal,a=1,,nosuch+1,b=a+1)");
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(LastMessageBytes(), Sjis("計算に失敗しました：") + "nosuch+1");
  EXPECT_EQ(Int("a"), 1);
  EXPECT_EQ(Int("b"), 2);
}

TEST_F(VariableCommandsTest, CalWithAValidExpressionReportsNothing) {
  DeclareGlobal("int", "a");
  Run(R"(\cal,a=2*3,a=a+1)");
  EXPECT_EQ(Messages(), Strings{});
  EXPECT_EQ(Int("a"), 7);
}

TEST_F(VariableCommandsTest, FstrGivesTheTextOrTheDefaultWithoutReports) {
  DeclareGlobal("int", "n");
  Run(R"(\cal,n=21
\fstr,n*2,"d"
\cal,t=t+ResultStr+"|"
\fstr,"abc","d"
\cal,t=t+ResultStr+"|"
\fstr,nosuch,"fallback"
\cal,t=t+ResultStr+"|"
\fstr,,"empty"
\cal,t=t+ResultStr+"|"
\fstr,"","d"
\cal,t=t+ResultStr+"|"
\cal,nosuch)");
  EXPECT_EQ(Trace(), "42|abc|fallback|empty||");
  // Reporting is back on after the quiet evaluation.
  EXPECT_EQ(Messages().back(), "計算に失敗しました：nosuch");
}

TEST_F(VariableCommandsTest, FintTakesNumbersAndTheDefaultForAnythingElse) {
  DeclareGlobal("int", "n");
  Run(R"(\cal,n=21
\fint,n+1,0
\cal,t=t+ResultInt+"|"
\fint,"$1F",7
\cal,t=t+ResultInt+"|"
\fint,"12abc",7
\cal,t=t+ResultInt+"|"
\fint,nosuch,-1
\cal,t=t+ResultInt+"|"
\fint,,9
\cal,t=t+ResultInt+"|"
\fint,"99999999999",5
\cal,t=t+ResultInt+"|"
\fint,"-12",5
\cal,t=t+ResultInt)");
  EXPECT_EQ(Messages(), Strings{});
  // A number beyond 32 bits is a number all the same, and reads as 0.
  EXPECT_EQ(Trace(), "22|31|7|-1|9|0|-12");
}

TEST_F(VariableCommandsTest, TheDefaultIsEvaluatedOnlyWhenItIsNeeded) {
  DeclareGlobal("int", "n");
  Run(R"(\fint,1,n=100
\fstr,"x",n=200)");
  EXPECT_EQ(Int("n"), 0);
  EXPECT_EQ(ResultInt(), 1);
  EXPECT_EQ(ResultStr(), "x");
}

}  // namespace
}  // namespace mavu::script::test
