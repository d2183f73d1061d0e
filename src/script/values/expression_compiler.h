#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/values/return_value.h"
#include "script/values/value_operators.h"

namespace mavu::script {

// An operand of a compiled expression, classified once: a literal (a number
// in 64-bit syntax, 0 when outside 32 bits, or a quoted string), or a variable
// reference looked up each time the expression runs.
struct Operand {
  enum class Form : uint8_t { kLiteral, kVariable };

  Form form = Form::kVariable;
  std::string text;                  // the token as written (for messages and assignments)
  TReturnValue literal;              // Literal
  std::string name;                  // Variable: the name part
  uint32_t hash = 0;                 // Variable: NameHash(name)
  std::vector<std::string> indices;  // Variable: up to four index expressions

  // Where the evaluator last found the variable. It holds while no table has
  // gained or lost a variable since (the evaluator's table generation) and for
  // the same call depth, and spares the table searches in loops.
  struct LookupMemo {
    uint64_t generation = UINT64_MAX;
    int32_t depth = 0;
    uint8_t scope = 0;
    int32_t slot = -1;
  };
  mutable LookupMemo memo;
};

// One entry of the postfix list: an operator, or an operand by its number.
struct PostfixItem {
  bool isOperator = false;
  Operator op = Operator::kAssign;
  int32_t operand = 0;
};

// What compiling an expression text gives. It depends on the text alone, so it
// can be kept and run again; everything that depends on variables happens when
// it runs.
//
// Compiling never evaluates anything. The increments and decrements that the
// tokeniser meets (x++ is the assignment x=x+1, made at once) are listed in
// `nested` in the order they occur, to be evaluated before the postfix list
// runs. A text whose brackets or quotes do not close (or that nests too deep,
// or copies too much) has a `failure` message, reported after the nested
// evaluations met before it.
struct CompiledExpression {
  std::vector<std::string> nested;
  std::optional<std::string> failure;
  std::vector<PostfixItem> postfix;
  // One for each operand text, however often it occurs; a deque, as long
  // expressions have hundreds of thousands and a vector would copy them all
  // as it grows.
  std::deque<Operand> operands;
};

// Parentheses may nest this deep; deeper texts fail to compile.
inline constexpr int kMaxBracketNesting = 64;

// Compiling takes memory and time in proportion to the text: some 30 bytes a
// byte. What it copies besides (bracket contents that lose blanks, the
// assignments of increments) may come to twice the text and 64 KiB; a text
// that needs more fails with the calculation error.
CompiledExpression CompileExpression(std::string_view text);

// Classifies one operand token the way compiled expressions do.
Operand ClassifyOperand(std::string_view token);

}  // namespace mavu::script
