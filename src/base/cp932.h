#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Engine text is CP932 (Shift-JIS) bytes. These helpers walk it one character
// at a time, so that a two-byte character is never split and its trail byte
// (which may be 0x5C, 0x7B, 0x7D ...) is never taken for an ASCII sign.
namespace mavu::base {

// 0x81-0x9F and 0xE0-0xFF start a two-byte character.
constexpr bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || b >= 0xE0;
}
inline bool IsLeadByte(char c) {
  return IsLeadByte(static_cast<uint8_t>(c));
}

// Byte length of the character starting at `pos`: 2 for a lead byte that has a
// trail byte after it, else 1.
inline size_t CharLength(std::string_view text, size_t pos) {
  return IsLeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

// The longest prefix of at most `maxBytes` bytes that ends on a character boundary.
std::string_view TruncateWhole(std::string_view text, size_t maxBytes);

// Characters first .. first+count-1 (first counts from 1), two-byte characters
// counting as one.
std::string MbcsCopy(std::string_view text, int first, int count);

// Lower-cases the single-byte letters A-Z; two-byte characters stay unchanged.
// Every name (labels, variables, archive entries, keys) is compared in this form.
std::string LowerName(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Splits at a one-character separator outside double quotes and brackets;
// see the settings files for the rules (blanks, "//" comments, trailing separator).
std::vector<std::string> SplitList(std::string_view separator, std::string_view source,
                                   bool skipBlanks, bool stopAtComment);

// Conversions at the boundaries (windows, file names, JSON, regular expressions).
// Bytes that cannot be converted become U+FFFD (to UTF-8) or "?" (to CP932).
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);
// Whether the text is well-formed UTF-8 from start to end.
bool IsUtf8(std::string_view text);
// The CP932 form of UTF-8 text, or nothing when the text is not UTF-8 or holds
// a character CP932 lacks (where a name must not change on its way in).
std::optional<std::string> StrictUtf8ToCp932(std::string_view utf8);

}  // namespace mavu::base
