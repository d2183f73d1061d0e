#include "imaging/bitmap_font.h"

#include "imaging/glyph_blend.h"
#include "imaging/span_clip.h"

namespace mavu::imaging {

namespace {

constexpr int kDefaultGlyphSize = 32;
constexpr int kAdvanceShift = 7;  // advances are in 1/128 of the glyph size

GlyphSet ReadSet(const base::Bytes* file) {
  if (!file) return GlyphSet();
  base::ByteReader in(*file);
  return GlyphSet::Read(in);
}

// The pixels drawn for one glyph: its cell, in the page the cell lies in.
struct CellSource {
  const GlyphSet& set;
  GlyphSet::Cell cell;
  GlyphInk ink;

  uint8_t Value(int x, int y) const { return set.PagePixel(cell.page, x, y); }
};

// Pairs whose two page values are 0 are left alone; an odd last column is
// not drawn, as in every pair-wise draw.
void DrawCellUnscaled(TARGB8888& dest, const CellSource& src, int x, int y) {
  const GlyphSet& set = src.set;
  RectF rect{static_cast<float>(src.cell.left), static_cast<float>(src.cell.top),
             static_cast<float>(src.cell.left + set.cellWidth),
             static_cast<float>(src.cell.top + set.cellHeight)};
  auto span =
      detail::ClipUnstretched(rect, {static_cast<float>(x), static_cast<float>(y)},
                              {set.pageWidth, set.pageHeight}, {dest.Width(), dest.Height()});
  if (!span) return;
  for (int j = 0; j < span->height; ++j) {
    uint32_t* row = dest.Row(span->dstY + j) + span->dstX;
    for (int k = 0; k + 1 < span->width; k += 2) {
      const uint8_t v0 = src.Value(span->srcX + k, span->srcY + j);
      const uint8_t v1 = src.Value(span->srcX + k + 1, span->srcY + j);
      if ((v0 | v1) == 0) continue;
      row[k] = src.ink.Blend(row[k], v0);
      row[k + 1] = src.ink.Blend(row[k + 1], v1);
    }
  }
}

// Nearest-neighbour sampling in 22.10 fixed point, as stretched draws do.
void DrawCellScaled(TARGB8888& dest, const CellSource& src, int x, int y, int width, int height) {
  const GlyphSet& set = src.set;
  RectF from{static_cast<float>(src.cell.left), static_cast<float>(src.cell.top),
             static_cast<float>(src.cell.left + set.cellWidth),
             static_cast<float>(src.cell.top + set.cellHeight)};
  RectF to{static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + width),
           static_cast<float>(y + height)};
  auto span = detail::ClipStretched(from, to, {set.pageWidth, set.pageHeight},
                                    {dest.Width(), dest.Height()});
  if (!span) return;
  for (int j = 0; j < span->height; ++j) {
    const int sy =
        span->baseY + static_cast<int>((span->phaseY + j * span->stepY) >> detail::kFixedShift);
    uint32_t* row = dest.Row(span->dstY + j) + span->dstX;
    for (int k = 0; k + 1 < span->width; k += 2) {
      const int sx0 =
          span->baseX + static_cast<int>((span->phaseX + k * span->stepX) >> detail::kFixedShift);
      const int sx1 = span->baseX + static_cast<int>((span->phaseX + (k + 1) * span->stepX) >>
                                                     detail::kFixedShift);
      const uint8_t v0 = src.Value(sx0, sy), v1 = src.Value(sx1, sy);
      if ((v0 | v1) == 0) continue;
      row[k] = src.ink.Blend(row[k], v0);
      row[k + 1] = src.ink.Blend(row[k + 1], v1);
    }
  }
}

}  // namespace

TBitmapFont::TBitmapFont(const base::Bytes* horizontal, const base::Bytes* vertical)
    : horizontal_(ReadSet(horizontal)), vertical_(ReadSet(vertical)) {}

int TBitmapFont::GlyphWidth() const {
  if (horizontal_.Present()) return horizontal_.cellWidth;
  return vertical_.Present() ? vertical_.cellWidth : kDefaultGlyphSize;
}

int TBitmapFont::GlyphHeight() const {
  if (horizontal_.Present()) return horizontal_.cellHeight;
  return vertical_.Present() ? vertical_.cellHeight : kDefaultGlyphSize;
}

// The advance scales with the size the glyph is drawn at, so that a font
// drawn larger than its cells does not overlap itself.
TextExtent TBitmapFont::DrawGlyph(TARGB8888& dest, uint16_t code, bool vertical, uint32_t colour,
                                  int width, int height, int x, int y) const {
  const GlyphSet& set = Set(vertical);
  if (!set.Present() || width < 1 || height < 1) return {};
  const int slot = SlotOfCode(code);
  const uint16_t location = set.location[slot];
  if (location == 0) return {};
  TextExtent advance{(width * set.horizontalAdvance[slot]) >> kAdvanceShift,
                     (height * set.verticalAdvance[slot]) >> kAdvanceShift};
  const bool space = code == kSpaceCode || code == kFullWidthSpaceCode;
  if (space || (colour >> 24) == 0) return advance;
  CellSource src{set, set.CellOf(location), GlyphInk(set.palette, set.colourable, colour)};
  if (width == set.cellWidth && height == set.cellHeight) {
    DrawCellUnscaled(dest, src, x, y);
  } else {
    DrawCellScaled(dest, src, x, y, width, height);
  }
  return advance;
}

}  // namespace mavu::imaging
