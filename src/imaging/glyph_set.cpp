#include "imaging/glyph_set.h"

#include <algorithm>

#include "base/byte_writer.h"

namespace mavu::imaging {

namespace {

constexpr int kCellsPerPage = GlyphSet::kGridCells * GlyphSet::kGridCells;

uint16_t EncodeLocation(int page, int cell) {
  const int column = cell % GlyphSet::kGridCells;
  const int row = cell / GlyphSet::kGridCells;
  return static_cast<uint16_t>(page << 8 | row << 4 | column);
}

}  // namespace

GlyphSet::GlyphSet()
    : location(kGlyphSlotCount),
      horizontalAdvance(kGlyphSlotCount),
      verticalAdvance(kGlyphSlotCount) {}

GlyphSet::GlyphSet(int cellWidth, int cellHeight) : GlyphSet() {
  const int maxCell = 0xFFFF / kGridCells;
  if (cellWidth < 1 || cellHeight < 1 || cellWidth > maxCell || cellHeight > maxCell) {
    throw FontError("glyph cell size out of range");
  }
  this->cellWidth = static_cast<uint16_t>(cellWidth);
  this->cellHeight = static_cast<uint16_t>(cellHeight);
  pageWidth = static_cast<uint16_t>(cellWidth * kGridCells);
  pageHeight = static_cast<uint16_t>(cellHeight * kGridCells);
}

GlyphSet GlyphSet::Read(base::ByteReader& in) {
  if (in.Remaining() < kHeaderSize) throw FontError("font file shorter than its header");
  GlyphSet set;
  auto reserved = in.Span(kReservedSize);
  std::copy(reserved.begin(), reserved.end(), set.reserved.begin());
  for (auto& loc : set.location) loc = in.U16();
  auto h = in.Span(kGlyphSlotCount);
  set.horizontalAdvance.assign(h.begin(), h.end());
  auto v = in.Span(kGlyphSlotCount);
  set.verticalAdvance.assign(v.begin(), v.end());
  for (auto& colour : set.palette) colour = in.U32();
  set.cellWidth = in.U16();
  set.cellHeight = in.U16();
  set.pageCount = in.U8();
  set.pageWidth = in.U16();
  set.pageHeight = in.U16();
  set.colourable = in.U8() != 0;
  if (!set.Present()) return set;
  if (set.cellWidth == 0 || set.cellHeight == 0) throw FontError("font glyph cell of size 0");
  const uint64_t pageBytes = uint64_t{set.pageWidth} * set.pageHeight * set.pageCount;
  if (pageBytes > in.Remaining()) throw FontError("font pages run past the end of the file");
  auto pages = in.Span(static_cast<size_t>(pageBytes));
  set.pages.assign(pages.begin(), pages.end());
  set.CheckLocations();
  return set;
}

void GlyphSet::CheckLocations() const {
  for (uint16_t loc : location) {
    if (loc == 0) continue;
    Cell cell = CellOf(loc);
    if (cell.page >= pageCount || cell.left + cellWidth > pageWidth ||
        cell.top + cellHeight > pageHeight) {
      throw FontError("font glyph location outside the pages");
    }
  }
}

GlyphSet::Cell GlyphSet::CellOf(uint16_t loc) const {
  const int column = loc & 0x0F;
  const int row = (loc >> 4) & 0x0F;
  return {loc >> 8, column * cellWidth, row * cellHeight};
}

base::Bytes GlyphSet::Write() const {
  base::ByteWriter out;
  out.Append(reserved);
  for (uint16_t loc : location) out.U16(loc);
  out.Append(horizontalAdvance);
  out.Append(verticalAdvance);
  for (uint32_t colour : palette) out.U32(colour);
  out.U16(cellWidth).U16(cellHeight).U8(pageCount).U16(pageWidth).U16(pageHeight);
  out.U8(colourable ? 1 : 0);
  out.Append(pages);
  return out.Take();
}

void GlyphSet::AddGlyph(int slot, std::span<const uint8_t> pixels, uint8_t hAdvance,
                        uint8_t vAdvance) {
  if (slot < 0 || slot >= kGlyphSlotCount) throw FontError("glyph slot out of range");
  if (pixels.size() != size_t{cellWidth} * cellHeight) throw FontError("glyph of the wrong size");
  const int page = nextCell_ / kCellsPerPage;
  const int cell = nextCell_ % kCellsPerPage;
  if (page >= kMaxPages) throw FontError("glyph set full: 255 pages");
  if (page >= pageCount) {
    pages.resize(pages.size() + size_t{pageWidth} * pageHeight);
    pageCount = static_cast<uint8_t>(page + 1);
  }
  const uint16_t loc = EncodeLocation(page, cell);
  const Cell place = CellOf(loc);
  for (int y = 0; y < cellHeight; ++y) {
    auto row = pixels.subspan(size_t{cellWidth} * y, cellWidth);
    size_t at = (size_t{pageHeight} * page + place.top + y) * pageWidth + place.left;
    std::copy(row.begin(), row.end(), pages.begin() + static_cast<ptrdiff_t>(at));
  }
  location[slot] = loc;
  horizontalAdvance[slot] = hAdvance;
  verticalAdvance[slot] = vAdvance;
  ++nextCell_;
}

}  // namespace mavu::imaging
