#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How script texts are read as integers.
namespace mavu::script {

// The whole text in 64-bit integer syntax: an optional sign, then decimal
// digits, or "$" and hexadecimal digits read as a 64-bit pattern (so
// $FFFFFFFFFFFFFFFF is -1). Nothing else is allowed, blanks included; a decimal
// number beyond the 64-bit range is no number.
std::optional<int64_t> ParseInteger64(std::string_view text);

// What a script sees of a number: the value when it fits in 32 bits, else 0.
int32_t FitInteger32(int64_t value);

// The text read as a script integer: 0 when it is not a number or does not fit
// in 32 bits. "12abc" is 0, "$1F" is 31.
int32_t ScriptInteger(std::string_view text);

std::string DecimalText(int32_t value);

}  // namespace mavu::script
