#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Character codes as the font code sees them: a single byte c is code c, a
// double-byte character is lead * 256 + trail.
namespace mavu::imaging {

inline constexpr uint16_t kSpaceCode = 0x20;
inline constexpr uint16_t kFullWidthSpaceCode = 0x8140;

// Glyph sets hold 16384 slots: single bytes, then the double-byte codes with
// leads 0x81..0x9F, then those with leads 0xE0..0xFF. Every other code shares
// slot 0.
inline constexpr int kGlyphSlotCount = 16384;
int SlotOfCode(uint32_t code);

// Which bytes start a double-byte character: bitmap fonts take 0x80 as a lead
// byte as well, outline fonts (and the rest of the engine) do not.
enum class LeadBytes : uint8_t { kFrom0x80, kFrom0x81 };

struct TextChar {
  uint16_t code = 0;
  size_t length = 0;
};

// The character at `pos` (pos < text.size()). A lead byte at the very end of
// the text stands alone as a single-byte code.
TextChar ReadTextChar(std::string_view text, size_t pos, LeadBytes leads);

// A glyph's advance (x, y) or a text's extent (width, height), in pixels.
struct TextExtent {
  int width = 0;
  int height = 0;
  bool operator==(const TextExtent&) const = default;
};

// The Unicode scalar of a CP932 code, U+FFFD when CP932 has none.
char32_t CodeToUnicode(uint16_t code);

}  // namespace mavu::imaging
