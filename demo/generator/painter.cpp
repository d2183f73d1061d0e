#include "painter.h"

#include <algorithm>
#include <cmath>

namespace mavu::demo {
namespace {

float Channel(uint32_t colour, int shift) {
  return static_cast<float>((colour >> shift) & 0xFF);
}

uint32_t Byte(float value, int shift) {
  return static_cast<uint32_t>(std::clamp(std::lround(value), 0L, 255L)) << shift;
}

}  // namespace

void Painter::Gradient(std::span<const GradientStop> stops) {
  for (int y = 0; y < canvas_.Height(); ++y) {
    const uint32_t colour = GradientAt(stops, y - static_cast<int>(origin_.y));
    std::fill_n(canvas_.Row(y), canvas_.Width(), colour);
  }
}

void Painter::Fill(const Shape& shape, uint32_t colour, float feather) {
  FillWith(shape, feather, [colour](int) { return colour; });
}

void Painter::Fill(const Shape& shape, std::span<const GradientStop> stops, float feather) {
  FillWith(shape, feather, [stops](int y) { return GradientAt(stops, y); });
}

// Shapes and gradient rows are in the drawing's coordinates, `origin_` away
// from the picture's.
template <typename ColourAt>
void Painter::FillWith(const Shape& shape, float feather, ColourAt colourAt) {
  const int dx = static_cast<int>(origin_.x);
  const int dy = static_cast<int>(origin_.y);
  const int margin = static_cast<int>(std::ceil(feather));
  const int top = std::max(shape.bounds.top - margin + dy, 0);
  const int bottom = std::min(shape.bounds.bottom + margin + dy, canvas_.Height());
  const int left = std::max(shape.bounds.left - margin + dx, 0);
  const int right = std::min(shape.bounds.right + margin + dx, canvas_.Width());
  for (int y = top; y < bottom; ++y) {
    const uint32_t colour = colourAt(y - dy);
    for (int x = left; x < right; ++x) {
      // Sampled at the pixel's centre; coverage runs from 1 inside to 0
      // outside across the feather.
      const float distance = shape.distance({x - dx + 0.5f, y - dy + 0.5f});
      const float coverage = std::clamp(0.5f - distance / feather, 0.0f, 1.0f);
      if (coverage > 0) Over(x, y, colour, coverage);
    }
  }
}

void Painter::Over(int x, int y, uint32_t colour, float coverage) {
  const uint32_t under = canvas_.Pixel(x, y);
  const float sa = Channel(colour, 24) / 255 * coverage;
  const float da = Channel(under, 24) / 255;
  const float a = sa + da * (1 - sa);
  if (a <= 0) return;
  uint32_t out = Byte(a * 255, 24);
  for (int shift = 0; shift < 24; shift += 8) {
    out |= Byte((Channel(colour, shift) * sa + Channel(under, shift) * da * (1 - sa)) / a, shift);
  }
  canvas_.SetPixel(x, y, out);
}

}  // namespace mavu::demo
