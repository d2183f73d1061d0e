#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "script/return_value.h"

namespace mavu::script {

// The binary operators of expressions, grouped by binding level.
enum class TOperator : uint8_t {
  // Level 1.
  Multiply,
  Divide,
  Modulo,
  // Level 2.
  Add,
  Subtract,
  // Level 3.
  ShiftLeft,
  ShiftRight,
  // Level 4: the bit operators bind tighter than the comparisons.
  BitAnd,
  BitOr,
  BitXor,
  // Level 5.
  Equal,
  NotEqual,
  Less,
  Greater,
  LessEqual,
  GreaterEqual,
  // Level 6.
  LogicalAnd,
  LogicalOr,
  // Level 7.
  Assign,
};

inline constexpr int kFirstOperatorLevel = 1;
inline constexpr int kLastOperatorLevel = 7;

// The operator a token spells ("*", "<<", "&&" ...), or none.
std::optional<TOperator> OperatorFromText(std::string_view text);
int OperatorLevel(TOperator op);

// Applies an operator other than Assign to two resolved values. None (the
// operator fails) when either value is None, or for && and || when either is
// not an integer. The result keeps the left value's kind except for
// comparisons and logical operators, which give integers; integer results
// carry their decimal text. Arithmetic wraps at 32 bits; a zero divisor gives 0.
std::optional<TReturnValue> ApplyOperator(TOperator op, const TReturnValue& left,
                                          const TReturnValue& right);

// Compares two CP932 texts with letter case ignored (A-Z, and the full-width
// Latin, Greek and Cyrillic letters), character codes deciding the order.
// Negative, zero or positive like strcmp.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);

}  // namespace mavu::script
