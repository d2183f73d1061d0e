#include "script/values/kel_calculation.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "support/script/fake_script_host.h"
#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::FakeErrorSink;
using test::FakeObjectHost;
using test::Sjis;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

class CalculationTest : public ::testing::Test {
 protected:
  CalculationTest() {
    calc.SetErrorSink(&sink);
    calc.SetObjectHost(&host);
  }

  TReturnValue Eval(std::string_view text, int32_t depth = 0) { return calc.Evaluate(text, depth); }

  // The integer value of an expression that must succeed with an integer.
  int32_t Int(std::string_view text, int32_t depth = 0) {
    TReturnValue value = Eval(text, depth);
    EXPECT_EQ(value.kind, ValueKind::kInteger) << text;
    EXPECT_EQ(value.Text(), std::to_string(value.integer)) << text;
    return value.integer;
  }

  void Global(std::string_view type, std::string_view reference) {
    ASSERT_TRUE(calc.DeclareVariable(VariableScope::kGlobal, type, reference, 0)) << reference;
  }

  void GlobalInt(std::string_view name, int32_t value) {
    Global("int", name);
    ASSERT_TRUE(calc.AssignInteger(name, 0, value));
  }

  std::vector<std::string> Messages() {
    std::vector<std::string> messages = std::move(sink.messages);
    sink.messages.clear();
    return messages;
  }

  static std::string CalcError() { return Sjis("計算中エラーが発生しました"); }
  static std::string Undefined(std::string_view token) {
    return Sjis("未定義の変数：") + std::string(token);
  }

  FakeErrorSink sink;
  FakeObjectHost host;
  TKelCalculation calc;
};

TEST_F(CalculationTest, PrecedenceAndAssociativity) {
  EXPECT_EQ(Int("1+2*3"), 7);
  EXPECT_EQ(Int("(1+2)*3"), 9);
  EXPECT_EQ(Int("10-4-3"), 3);
  EXPECT_EQ(Int("100/10/5"), 2);
  EXPECT_EQ(Int("4&1==0"), 1);
  EXPECT_EQ(Int("1|2==3"), 1);
  EXPECT_EQ(Int("2<<1+1"), 8);
  EXPECT_EQ(Int("5>3>1"), 0);
  EXPECT_EQ(Int("1==1&&2==2"), 1);
  EXPECT_EQ(Int("1+1&&1"), 0);
  EXPECT_EQ(Int("7%4*2"), 6);
  EXPECT_EQ(Int(" 1 + 2 * 3 "), 7);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, SignsBeforeOperands) {
  EXPECT_EQ(Int("-3*-2"), 6);
  EXPECT_EQ(Int("2*-3"), -6);
  EXPECT_EQ(Int("+5"), 5);
  EXPECT_EQ(Int("--5"), 5);
  EXPECT_EQ(Int("++5"), 5);
  EXPECT_EQ(Int("- 5"), -5);
  EXPECT_EQ(Int("3 - - 2"), 5);
  EXPECT_EQ(Int("-(2+3)"), -5);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, IncrementAfterAnOperandAssignsAtOnce) {
  GlobalInt("x", 5);
  EXPECT_EQ(Int("x++"), 6);
  EXPECT_EQ(Int("x"), 6);
  EXPECT_EQ(Int("++x"), 6);
  EXPECT_EQ(Int("x--"), 5);
  EXPECT_EQ(Int("--x"), 5);
  EXPECT_EQ(Int("x"), 5);
  // Both increments happen while tokenising, before x is read twice.
  EXPECT_EQ(Int("x++ + x++"), 14);
  EXPECT_EQ(Int("(x++)*2"), 16);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, IncrementOfALiteralReportsButKeepsTheOperand) {
  EXPECT_EQ(Int("5++"), 5);
  EXPECT_EQ(Messages(), std::vector<std::string>{CalcError()});
}

TEST_F(CalculationTest, AssignmentWritesAndGivesOne) {
  GlobalInt("a", 7);
  GlobalInt("b", 9);
  EXPECT_EQ(Int("a=b*2"), 1);
  EXPECT_EQ(Int("a"), 18);
  EXPECT_EQ(Int("(a)=4"), 1);
  EXPECT_EQ(Int("a"), 4);
  EXPECT_EQ(Int("a = a + 1 == 5"), 1);  // assignment binds last
  EXPECT_EQ(Int("a"), 1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, ChainedAssignmentFailsAfterTheFirst) {
  GlobalInt("a", 7);
  GlobalInt("b", 9);
  EXPECT_TRUE(Eval("a=b=3").IsNone());
  EXPECT_EQ(Messages(), std::vector<std::string>{CalcError()});
  EXPECT_EQ(Int("a"), 9);
  EXPECT_EQ(Int("b"), 9);
}

TEST_F(CalculationTest, OnlyVariablesCanBeAssigned) {
  for (const char* text : {"5=1", "\"s\"=1", "$10=1", "1+1=2"}) {
    EXPECT_TRUE(Eval(text).IsNone()) << text;
    EXPECT_EQ(Messages(), std::vector<std::string>{CalcError()}) << text;
  }
  EXPECT_TRUE(Eval("nosuch=1").IsNone());
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{Sjis("変数が宣言されていません:") + "nosuch", CalcError()}));
}

TEST_F(CalculationTest, StringsConcatenateAndCompareIgnoringCase) {
  TReturnValue joined = Eval("\"12\"+3");
  EXPECT_EQ(joined.kind, ValueKind::kString);
  EXPECT_EQ(joined.Text(), "123");
  EXPECT_EQ(Int("3+\"12\""), 15);
  EXPECT_EQ(Int("\"abc\"==\"ABC\""), 1);
  EXPECT_EQ(Int("\"abc\"!=\"abd\""), 1);
  EXPECT_EQ(Eval("\"a b\" + \"c\"").Text(), "a bc");
  EXPECT_EQ(Eval("\"x\"&\"y\"").Text(), "xy");
  EXPECT_EQ(Eval("\"\"").kind, ValueKind::kString);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, DivisionByZeroGivesZeroWithoutAnError) {
  EXPECT_EQ(Int("7/0"), 0);
  EXPECT_EQ(Int("7%0"), 0);
  EXPECT_EQ(Int("-7/2"), -3);
  EXPECT_EQ(Int("-7%2"), -1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, IntegerEdgesWrap) {
  EXPECT_EQ(Int("-2147483647-1"), kMin);
  EXPECT_EQ(Int("2147483647+1"), kMin);
  EXPECT_EQ(Int("(-2147483647-1)/-1"), kMin);
  EXPECT_EQ(Int("(-2147483647-1)%-1"), 0);
  EXPECT_EQ(Int("(-2147483647-1)*-1"), kMin);
  EXPECT_EQ(Int("(-2147483647-1)>>31"), 1);
  EXPECT_EQ(Int("(-2147483647-1)<2147483647"), 1);
  EXPECT_EQ(Int("2147483647"), kMax);
  // 2147483648 does not fit in 32 bits before it is negated.
  EXPECT_EQ(Int("-2147483648"), 0);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, NumbersOutsideThe32BitRangeAreZero) {
  EXPECT_EQ(Int("4294967296"), 0);
  EXPECT_EQ(Int("4294967296+1"), 1);
  EXPECT_EQ(Int("9223372036854775807"), 0);
  EXPECT_EQ(Int("$FFFFFFFF"), 0);
  EXPECT_EQ(Int("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_TRUE(Messages().empty());
  // Beyond 64 bits it is no number at all but a name.
  EXPECT_TRUE(Eval("9223372036854775808").IsNone());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Undefined("9223372036854775808"), CalcError()}));
}

TEST_F(CalculationTest, DollarHexadecimal) {
  EXPECT_EQ(Int("$1F"), 31);
  EXPECT_EQ(Int("$ff+1"), 256);
  EXPECT_EQ(Int("$7FFFFFFF"), kMax);
  TReturnValue text = Eval("\"$1F\"+0");  // a string on the left keeps its kind
  EXPECT_EQ(text.kind, ValueKind::kString);
  EXPECT_EQ(text.Text(), "$1F0");
  EXPECT_EQ(text.integer, 31);
  EXPECT_EQ(Int("0+\"$1F\""), 31);
}

TEST_F(CalculationTest, LogicalOperatorsNeedIntegers) {
  EXPECT_TRUE(Eval("\"1\"&&1").IsNone());
  EXPECT_EQ(Messages(), std::vector<std::string>{CalcError()});
  EXPECT_TRUE(Eval("1||\"1\"").IsNone());
  EXPECT_EQ(Messages(), std::vector<std::string>{CalcError()});
  EXPECT_EQ(Int("1&&1"), 1);
  EXPECT_EQ(Int("0||2"), 0);
}

TEST_F(CalculationTest, BothSidesOfLogicalOperatorsAreEvaluated) {
  GlobalInt("x", 0);
  EXPECT_EQ(Int("0&&(x++)"), 0);
  EXPECT_EQ(Int("x"), 1);
}

TEST_F(CalculationTest, UndefinedVariablesAreReportedWithTheToken) {
  EXPECT_TRUE(Eval("y+1").IsNone());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Undefined("y"), CalcError()}));
  // The right operand is resolved before the left.
  EXPECT_TRUE(Eval("p+q[2]").IsNone());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Undefined("q[2]"), Undefined("p"), CalcError()}));
}

TEST_F(CalculationTest, ALoneExclamationMarkIsNoOperator) {
  EXPECT_TRUE(Eval("!x").IsNone());
  EXPECT_EQ(Messages(), std::vector<std::string>{CalcError()});
  EXPECT_TRUE(Eval("1+!").IsNone());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Undefined("!"), CalcError()}));
}

TEST_F(CalculationTest, MalformedExpressionsFail) {
  for (const char* text : {"1+", "*2", "1 2 +", "()", ";", " "}) {
    EXPECT_TRUE(Eval(text).IsNone()) << text;
    EXPECT_EQ(Messages(), std::vector<std::string>{CalcError()}) << text;
  }
}

TEST_F(CalculationTest, UnclosedBracketsAreReportedOnce) {
  for (const char* text : {"(1+2", "\"abc", "a[1"}) {
    EXPECT_TRUE(Eval(text).IsNone()) << text;
    EXPECT_EQ(Messages(), std::vector<std::string>{Sjis("カッコが正しく閉じられていません")});
  }
}

TEST_F(CalculationTest, AnEmptyTextIsNoneWithoutAReport) {
  EXPECT_TRUE(Eval("").IsNone());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, ArrayElementsByIndexExpressions) {
  Global("int", "a[3,4]");
  GlobalInt("i", 1);
  EXPECT_EQ(Int("a[i, i*2] = 5"), 1);
  EXPECT_EQ(Int("a[0,6]"), 5);
  EXPECT_EQ(Int("a[\"1\", \"2\"]"), 5);
  EXPECT_EQ(Int("a[ 1 , 2 ]+1"), 6);
  EXPECT_EQ(Int("a[(i), (i)+1]"), 5);
  EXPECT_EQ(Int("a[1,a[1,2]-3]"), 5);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, ReadingOutsideAnArrayReportsBothMessages) {
  Global("int", "arr[3]");
  EXPECT_TRUE(Eval("arr[3]").IsNone());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Sjis("範囲外の配列にアクセスしました") + "arr",
                                                  Undefined("arr[3]"), CalcError()}));
  EXPECT_TRUE(Eval("arr[3]=1").IsNone());
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{Sjis("変数の書き込みに失敗しました:") + "arr", CalcError()}));
}

TEST_F(CalculationTest, AFailedIndexFailsTheAccess) {
  Global("int", "arr[3]");
  EXPECT_TRUE(Eval("arr[nothing]").IsNone());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Undefined("nothing"), CalcError(),
                                                  Undefined("arr[nothing]"), CalcError()}));
}

TEST_F(CalculationTest, ReportsNothingWhileReportingIsOff) {
  Global("int", "arr[3]");
  calc.SetReporting(false);
  EXPECT_FALSE(calc.Reporting());
  EXPECT_FALSE(calc.GlobalTable().Reporting());
  EXPECT_FALSE(calc.LocalTable().Reporting());
  EXPECT_FALSE(calc.SystemTable().Reporting());
  EXPECT_TRUE(Eval("y+1").IsNone());
  EXPECT_TRUE(Eval("arr[9]").IsNone());
  EXPECT_TRUE(Eval("(1").IsNone());
  EXPECT_FALSE(calc.DeclareVariable(VariableScope::kGlobal, "int", "arr", 0));
  EXPECT_TRUE(Messages().empty());
  calc.SetReporting(true);
  EXPECT_TRUE(Eval("y").IsNone());
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(CalculationTest, LongExpressionsBeyondThirtyThreeTokensEvaluate) {
  std::string sum = "0";
  for (int i = 1; i <= 100; ++i) sum += "+" + std::to_string(i);
  EXPECT_EQ(Int(sum), 5050);
  GlobalInt("v", 3);
  std::string product = "v";
  for (int i = 0; i < 40; ++i) product += (i % 2 == 0) ? "*v" : "/v";
  EXPECT_EQ(Int(product), 3);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, MoreThanSixtyFourValuesWaitOnTheStack) {
  // Each level leaves four values waiting for its bracketed right operand:
  // level = 3 ^ (1 << ((1 + 2 * inner) AND 31)).
  constexpr int kLevels = 20;
  std::string text = "7";
  uint32_t expected = 7;
  for (int i = 0; i < kLevels; ++i) {
    text = "3^1<<1+2*(" + text + ")";
    expected = 3u ^ (1u << ((1u + 2u * expected) & 31u));
  }
  EXPECT_EQ(Int(text), static_cast<int32_t>(expected));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CalculationTest, VariablesAreLookedUpEachTimeACachedExpressionRuns) {
  EXPECT_TRUE(Eval("late*2").IsNone());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Undefined("late"), CalcError()}));
  EXPECT_TRUE(Eval("late*2").IsNone());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Undefined("late"), CalcError()}));
  GlobalInt("late", 21);
  EXPECT_EQ(Int("late*2"), 42);
  ASSERT_TRUE(calc.AssignInteger("late", 0, 5));
  EXPECT_EQ(Int("late*2"), 10);
  GlobalInt("n", 0);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(Int("n++"), i);
}

TEST_F(CalculationTest, ACachedExpressionSeesVariablesComeAndGo) {
  ASSERT_TRUE(calc.DeclareVariable(VariableScope::kLocal, "int", "v", 1));
  ASSERT_TRUE(calc.AssignInteger("v", 1, 2));
  EXPECT_EQ(Int("v*10", 1), 20);
  GlobalInt("v", 1);
  EXPECT_EQ(Int("v*10", 0), 10);
  EXPECT_EQ(Int("v*10", 1), 20);
  calc.LocalTable().DeleteDeeperLocals(0);
  EXPECT_EQ(Int("v*10", 1), 10);
  ASSERT_TRUE(calc.DeleteVariable("v", 0));
  EXPECT_TRUE(Eval("v*10", 1).IsNone());
  EXPECT_EQ(Messages(), (std::vector<std::string>{Undefined("v"), CalcError()}));
  // A table read from a stream replaces every slot.
  GlobalInt("w", 4);
  EXPECT_EQ(Int("w"), 4);
  base::ByteWriter out;
  ASSERT_TRUE(calc.GlobalTable().WriteTable(out));
  Global("int", "first");
  ASSERT_TRUE(calc.DeleteVariable("w", 0));
  base::ByteReader in(out.Data());
  calc.GlobalTable().ReadTable(in);
  EXPECT_EQ(Int("w"), 4);
}

TEST_F(CalculationTest, UncachedEvaluationBehavesTheSame) {
  TKelCalculation plain(0);
  plain.SetErrorSink(&sink);
  ASSERT_TRUE(plain.DeclareVariable(VariableScope::kGlobal, "int", "n", 0));
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(plain.Evaluate("n++*10", 0).integer, i * 10);
  EXPECT_TRUE(plain.Evaluate("q", 0).IsNone());
  EXPECT_TRUE(plain.Evaluate("q", 0).IsNone());
  EXPECT_EQ(Messages().size(), 4u);
}

TEST_F(CalculationTest, NestedEvaluationsHaveADepthLimit) {
  Global("int", "a[2]");
  auto chain = [](int depth) {
    std::string text = "0";
    for (int i = 0; i < depth; ++i) text = "a[" + text + "]";
    return text;
  };
  EXPECT_EQ(Int(chain(TKelCalculation::kMaxEvaluationDepth - 1)), 0);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(Eval(chain(TKelCalculation::kMaxEvaluationDepth + 5)).IsNone());
  std::vector<std::string> messages = Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), CalcError());
  EXPECT_EQ(Int("1+1"), 2);  // the next evaluation starts afresh
}

TEST_F(CalculationTest, NestedIndexTextsStopAtTheTextBudget) {
  Global("int", "a[2]");
  std::string text = "0";
  for (int i = 0; i < 20000; ++i) text += "+0";
  for (int i = 0; i < 10; ++i) text = "a[" + text + "]";  // each level evaluates the rest again
  EXPECT_TRUE(Eval(text).IsNone());
  EXPECT_EQ(Messages(), std::vector<std::string>{CalcError()});
}

TEST_F(CalculationTest, ExponentialIncrementChainsStopAtTheBudget) {
  GlobalInt("x", 0);
  std::string text = "x";
  for (int i = 0; i < 24; ++i) text = "(" + text + "++)";
  EXPECT_TRUE(Eval(text).IsNone());
  EXPECT_EQ(Messages(), std::vector<std::string>{CalcError()});
  EXPECT_EQ(Int("2*3"), 6);
}

TEST_F(CalculationTest, VisibilitySearchesLocalsThenGlobalsThenSystemVariables) {
  ASSERT_TRUE(calc.DeclareVariable(VariableScope::kSystem, "int", "sv", 0));
  ASSERT_TRUE(calc.DeclareVariable(VariableScope::kGlobal, "int", "gv", 0));
  ASSERT_TRUE(calc.DeclareVariable(VariableScope::kLocal, "int", "lv", 1));
  EXPECT_EQ(calc.Visibility("SV", 1), VariableScope::kSystem);
  EXPECT_EQ(calc.Visibility("gv", 1), VariableScope::kGlobal);
  EXPECT_EQ(calc.Visibility("lv", 1), VariableScope::kLocal);
  EXPECT_EQ(calc.Visibility("lv", 2), VariableScope::kNone);
  EXPECT_EQ(calc.Visibility("nothing", 0), VariableScope::kNone);
  // A global declared at depth 0 does not see the local of depth 1; from
  // depth 1 the local hides it.
  ASSERT_TRUE(calc.DeclareVariable(VariableScope::kGlobal, "int", "lv", 0));
  ASSERT_TRUE(calc.AssignInteger("lv", 0, 100));
  ASSERT_TRUE(calc.AssignInteger("lv", 1, 7));
  EXPECT_EQ(Int("lv", 1), 7);
  EXPECT_EQ(Int("lv", 0), 100);
  EXPECT_EQ(Int("lv", 2), 100);
}

TEST_F(CalculationTest, DeclaringAVisibleNameFails) {
  Global("int", "g");
  EXPECT_FALSE(calc.DeclareVariable(VariableScope::kLocal, "int", "g", 1));
  EXPECT_FALSE(calc.DeclareVariable(VariableScope::kGlobal, "str", "G[3]", 0));
  EXPECT_EQ(Messages(), (std::vector<std::string>{Sjis("既に変数が登録されています：") + "g",
                                                  Sjis("既に変数が登録されています：") + "G"}));
}

TEST_F(CalculationTest, DeclarationsEvaluateTheirSizes) {
  GlobalInt("n", 2);
  Global("int", "m[n+1, n*2]");
  Global("str", "s[0]");
  Global("int", "neg[-4]");
  const TValue& table = calc.GlobalTable();
  auto storage = [&](std::string_view name) -> const TValueArrayCustom& {
    return *table.Slots()[static_cast<size_t>(table.Find(name, 0))].storage;
  };
  EXPECT_EQ(storage("m").Count(), 12);
  EXPECT_EQ(storage("m").StoredSizes(), (TValueArrayCustom::Sizes{4, 3, 1, 1}));
  EXPECT_EQ(storage("s").Count(), 1);
  EXPECT_EQ(storage("s").Kind(), ValueKind::kString);
  EXPECT_EQ(storage("neg").Count(), 1);
  EXPECT_EQ(table.Slots()[static_cast<size_t>(table.Find("m", 0))].attributes, 255);
}

TEST_F(CalculationTest, ObjectDeclarationsCreateObjectsAndAreNotAssignable) {
  ASSERT_TRUE(calc.DeclareVariable(VariableScope::kLocal, "img", "bg[2]", 1));
  EXPECT_EQ(host.log, (std::vector<std::string>{"create img bg,0", "create img bg,1"}));
  TReturnValue element = Eval("bg[1]", 1);
  EXPECT_EQ(element.kind, ValueKind::kObjectName);
  EXPECT_EQ(element.Text(), "bg,1");
  EXPECT_TRUE(Eval("bg=1", 1).IsNone());
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{Sjis("この変数には書き込めません:") + "bg", CalcError()}));
  const TValue& locals = calc.LocalTable();
  EXPECT_EQ(locals.Slots()[static_cast<size_t>(locals.Find("bg", 1))].attributes, 253);
  calc.LocalTable().DeleteDeeperLocals(0);
  EXPECT_TRUE(host.objects.empty());
}

TEST_F(CalculationTest, ObjectVariablesCannotBeSystemVariables) {
  EXPECT_FALSE(calc.DeclareVariable(VariableScope::kSystem, "img", "bg", 0));
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(host.log.empty());
  EXPECT_TRUE(calc.DeclareVariable(VariableScope::kSystem, "STR", "name", 0));
}

TEST_F(CalculationTest, DeleteByNameUsesTheVisibilityRule) {
  ASSERT_TRUE(calc.DeclareVariable(VariableScope::kLocal, "int", "v", 2));
  Global("int", "w");
  EXPECT_FALSE(calc.DeleteVariable("v", 1));
  EXPECT_TRUE(calc.DeleteVariable(" v ", 2));
  EXPECT_EQ(calc.Visibility("v", 2), VariableScope::kNone);
  EXPECT_TRUE(calc.DeleteVariable("w", 5));
  EXPECT_FALSE(calc.DeleteVariable("w", 0));
  VariableSpec spec;
  spec.name = "ResultInt";
  spec.attributes = kReadable | kWritable;
  ASSERT_TRUE(calc.GlobalTable().Declare(spec));
  EXPECT_FALSE(calc.DeleteVariable("ResultInt", 0));
  EXPECT_EQ(Messages(), std::vector<std::string>{Sjis("この変数は削除出来ません:") + "ResultInt"});
}

TEST_F(CalculationTest, AssignConvertsToTheVariablesKind) {
  Global("int", "i[2]");
  Global("str", "s");
  ASSERT_TRUE(calc.AssignString("i[1]", 0, "12abc"));
  EXPECT_EQ(Int("i[1]"), 0);
  ASSERT_TRUE(calc.AssignString("i[1]", 0, "$1F"));
  EXPECT_EQ(Int("i[1]"), 31);
  ASSERT_TRUE(calc.AssignInteger("s", 0, -4));
  EXPECT_EQ(Eval("s").Text(), "-4");
  EXPECT_FALSE(calc.AssignInteger("i[2]", 0, 1));
  EXPECT_FALSE(calc.AssignInteger("5", 0, 1));
  EXPECT_FALSE(calc.AssignInteger("missing", 0, 1));
  EXPECT_EQ(Messages(), (std::vector<std::string>{Sjis("変数の書き込みに失敗しました:") + "i",
                                                  Sjis("変数が宣言されていません:") + "missing"}));
}

TEST_F(CalculationTest, AStringVariableReadsWithItsNumberAndCompares) {
  Global("str", "name");
  ASSERT_TRUE(calc.AssignString("name", 0, "Alice"));
  EXPECT_EQ(Int("name==\"ALICE\""), 1);
  EXPECT_EQ(Eval("name+\"!\"").Text(), "Alice!");
  ASSERT_TRUE(calc.AssignString("name", 0, "12"));
  TReturnValue doubled = Eval("name*2");
  EXPECT_EQ(doubled.kind, ValueKind::kString);
  EXPECT_EQ(doubled.integer, 24);
  EXPECT_EQ(doubled.Text(), "24");
}

TEST_F(CalculationTest, ResetClearsGlobalsAndLocalsAndKeepsTheSystemTable) {
  ASSERT_TRUE(calc.DeclareVariable(VariableScope::kSystem, "int", "kept", 0));
  ASSERT_TRUE(calc.AssignInteger("kept", 0, 3));
  Global("int", "g");
  ASSERT_TRUE(calc.DeclareVariable(VariableScope::kLocal, "img", "bg", 1));
  calc.ResetTables();
  EXPECT_EQ(Int("kept"), 3);
  EXPECT_EQ(calc.Visibility("g", 0), VariableScope::kNone);
  EXPECT_EQ(calc.Visibility("bg", 1), VariableScope::kNone);
  EXPECT_TRUE(host.objects.empty());
}

}  // namespace
}  // namespace mavu::script
