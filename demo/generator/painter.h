#pragma once

#include <cstdint>
#include <span>

#include "demo_palette.h"
#include "imaging/argb8888.h"
#include "shape.h"

namespace mavu::demo {

// Paints shapes over a picture with straight alpha, as a picture editor's
// "normal" layer mode does.
class Painter {
 public:
  // `origin` is where the drawing's (0, 0) lies in the picture.
  explicit Painter(imaging::TARGB8888& canvas, Point origin = {0, 0})
      : canvas_(canvas), origin_(origin) {}

  // Every pixel of a row takes the gradient's colour at that row (rows above
  // and below the stops take the end colours).
  void Gradient(std::span<const GradientStop> stops);
  // Lays the colour over the picture inside the shape; its edge fades out
  // over `feather` pixels.
  void Fill(const Shape& shape, uint32_t colour, float feather = 1.0f);
  // The same with the colour of the gradient at each row.
  void Fill(const Shape& shape, std::span<const GradientStop> stops, float feather = 1.0f);

 private:
  template <typename ColourAt>
  void FillWith(const Shape& shape, float feather, ColourAt colourAt);
  void Over(int x, int y, uint32_t colour, float coverage);

  imaging::TARGB8888& canvas_;
  Point origin_;
};

}  // namespace mavu::demo
