#include "imaging/glyph_blend.h"

#include <algorithm>

namespace mavu::imaging {

namespace {

constexpr uint32_t kRgbMask = 0x00FFFFFF;
constexpr uint32_t kAlphaMask = 0xFF000000;

int Channel(uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFF);
}

}  // namespace

uint32_t LerpPixel(uint32_t d, uint32_t s, int weight) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int dc = Channel(d, shift);
    // >> on a negative int rounds toward minus infinity, as the packed form does.
    const int v = dc + (((Channel(s, shift) - dc) * weight) >> 7);
    out |= static_cast<uint32_t>(v) << shift;
  }
  return out;
}

void BlendCoverage(TARGB8888& dest, int x, int y, const GlyphCoverage& coverage, uint32_t colour) {
  const int left = x + coverage.left, top = y + coverage.top;
  const int x0 = std::max(0, -left), x1 = std::min(coverage.width, dest.Width() - left);
  const int y0 = std::max(0, -top), y1 = std::min(coverage.height, dest.Height() - top);
  for (int gy = y0; gy < y1; ++gy) {
    uint32_t* row = dest.Row(top + gy);
    for (int gx = x0; gx < x1; ++gx) {
      const int v = coverage.At(gx, gy);
      if (v == 0) continue;
      row[left + gx] = LerpPixel(row[left + gx], colour, 2 * v - 1);
    }
  }
}

// s = min(255, P + T) with T the colour's RGB when colourable; s2 = (s * K) >> 8
// with K the colour, its RGB forced to 255 when colourable; weight s2A >> 1.
GlyphInk::GlyphInk(const std::array<uint32_t, 256>& palette, bool colourable, uint32_t colour) {
  const uint32_t tint = colourable ? colour & kRgbMask : 0;
  const uint32_t scale = colourable ? colour | kRgbMask : colour;
  for (size_t i = 0; i < palette.size(); ++i) {
    uint32_t s2 = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const int s = std::min(255, Channel(palette[i], shift) + Channel(tint, shift));
      s2 |= static_cast<uint32_t>((s * Channel(scale, shift)) >> 8) << shift;
    }
    weight_[i] = static_cast<uint8_t>(s2 >> 25);
    source_[i] = s2 | kAlphaMask;
  }
}

}  // namespace mavu::imaging
