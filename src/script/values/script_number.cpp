#include "script/values/script_number.h"

#include <charconv>
#include <limits>

namespace mavu::script {
namespace {

constexpr char kHexPrefix = '$';

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// The digits as an unsigned magnitude; none when a character is no digit or
// the value needs more than 64 bits.
std::optional<uint64_t> Magnitude(std::string_view digits, int base) {
  if (digits.empty()) return std::nullopt;
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  uint64_t magnitude = 0;
  for (char c : digits) {
    int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    if (magnitude > (kMax - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) {
      return std::nullopt;
    }
    magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  return magnitude;
}

}  // namespace

std::optional<int64_t> ParseInteger64(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool hex = !text.empty() && text.front() == kHexPrefix;
  if (hex) text.remove_prefix(1);
  std::optional<uint64_t> magnitude = Magnitude(text, hex ? 16 : 10);
  if (!magnitude) return std::nullopt;
  if (!hex) {
    constexpr uint64_t kMaxPositive = std::numeric_limits<int64_t>::max();
    if (*magnitude > kMaxPositive + (negative ? 1 : 0)) return std::nullopt;
  }
  // Two's complement in unsigned arithmetic, so hexadecimal patterns and the
  // most negative number need no special case.
  uint64_t bits = negative ? 0 - *magnitude : *magnitude;
  return static_cast<int64_t>(bits);
}

int32_t FitInteger32(int64_t value) {
  bool fits =
      value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
  return fits ? static_cast<int32_t>(value) : 0;
}

int32_t ScriptInteger(std::string_view text) {
  std::optional<int64_t> value = ParseInteger64(text);
  return value ? FitInteger32(*value) : 0;
}

std::string DecimalText(int32_t value) {
  char buffer[16];
  auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return std::string(buffer, result.ptr);
}

}  // namespace mavu::script
