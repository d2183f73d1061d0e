#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/argb8888.h"

// The pixel arithmetic of text: bitmap-font pixels through their palette and
// the text colour, and outline-font coverage in 65 levels.
namespace mavu::imaging {

// d + (((s - d) * weight) >> 7) in each of the four channels (weight 0..127).
uint32_t LerpPixel(uint32_t d, uint32_t s, int weight);

// Coverage levels 0..64 of a rendered glyph; (left, top) is the top-left
// pixel relative to the glyph cell's top-left corner.
struct GlyphCoverage {
  static constexpr int kFull = 64;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> levels;  // row by row, top row first

  uint8_t At(int x, int y) const { return levels[static_cast<size_t>(y) * width + x]; }
};

// Level v > 0 moves each channel of the destination (alpha included) toward
// the colour with weight 2v - 1; level 0 leaves it alone. Clipped to the buffer.
void BlendCoverage(TARGB8888& dest, int x, int y, const GlyphCoverage& coverage, uint32_t colour);

// What each palette entry of a bitmap font becomes in one colour: the source
// s2 (with alpha forced to 255) and its weight, precomputed once per draw.
class GlyphInk {
 public:
  GlyphInk(const std::array<uint32_t, 256>& palette, bool colourable, uint32_t colour);
  uint32_t Blend(uint32_t d, uint8_t value) const {
    return LerpPixel(d, source_[value], weight_[value]);
  }

 private:
  std::array<uint32_t, 256> source_{};
  std::array<uint8_t, 256> weight_{};
};

}  // namespace mavu::imaging
