#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mavu::script {

// The kinds of script value. The numbers are stored in the table stream.
enum class ValueKind : uint8_t {
  kInteger = 0,     // the integer part; the text part is its decimal text
  kString = 1,      // the text part; the integer part is the text read as a number
  kObjectName = 2,  // the text part names a script object; the integer part is 0
  kRawToken = 3,    // an operand the evaluator has not resolved yet
  kNone = 4,        // no value (failure): 0 and empty text
};

// A script value: a kind with an integer part and a text part. An integer
// value makes its text (the decimal digits) only when asked: most integers
// are only ever computed with.
class TReturnValue {
 public:
  TReturnValue() = default;
  TReturnValue(ValueKind kind, int32_t integer) : kind(kind), integer(integer) {}
  TReturnValue(ValueKind kind, int32_t integer, std::string text)
      : kind(kind), integer(integer), text_(std::move(text)) {}

  static TReturnValue FromInteger(int32_t value) { return {ValueKind::kInteger, value}; }
  static TReturnValue FromString(std::string text);
  static TReturnValue FromObjectName(std::string name);
  static TReturnValue None() { return {}; }

  bool IsNone() const { return kind == ValueKind::kNone; }
  std::string Text() const;

  ValueKind kind = ValueKind::kNone;
  int32_t integer = 0;

 private:
  // Absent for integers and empty texts: values are moved around the
  // evaluator's stack all the time, and an absent text costs nothing to move.
  std::optional<std::string> text_;
};

}  // namespace mavu::script
