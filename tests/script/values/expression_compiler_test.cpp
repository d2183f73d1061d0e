#include "script/values/expression_compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/values/value.h"
#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::Sjis;

std::string OperatorText(Operator op) {
  for (const char* text : {"*", "/", "%", "+", "-", "<<", ">>", "&", "|", "^", "==", "!=", "<", ">",
                           "<=", ">=", "&&", "||", "="}) {
    if (OperatorFromText(text) == op) return text;
  }
  return "?";
}

// The postfix list as text, items separated by blanks.
std::string Postfix(std::string_view text) {
  CompiledExpression compiled = CompileExpression(text);
  EXPECT_FALSE(compiled.failure) << text;
  std::string out;
  for (const PostfixItem& item : compiled.postfix) {
    if (!out.empty()) out += ' ';
    out += item.isOperator ? OperatorText(item.op) : compiled.operands[item.operand].text;
  }
  return out;
}

std::vector<std::string> Nested(std::string_view text) {
  return CompileExpression(text).nested;
}

TEST(CompileExpression, BindsByLevelThenFromLeftToRight) {
  EXPECT_EQ(Postfix("1+2*3"), "1 2 3 * +");
  EXPECT_EQ(Postfix("10-4-3"), "10 4 - 3 -");
  EXPECT_EQ(Postfix("4&1==0"), "4 1 & 0 ==");
  EXPECT_EQ(Postfix("1<<2+3"), "1 2 3 + <<");
  EXPECT_EQ(Postfix("a=b=3"), "a b = 3 =");
  EXPECT_EQ(Postfix("x>=10&&y<5||z"), "x 10 >= y 5 < && z ||");
  EXPECT_EQ(Postfix("a|b^c&d"), "a b | c ^ d &");
  EXPECT_EQ(Postfix("r=a%b/c"), "r a b % c / =");
}

TEST(CompileExpression, BracketedOperandsAreCompiledFromTheirContent) {
  EXPECT_EQ(Postfix("(1+2)*3"), "1 2 + 3 *");
  EXPECT_EQ(Postfix("2*(3-(4-5))"), "2 3 4 5 - - *");
  EXPECT_EQ(Postfix("( 1 + 2 )"), "1 2 +");
  EXPECT_EQ(Postfix("((7))"), "7");
  // What follows the closing bracket inside the operand is dropped.
  EXPECT_EQ(Postfix("(1)(2)"), "1");
}

TEST(CompileExpression, UnaryPlusIsDroppedAndNegationMultipliesByMinusOne) {
  EXPECT_EQ(Postfix("-3*-2"), "-1 3 * -1 * 2 *");
  EXPECT_EQ(Postfix("+5"), "5");
  EXPECT_EQ(Postfix("++x"), "x");
  EXPECT_EQ(Postfix("--x"), "-1 -1 * x *");
  EXPECT_EQ(Postfix("3 - - 2"), "3 -1 2 * -");
  EXPECT_EQ(Postfix("a+-b"), "a -1 b * +");
}

TEST(CompileExpression, IncrementsAfterAnOperandBecomeNestedAssignments) {
  CompiledExpression compiled = CompileExpression("x++ + y--");
  EXPECT_EQ(compiled.nested, (std::vector<std::string>{"x=x+1", "y=y-1"}));
  EXPECT_EQ(Postfix("x++ + y--"), "x y +");
  EXPECT_EQ(Nested("a[i]++"), std::vector<std::string>{"a[i]=a[i]+1"});
  EXPECT_EQ(Nested("x++++"), (std::vector<std::string>{"x=x+1", "x=x+1"}));
  EXPECT_EQ(Nested("x+++1"), std::vector<std::string>{"x=x+1"});
  EXPECT_EQ(Postfix("x+++1"), "x 1 +");
  EXPECT_TRUE(Nested("++x").empty());
}

TEST(CompileExpression, NestedAssignmentsFollowTheOrderOfBinding) {
  // The multiplication binds first, so b and c are rewritten before a.
  EXPECT_EQ(Nested("(a++)+(b++)*(c++)"), (std::vector<std::string>{"b=b+1", "c=c+1", "a=a+1"}));
}

TEST(CompileExpression, RecognisesOperatorsOnlyOutsideBracketsAndQuotes) {
  EXPECT_EQ(Postfix("a[1+2,3]*2"), "a[1+2,3] 2 *");
  EXPECT_EQ(Postfix("\"a+b\"+c"), "\"a+b\" c +");
  EXPECT_EQ(Postfix("\"(\"+1"), "\"(\" 1 +");
  EXPECT_EQ(Postfix("a b"), "ab");
  EXPECT_EQ(Postfix("\"a b\""), "\"a b\"");
  EXPECT_EQ(Postfix("x[ 1 ]"), "x[ 1 ]");
}

TEST(CompileExpression, KeepsTwoByteCharactersWhole) {
  // Trail bytes 0x7C ('|') and 0x5C must not be taken for signs.
  EXPECT_EQ(Postfix("\x83\x7C+1"), "\x83\x7C 1 +");
  EXPECT_EQ(Postfix("\x95\x5C|2"), "\x95\x5C 2 |");
}

TEST(CompileExpression, PairsAndSingleCharacters) {
  // "<>" is no pair: the ">" becomes the right side of "<".
  EXPECT_EQ(Postfix("a<>b"), "a > < b");
  EXPECT_EQ(Postfix("a!=b"), "a b !=");
  EXPECT_EQ(Postfix("!x"), "! x");
  EXPECT_EQ(Postfix("1+"), "1 +");
  EXPECT_EQ(Postfix("*2"), "* 2");
}

TEST(CompileExpression, SemicolonsSplitOperandsAsInThePostfixText) {
  EXPECT_EQ(Postfix("1;2;+"), "1 2 +");
  EXPECT_EQ(Postfix("\"a;b\""), "\"a;b\"");
  EXPECT_EQ(Postfix(";"), "");
}

TEST(CompileExpression, UnclosedBracketsAndQuotesFail) {
  for (const char* text : {"(1+2", "1+2)", "a[1", "\"abc", "(\"a)\""}) {
    CompiledExpression compiled = CompileExpression(text);
    EXPECT_EQ(compiled.failure, Sjis("カッコが正しく閉じられていません")) << text;
    EXPECT_TRUE(compiled.postfix.empty());
  }
}

TEST(CompileExpression, IncrementsBeforeAFailureAreStillListed) {
  CompiledExpression compiled = CompileExpression("x++ + (1");
  EXPECT_EQ(compiled.nested, std::vector<std::string>{"x=x+1"});
  EXPECT_TRUE(compiled.failure);
}

TEST(CompileExpression, BracketsNestAtMostSixtyFourDeep) {
  auto nested = [](int depth) {
    return std::string(static_cast<size_t>(depth), '(') + "1" +
           std::string(static_cast<size_t>(depth), ')');
  };
  EXPECT_EQ(Postfix(nested(kMaxBracketNesting)), "1");
  EXPECT_EQ(CompileExpression(nested(kMaxBracketNesting + 1)).failure,
            Sjis("計算中エラーが発生しました"));
}

TEST(CompileExpression, LongExpressionsKeepEveryTokenAndClassifyEachTextOnce) {
  std::string text = "1";
  for (int i = 0; i < 200; ++i) text += "+" + std::to_string(i);
  CompiledExpression compiled = CompileExpression(text);
  EXPECT_EQ(compiled.postfix.size(), 401u);
  EXPECT_EQ(compiled.operands.size(), 200u);  // "1" comes twice
}

TEST(CompileExpression, IncrementsOfALongOperandStopAtTheCopyBudget) {
  std::string sum = "(1";
  for (int i = 0; i < 50000; ++i) sum += "+1";
  CompiledExpression compiled = CompileExpression(sum + ")++++++++");
  EXPECT_EQ(compiled.failure, Sjis("計算中エラーが発生しました"));
  EXPECT_EQ(compiled.nested.size(), 1u);  // each costs twice the operand; the budget is about two
}

TEST(ClassifyOperand, NumbersAndQuotedStringsAreLiterals) {
  Operand number = ClassifyOperand("$1F");
  EXPECT_EQ(number.form, Operand::Form::kLiteral);
  EXPECT_EQ(number.literal.kind, ValueKind::kInteger);
  EXPECT_EQ(number.literal.integer, 31);
  EXPECT_EQ(ClassifyOperand("4294967296").literal.integer, 0);
  EXPECT_EQ(ClassifyOperand("4294967296").literal.Text(), "0");
  EXPECT_EQ(ClassifyOperand("-1").literal.integer, -1);
  Operand text = ClassifyOperand("\"12\"");
  EXPECT_EQ(text.form, Operand::Form::kLiteral);
  EXPECT_EQ(text.literal.kind, ValueKind::kString);
  EXPECT_EQ(text.literal.Text(), "12");
  EXPECT_EQ(text.literal.integer, 12);
  EXPECT_EQ(ClassifyOperand("\"a b\"x").literal.Text(), "a b");
}

TEST(ClassifyOperand, AnythingElseIsAVariableWithUpToFourIndices) {
  Operand plain = ClassifyOperand("Count");
  EXPECT_EQ(plain.form, Operand::Form::kVariable);
  EXPECT_EQ(plain.name, "Count");
  EXPECT_EQ(plain.hash, NameHash("count"));
  EXPECT_TRUE(plain.indices.empty());
  Operand indexed = ClassifyOperand("a[i+1, f(2,3)]");
  EXPECT_EQ(indexed.name, "a");
  EXPECT_EQ(indexed.indices, (std::vector<std::string>{"i+1", "f(2,3)"}));
  Operand five = ClassifyOperand("a[1,2,3,4,5]");
  EXPECT_EQ(five.indices, (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(ClassifyOperand("9223372036854775808").form, Operand::Form::kVariable);
}

}  // namespace
}  // namespace mavu::script
