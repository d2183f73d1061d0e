#include <vector>

#include "imaging/glyph_set.h"
#include "seed_registry.h"

namespace {

using mavu::imaging::GlyphSet;

// Coverage over black, colourable, as mavu-font writes fonts.
GlyphSet AlphaSet(int cellWidth, int cellHeight) {
  GlyphSet set(cellWidth, cellHeight);
  for (uint32_t v = 0; v < GlyphSet::kPaletteSize; ++v) set.palette[v] = v << 24;
  set.colourable = true;
  return set;
}

std::vector<uint8_t> Ramp(int count, int step) {
  std::vector<uint8_t> pixels(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) pixels[static_cast<size_t>(i)] = static_cast<uint8_t>(i * step);
  return pixels;
}

}  // namespace

MAVU_FUZZ_SEEDS(font_of) {
  GlyphSet small = AlphaSet(4, 3);
  for (int slot : {0x20, 0x41, 0xB1, 0x02A0, 0x089F, 0x2AA4}) {
    small.AddGlyph(slot, Ramp(12, 23), 128, 96);
  }
  GlyphSet plain(3, 2);  // not colourable, its own palette
  plain.palette[1] = 0xFF102030;
  plain.palette[2] = 0x80FFFFFF;
  plain.AddGlyph(0x42, std::vector<uint8_t>{0, 1, 2, 1, 0, 2}, 64, 128);
  GlyphSet twoPages = AlphaSet(1, 1);  // 256 one-pixel cells: a second page
  for (int slot = 1; slot <= 256; ++slot) {
    twoPages.AddGlyph(slot, std::vector<uint8_t>{static_cast<uint8_t>(slot)}, 128, 128);
  }
  return {small.Write(), plain.Write(), twoPages.Write(), GlyphSet().Write()};
}
