#pragma once

#include <cstdint>
#include <memory>

#include "base/bytes.h"
#include "imaging/argb8888.h"
#include "imaging/glyph_codes.h"
#include "imaging/glyph_set.h"

namespace mavu::imaging {

// A prerendered font: one glyph set for horizontal and one for vertical
// writing, either of which may be missing.
class TBitmapFont {
 public:
  // Each stream, when given, holds one ".of" file. Throws FontError.
  TBitmapFont(const base::Bytes* horizontal, const base::Bytes* vertical);

  // The cell size of the horizontal set if present, else of the vertical
  // one, else 32.
  int GlyphWidth() const;
  int GlyphHeight() const;
  const GlyphSet& Set(bool vertical) const { return vertical ? vertical_ : horizontal_; }

  // Draws the glyph of `code` with its cell's top-left at (x, y), 1:1 when
  // width x height is the cell size and scaled otherwise. Returns the advance
  // (0 x 0 when the set has no glyph for it). Spaces advance without drawing.
  TextExtent DrawGlyph(TARGB8888& dest, uint16_t code, bool vertical, uint32_t colour, int width,
                       int height, int x, int y) const;

 private:
  GlyphSet horizontal_;
  GlyphSet vertical_;
};

}  // namespace mavu::imaging
