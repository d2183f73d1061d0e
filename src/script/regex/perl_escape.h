#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

// The character escapes that replacements and transliteration lists share:
// \n \t \r \f \e \a, octal \0.. (up to three digits), \xHH and \x{HHHH}.
// The values are code points.
namespace mavu::script {

namespace perl_escape_detail {

constexpr char32_t kCodePointCap = 0x110000;  // larger values stay here: no character
constexpr size_t kOctalDigits = 3;
constexpr size_t kShortHexDigits = 2;

constexpr int DigitValue(char32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

// Up to `maxDigits` digits of `base` from `pos`; the position after them.
template <typename Char>
size_t ReadNumber(std::basic_string_view<Char> text, size_t pos, size_t maxDigits, int base,
                  char32_t& value) {
  value = 0;
  for (size_t n = 0; n < maxDigits && pos < text.size(); ++n, ++pos) {
    int digit = DigitValue(static_cast<char32_t>(text[pos]));
    if (digit < 0 || digit >= base) break;
    value = std::min<char32_t>(value * base + digit, kCodePointCap);
  }
  return pos;
}

constexpr char32_t ControlChar(char32_t letter) {
  switch (letter) {
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case 'r':
      return '\r';
    case 'f':
      return '\f';
    case 'e':
      return 0x1B;
    case 'a':
      return '\a';
    default:
      return 0;
  }
}

}  // namespace perl_escape_detail

// `pos` is just after a backslash. Sets `value` and returns the position after
// the escape, or returns `pos` when the character there starts no character
// escape (the caller then takes that character as it is).
template <typename Char>
size_t ReadCharEscape(std::basic_string_view<Char> text, size_t pos, char32_t& value) {
  using namespace perl_escape_detail;
  if (pos >= text.size()) return pos;
  auto c = static_cast<char32_t>(text[pos]);
  if (ControlChar(c) != 0) {
    value = ControlChar(c);
    return pos + 1;
  }
  if (c >= '0' && c <= '7') return ReadNumber(text, pos, kOctalDigits, 8, value);
  if (c != 'x') return pos;
  if (pos + 1 < text.size() && text[pos + 1] == '{') {
    size_t end = ReadNumber(text, pos + 2, text.size(), 16, value);
    return end < text.size() && text[end] == '}' ? end + 1 : pos;
  }
  return ReadNumber(text, pos + 1, kShortHexDigits, 16, value);
}

}  // namespace mavu::script
