#pragma once

#include <cstdint>

namespace mavu::imaging {

// How an outline glyph is placed in its cell. In vertical writing the
// full-width characters stand upright, except the long marks and brackets,
// which turn a quarter clockwise like all half-width characters, and the
// small punctuation, which moves to the cell's upper right.
enum class GlyphLayout : uint8_t { kHorizontal, kUpright, kRotated, kShifted };

GlyphLayout LayoutOf(uint16_t code, bool vertical);

}  // namespace mavu::imaging
