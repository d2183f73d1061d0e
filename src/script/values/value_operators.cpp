#include "script/values/value_operators.h"

#include <array>
#include <string>
#include <utility>

#include "base/cp932.h"
#include "script/values/script_number.h"

namespace mavu::script {
namespace {

struct OperatorName {
  std::string_view text;
  Operator op;
  int level;
};

constexpr std::array<OperatorName, 19> kOperators = {{
    {"*", Operator::kMultiply, 1},    {"/", Operator::kDivide, 1},
    {"%", Operator::kModulo, 1},      {"+", Operator::kAdd, 2},
    {"-", Operator::kSubtract, 2},    {"<<", Operator::kShiftLeft, 3},
    {">>", Operator::kShiftRight, 3}, {"&", Operator::kBitAnd, 4},
    {"|", Operator::kBitOr, 4},       {"^", Operator::kBitXor, 4},
    {"==", Operator::kEqual, 5},      {"!=", Operator::kNotEqual, 5},
    {"<", Operator::kLess, 5},        {">", Operator::kGreater, 5},
    {"<=", Operator::kLessEqual, 5},  {">=", Operator::kGreaterEqual, 5},
    {"&&", Operator::kLogicalAnd, 6}, {"||", Operator::kLogicalOr, 6},
    {"=", Operator::kAssign, 7},
}};

constexpr uint32_t kShiftMask = 31;
constexpr int kComparisonLevel = 5;
constexpr int kLogicalLevel = 6;
constexpr int kAssignLevel = 7;

// Two-byte letter ranges of CP932 whose capitals fold to small letters.
struct CaseRange {
  uint16_t firstCapital;
  uint16_t lastCapital;
  uint16_t firstSmall;
};
constexpr std::array<CaseRange, 4> kCaseRanges = {{
    {0x8260, 0x8279, 0x8281},  // full-width Latin A-Z
    {0x839F, 0x83B6, 0x83BF},  // Greek
    {0x8440, 0x844E, 0x8470},  // Cyrillic A to N (small letters before the 0x7F gap)
    {0x844F, 0x8460, 0x8480},  // Cyrillic O to YA (small letters after it)
}};

uint16_t FoldTwoByte(uint16_t code) {
  for (const CaseRange& range : kCaseRanges) {
    if (code >= range.firstCapital && code <= range.lastCapital) {
      return static_cast<uint16_t>(code - range.firstCapital + range.firstSmall);
    }
  }
  return code;
}

std::string FoldCase(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    if (base::CharLength(text, pos) == 2) {
      uint16_t code = FoldTwoByte(static_cast<uint16_t>(static_cast<uint8_t>(text[pos]) << 8 |
                                                        static_cast<uint8_t>(text[pos + 1])));
      folded.push_back(static_cast<char>(code >> 8));
      folded.push_back(static_cast<char>(code & 0xFF));
      pos += 2;
    } else {
      char c = text[pos++];
      folded.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
  }
  return folded;
}

// Wrapping 32-bit arithmetic on the integer parts.
int32_t Arithmetic(Operator op, int32_t left, int32_t right) {
  auto l = static_cast<uint32_t>(left);
  auto r = static_cast<uint32_t>(right);
  switch (op) {
    case Operator::kMultiply:
      return static_cast<int32_t>(l * r);
    case Operator::kAdd:
      return static_cast<int32_t>(l + r);
    case Operator::kSubtract:
      return static_cast<int32_t>(l - r);
    case Operator::kShiftLeft:
      return static_cast<int32_t>(l << (r & kShiftMask));
    case Operator::kShiftRight:
      return static_cast<int32_t>(l >> (r & kShiftMask));
    case Operator::kBitAnd:
      return static_cast<int32_t>(l & r);
    case Operator::kBitOr:
      return static_cast<int32_t>(l | r);
    case Operator::kBitXor:
      return static_cast<int32_t>(l ^ r);
    // A zero divisor gives 0; the one quotient beyond 32 bits wraps.
    case Operator::kDivide:
      if (right == 0) return 0;
      return right == -1 ? static_cast<int32_t>(0 - l) : left / right;
    case Operator::kModulo:
      if (right == 0 || right == -1) return 0;
      return left % right;
    default:
      return 0;
  }
}

TReturnValue Arithmetic(Operator op, const TReturnValue& left, const TReturnValue& right) {
  int32_t integer = Arithmetic(op, left.integer, right.integer);
  if (left.kind == ValueKind::kInteger) return TReturnValue::FromInteger(integer);
  // Only + and & join the texts of a string (or object name) on the left.
  bool joins = op == Operator::kAdd || op == Operator::kBitAnd;
  std::string text = joins ? left.Text() + right.Text() : DecimalText(integer);
  return {left.kind, integer, std::move(text)};
}

bool Compare(Operator op, const TReturnValue& left, const TReturnValue& right) {
  int order = 0;
  if (left.kind == ValueKind::kInteger) {
    order = left.integer < right.integer ? -1 : (left.integer > right.integer ? 1 : 0);
  } else {
    order = CompareTextIgnoreCase(left.Text(), right.Text());
  }
  switch (op) {
    case Operator::kEqual:
      return order == 0;
    case Operator::kNotEqual:
      return order != 0;
    case Operator::kLess:
      return order < 0;
    case Operator::kGreater:
      return order > 0;
    case Operator::kLessEqual:
      return order <= 0;
    default:
      return order >= 0;
  }
}

std::optional<TReturnValue> Logical(Operator op, const TReturnValue& left,
                                    const TReturnValue& right) {
  if (left.kind != ValueKind::kInteger || right.kind != ValueKind::kInteger) return std::nullopt;
  bool l = left.integer == 1;
  bool r = right.integer == 1;
  return TReturnValue::FromInteger(op == Operator::kLogicalAnd ? (l && r) : (l || r));
}

}  // namespace

std::optional<Operator> OperatorFromText(std::string_view text) {
  for (const OperatorName& name : kOperators) {
    if (name.text == text) return name.op;
  }
  return std::nullopt;
}

int OperatorLevel(Operator op) {
  for (const OperatorName& name : kOperators) {
    if (name.op == op) return name.level;
  }
  return 0;
}

std::optional<TReturnValue> ApplyOperator(Operator op, const TReturnValue& left,
                                          const TReturnValue& right) {
  if (left.IsNone() || right.IsNone()) return std::nullopt;
  switch (OperatorLevel(op)) {
    case kComparisonLevel:
      return TReturnValue::FromInteger(Compare(op, left, right) ? 1 : 0);
    case kLogicalLevel:
      return Logical(op, left, right);
    case kAssignLevel:
      return std::nullopt;  // the evaluator writes variables itself
    default:
      return Arithmetic(op, left, right);
  }
}

int CompareTextIgnoreCase(std::string_view a, std::string_view b) {
  return FoldCase(a).compare(FoldCase(b));
}

}  // namespace mavu::script
