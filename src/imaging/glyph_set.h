#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/bytes.h"
#include "imaging/glyph_codes.h"

namespace mavu::imaging {

// A font file (".of") that cannot be used: short, inconsistent or hostile.
class FontError : public base::FormatError {
 public:
  explicit FontError(const std::string& what) : base::FormatError(what) {}
};

// One prerendered glyph set, as stored in an ".of" file: a fixed header
// followed by pages of 8-bit palette indices.
//
//   offset  size            field
//   0       64              reserved
//   64      16384 x u16     location per slot: high byte page, low byte cell
//                           (low nibble column, high nibble row); 0 = no glyph
//   32832   16384 x u8      horizontal advance, 1/128 of the cell width
//   49216   16384 x u8      vertical advance, 1/128 of the cell height
//   65600   256 x u32       palette, ARGB per pixel value
//   66624   u16, u16        cell width, cell height
//   66628   u8              page count (0 = the set is absent)
//   66629   u16, u16        page width, page height
//   66633   u8              colourable (1 = the text colour's RGB is added)
//   66634   pages           count x width x height bytes, top row first
class GlyphSet {
 public:
  static constexpr size_t kHeaderSize = 66634;
  static constexpr size_t kReservedSize = 64;
  static constexpr int kPaletteSize = 256;
  static constexpr int kGridCells = 16;  // a page is a 16 x 16 grid of cells
  static constexpr int kMaxPages = 255;
  static constexpr int kFullAdvance = 128;

  GlyphSet();
  // An empty set whose pages are 16 x 16 cells of the given size, ready for AddGlyph.
  GlyphSet(int cellWidth, int cellHeight);

  // Reads one set from the reader's position. Throws FontError when the
  // header is short, the pages run past the end, or a glyph location points
  // outside the pages.
  static GlyphSet Read(base::ByteReader& in);
  base::Bytes Write() const;

  // Puts the cellWidth x cellHeight pixels (top row first) into the next free
  // cell, adding a page when needed, and points the slot at it. Throws
  // FontError when all 255 pages are full.
  void AddGlyph(int slot, std::span<const uint8_t> pixels, uint8_t horizontalAdvance,
                uint8_t verticalAdvance);

  bool Present() const { return pageCount > 0; }
  // Where a slot's glyph lies; valid only for a non-zero location.
  struct Cell {
    int page = 0;
    int left = 0;
    int top = 0;
  };
  Cell CellOf(uint16_t location) const;
  uint8_t PagePixel(int page, int x, int y) const {
    return pages[(static_cast<size_t>(page) * pageHeight + y) * pageWidth + x];
  }

  std::array<uint8_t, kReservedSize> reserved{};
  std::vector<uint16_t> location;
  std::vector<uint8_t> horizontalAdvance;
  std::vector<uint8_t> verticalAdvance;
  std::array<uint32_t, kPaletteSize> palette{};
  uint16_t cellWidth = 0;
  uint16_t cellHeight = 0;
  uint8_t pageCount = 0;
  uint16_t pageWidth = 0;
  uint16_t pageHeight = 0;
  bool colourable = false;
  std::vector<uint8_t> pages;

 private:
  void CheckLocations() const;

  int nextCell_ = 1;  // location 0 means "no glyph", so cell 0 of page 0 stays unused
};

}  // namespace mavu::imaging
