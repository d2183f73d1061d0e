#include "script/value_operators.h"

#include <array>
#include <string>
#include <utility>

#include "base/cp932.h"
#include "script/script_number.h"

namespace mavu::script {
namespace {

struct TOperatorName {
  std::string_view text;
  TOperator op;
  int level;
};

constexpr std::array<TOperatorName, 19> kOperators = {{
    {"*", TOperator::Multiply, 1},    {"/", TOperator::Divide, 1},
    {"%", TOperator::Modulo, 1},      {"+", TOperator::Add, 2},
    {"-", TOperator::Subtract, 2},    {"<<", TOperator::ShiftLeft, 3},
    {">>", TOperator::ShiftRight, 3}, {"&", TOperator::BitAnd, 4},
    {"|", TOperator::BitOr, 4},       {"^", TOperator::BitXor, 4},
    {"==", TOperator::Equal, 5},      {"!=", TOperator::NotEqual, 5},
    {"<", TOperator::Less, 5},        {">", TOperator::Greater, 5},
    {"<=", TOperator::LessEqual, 5},  {">=", TOperator::GreaterEqual, 5},
    {"&&", TOperator::LogicalAnd, 6}, {"||", TOperator::LogicalOr, 6},
    {"=", TOperator::Assign, 7},
}};

constexpr uint32_t kShiftMask = 31;
constexpr int kComparisonLevel = 5;
constexpr int kLogicalLevel = 6;
constexpr int kAssignLevel = 7;

// Two-byte letter ranges of CP932 whose capitals fold to small letters.
struct TCaseRange {
  uint16_t firstCapital;
  uint16_t lastCapital;
  uint16_t firstSmall;
};
constexpr std::array<TCaseRange, 4> kCaseRanges = {{
    {0x8260, 0x8279, 0x8281},  // full-width Latin A-Z
    {0x839F, 0x83B6, 0x83BF},  // Greek
    {0x8440, 0x844E, 0x8470},  // Cyrillic A to N (small letters before the 0x7F gap)
    {0x844F, 0x8460, 0x8480},  // Cyrillic O to YA (small letters after it)
}};

uint16_t FoldTwoByte(uint16_t code) {
  for (const TCaseRange& range : kCaseRanges) {
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
int32_t Arithmetic(TOperator op, int32_t left, int32_t right) {
  auto l = static_cast<uint32_t>(left);
  auto r = static_cast<uint32_t>(right);
  switch (op) {
    case TOperator::Multiply:
      return static_cast<int32_t>(l * r);
    case TOperator::Add:
      return static_cast<int32_t>(l + r);
    case TOperator::Subtract:
      return static_cast<int32_t>(l - r);
    case TOperator::ShiftLeft:
      return static_cast<int32_t>(l << (r & kShiftMask));
    case TOperator::ShiftRight:
      return static_cast<int32_t>(l >> (r & kShiftMask));
    case TOperator::BitAnd:
      return static_cast<int32_t>(l & r);
    case TOperator::BitOr:
      return static_cast<int32_t>(l | r);
    case TOperator::BitXor:
      return static_cast<int32_t>(l ^ r);
    // A zero divisor gives 0; the one quotient beyond 32 bits wraps.
    case TOperator::Divide:
      if (right == 0) return 0;
      return right == -1 ? static_cast<int32_t>(0 - l) : left / right;
    case TOperator::Modulo:
      if (right == 0 || right == -1) return 0;
      return left % right;
    default:
      return 0;
  }
}

TReturnValue Arithmetic(TOperator op, const TReturnValue& left, const TReturnValue& right) {
  int32_t integer = Arithmetic(op, left.integer, right.integer);
  if (left.kind == ValueKind::Integer) return TReturnValue::FromInteger(integer);
  // Only + and & join the texts of a string (or object name) on the left.
  bool joins = op == TOperator::Add || op == TOperator::BitAnd;
  std::string text = joins ? left.text + right.text : DecimalText(integer);
  return {left.kind, integer, std::move(text)};
}

bool Compare(TOperator op, const TReturnValue& left, const TReturnValue& right) {
  int order = 0;
  if (left.kind == ValueKind::Integer) {
    order = left.integer < right.integer ? -1 : (left.integer > right.integer ? 1 : 0);
  } else {
    order = CompareTextIgnoreCase(left.text, right.text);
  }
  switch (op) {
    case TOperator::Equal:
      return order == 0;
    case TOperator::NotEqual:
      return order != 0;
    case TOperator::Less:
      return order < 0;
    case TOperator::Greater:
      return order > 0;
    case TOperator::LessEqual:
      return order <= 0;
    default:
      return order >= 0;
  }
}

std::optional<TReturnValue> Logical(TOperator op, const TReturnValue& left,
                                    const TReturnValue& right) {
  if (left.kind != ValueKind::Integer || right.kind != ValueKind::Integer) return std::nullopt;
  bool l = left.integer == 1;
  bool r = right.integer == 1;
  return TReturnValue::FromInteger(op == TOperator::LogicalAnd ? (l && r) : (l || r));
}

}  // namespace

std::optional<TOperator> OperatorFromText(std::string_view text) {
  for (const TOperatorName& name : kOperators) {
    if (name.text == text) return name.op;
  }
  return std::nullopt;
}

int OperatorLevel(TOperator op) {
  for (const TOperatorName& name : kOperators) {
    if (name.op == op) return name.level;
  }
  return 0;
}

std::optional<TReturnValue> ApplyOperator(TOperator op, const TReturnValue& left,
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
