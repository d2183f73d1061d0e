#pragma once

#include <cstdint>
#include <vector>

#include "base/bytes.h"
#include "imaging/glyph_set.h"

namespace mavu::imaging::test {

// A glyph set whose palette maps value v to alpha v over black, colourable
// (the way the font tool writes them).
inline GlyphSet AlphaSet(int cellWidth, int cellHeight) {
  GlyphSet set(cellWidth, cellHeight);
  for (uint32_t v = 0; v < 256; ++v) set.palette[v] = v << 24;
  set.colourable = true;
  return set;
}

// One glyph for `code` with the given pixels (cell size, top row first).
inline void AddCode(GlyphSet& set, uint16_t code, std::vector<uint8_t> pixels,
                    uint8_t hAdvance = 128, uint8_t vAdvance = 128) {
  set.AddGlyph(SlotOfCode(code), pixels, hAdvance, vAdvance);
}

}  // namespace mavu::imaging::test
