#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "script/values/return_value.h"

namespace mavu::script {

// The binary operators of expressions, grouped by binding level.
enum class Operator : uint8_t {
  // Level 1.
  kMultiply,
  kDivide,
  kModulo,
  // Level 2.
  kAdd,
  kSubtract,
  // Level 3.
  kShiftLeft,
  kShiftRight,
  // Level 4: the bit operators bind tighter than the comparisons.
  kBitAnd,
  kBitOr,
  kBitXor,
  // Level 5.
  kEqual,
  kNotEqual,
  kLess,
  kGreater,
  kLessEqual,
  kGreaterEqual,
  // Level 6.
  kLogicalAnd,
  kLogicalOr,
  // Level 7.
  kAssign,
};

inline constexpr int kFirstOperatorLevel = 1;
inline constexpr int kLastOperatorLevel = 7;

// The operator a token spells ("*", "<<", "&&" ...), or none.
std::optional<Operator> OperatorFromText(std::string_view text);
int OperatorLevel(Operator op);

// Applies an operator other than Assign to two resolved values. None (the
// operator fails) when either value is None, or for && and || when either is
// not an integer. The result keeps the left value's kind except for
// comparisons and logical operators, which give integers; integer results
// carry their decimal text. Arithmetic wraps at 32 bits; a zero divisor gives 0.
std::optional<TReturnValue> ApplyOperator(Operator op, const TReturnValue& left,
                                          const TReturnValue& right);

// Compares two CP932 texts with letter case ignored (A-Z, and the full-width
// Latin, Greek and Cyrillic letters), character codes deciding the order.
// Negative, zero or positive like strcmp.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);

}  // namespace mavu::script
