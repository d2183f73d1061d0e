#include "imaging/glyph_codes.h"

#include <string>

#include "base/cp932.h"

namespace mavu::imaging {

namespace {

constexpr uint32_t kFirstLowDoubleCode = 0x8100;
constexpr uint32_t kLastLowDoubleCode = 0x9FFF;
constexpr uint32_t kFirstHighDoubleCode = 0xE000;
constexpr uint32_t kLastHighDoubleCode = 0xFFFF;
// Slots 0x0100..0x1FFF and 0x2000..0x3FFF.
constexpr uint32_t kLowDoubleSlotBase = 0x8000;
constexpr uint32_t kHighDoubleSlotBase = 0xC000;
constexpr char32_t kReplacement = 0xFFFD;

bool IsFontLeadByte(uint8_t b, LeadBytes leads) {
  const uint8_t firstLow = leads == LeadBytes::kFrom0x80 ? 0x80 : 0x81;
  return (b >= firstLow && b <= 0x9F) || b >= 0xE0;
}

// One code point from the start of well-formed UTF-8, as iconv writes it.
char32_t FirstCodePoint(const std::string& utf8) {
  if (utf8.empty()) return kReplacement;
  const auto* p = reinterpret_cast<const uint8_t*>(utf8.data());
  if (p[0] < 0x80) return p[0];
  int extra = p[0] >= 0xF0 ? 3 : p[0] >= 0xE0 ? 2 : 1;
  if (utf8.size() < static_cast<size_t>(extra) + 1) return kReplacement;
  char32_t cp = p[0] & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) cp = (cp << 6) | (p[i] & 0x3F);
  return cp;
}

}  // namespace

int SlotOfCode(uint32_t code) {
  if (code <= 0xFF) return static_cast<int>(code);
  if (code >= kFirstLowDoubleCode && code <= kLastLowDoubleCode) {
    return static_cast<int>(code - kLowDoubleSlotBase);
  }
  if (code >= kFirstHighDoubleCode && code <= kLastHighDoubleCode) {
    return static_cast<int>(code - kHighDoubleSlotBase);
  }
  return 0;
}

TextChar ReadTextChar(std::string_view text, size_t pos, LeadBytes leads) {
  const auto lead = static_cast<uint8_t>(text[pos]);
  if (!IsFontLeadByte(lead, leads) || pos + 1 >= text.size()) return {lead, 1};
  const auto trail = static_cast<uint8_t>(text[pos + 1]);
  return {static_cast<uint16_t>(lead << 8 | trail), 2};
}

char32_t CodeToUnicode(uint16_t code) {
  std::string bytes;
  if (code > 0xFF) bytes += static_cast<char>(code >> 8);
  bytes += static_cast<char>(code & 0xFF);
  return FirstCodePoint(base::Cp932ToUtf8(bytes));
}

}  // namespace mavu::imaging
