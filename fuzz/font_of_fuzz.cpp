#include <cstddef>
#include <cstdint>

#include "base/bytes.h"
#include "imaging/bitmap_font.h"

namespace {

constexpr int kGlyphsDrawn = 8;
constexpr int kBufferSide = 48;

uint16_t CodeOfSlot(int slot) {
  if (slot < 0x100) return static_cast<uint16_t>(slot);
  return static_cast<uint16_t>(slot < 0x2000 ? slot + 0x8000 : slot + 0xC000);
}

// Draws the first glyphs of a set at its cell size and scaled, partly off the buffer.
void DrawSome(const mavu::imaging::TBitmapFont& font, bool vertical) {
  const auto& set = font.Set(vertical);
  mavu::imaging::TARGB8888 dest;
  dest.SetSize(kBufferSide, kBufferSide);
  int drawn = 0;
  for (int slot = 0; slot < mavu::imaging::kGlyphSlotCount && drawn < kGlyphsDrawn; ++slot) {
    if (set.location[slot] == 0) continue;
    const uint16_t code = CodeOfSlot(slot);
    font.DrawGlyph(dest, code, vertical, 0xFF80C0FF, set.cellWidth, set.cellHeight, drawn * 3 - 4,
                   drawn * 5 - 6);
    font.DrawGlyph(dest, code, vertical, 0x80FFFFFF, 13, 7, drawn * 7 - 9, drawn * 4);
    ++drawn;
  }
}

}  // namespace

// Reads arbitrary bytes as an ".of" glyph set (both directions) and draws from it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mavu::base::Bytes bytes(data, data + size);
  try {
    mavu::imaging::TBitmapFont font(&bytes, &bytes);
    DrawSome(font, false);
    DrawSome(font, true);
  } catch (const mavu::imaging::FontError&) {
  }
  return 0;
}
