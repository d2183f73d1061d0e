#pragma once

#include <cstdint>
#include <string>

namespace mavu::script {

// The kinds of script value. The numbers are stored in the table stream.
enum class ValueKind : uint8_t {
  Integer = 0,     // the integer part; the text part is its decimal text
  String = 1,      // the text part; the integer part is the text read as a number
  ObjectName = 2,  // the text part names a script object; the integer part is 0
  RawToken = 3,    // an operand the evaluator has not resolved yet
  None = 4,        // no value (failure): 0 and empty text
};

// A script value: a kind with an integer part and a text part.
struct TReturnValue {
  ValueKind kind = ValueKind::None;
  int32_t integer = 0;
  std::string text;

  static TReturnValue FromInteger(int32_t value);
  static TReturnValue FromString(std::string text);
  static TReturnValue FromObjectName(std::string name);
  static TReturnValue None() { return {}; }

  bool IsNone() const { return kind == ValueKind::None; }
};

}  // namespace mavu::script
