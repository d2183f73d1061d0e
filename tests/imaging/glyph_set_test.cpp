#include "imaging/glyph_set.h"

#include <gtest/gtest.h>

#include "base/byte_writer.h"
#include "glyph_set_maker.h"

namespace mavu::imaging {
namespace {

constexpr int kSlots = kGlyphSlotCount;

// Header fields of a hand-made file; everything not named here is 0.
struct HandMade {
  uint16_t cellWidth = 2;
  uint16_t cellHeight = 3;
  uint8_t pageCount = 2;
  uint16_t pageWidth = 32;
  uint16_t pageHeight = 48;
  uint8_t colourable = 1;
  int slot = 0x02A0;
  uint16_t location = 0x0112;  // page 1, row 1, column 2
  size_t pageBytes = size_t{2} * 32 * 48;
};

// Writes the file field by field, independently of GlyphSet::Write.
base::Bytes HandMadeFile(const HandMade& h) {
  base::ByteWriter out;
  for (int i = 0; i < 64; ++i) out.U8(static_cast<uint8_t>(0xA0 + i));
  for (int slot = 0; slot < kSlots; ++slot) {
    out.U16(slot == h.slot ? h.location : slot == 5 ? 0x0001 : 0);
  }
  for (int slot = 0; slot < kSlots; ++slot) out.U8(slot == h.slot ? 128 : slot == 5 ? 64 : 0);
  for (int slot = 0; slot < kSlots; ++slot) out.U8(slot == h.slot ? 100 : slot == 5 ? 32 : 0);
  for (uint32_t v = 0; v < 256; ++v) out.U32(v == 1 ? 0x80112233u : v == 255 ? 0xFFFFFFFFu : v);
  out.U16(h.cellWidth).U16(h.cellHeight).U8(h.pageCount).U16(h.pageWidth).U16(h.pageHeight);
  out.U8(h.colourable);
  for (size_t i = 0; i < h.pageBytes; ++i) out.U8(static_cast<uint8_t>(i * 7));
  return out.Take();
}

GlyphSet ReadBytes(const base::Bytes& bytes) {
  base::ByteReader in(bytes);
  return GlyphSet::Read(in);
}

TEST(GlyphSet, HeaderIs66634Bytes) {
  HandMade h;
  h.pageBytes = 0;
  EXPECT_EQ(HandMadeFile(h).size(), GlyphSet::kHeaderSize);
}

TEST(GlyphSet, ReadsEveryHeaderField) {
  auto set = ReadBytes(HandMadeFile({}));
  for (int i = 0; i < 64; ++i) EXPECT_EQ(set.reserved[i], 0xA0 + i);
  EXPECT_EQ(set.location[0x02A0], 0x0112);
  EXPECT_EQ(set.location[5], 0x0001);
  EXPECT_EQ(set.location[6], 0);
  EXPECT_EQ(set.horizontalAdvance[0x02A0], 128);
  EXPECT_EQ(set.horizontalAdvance[5], 64);
  EXPECT_EQ(set.verticalAdvance[0x02A0], 100);
  EXPECT_EQ(set.verticalAdvance[5], 32);
  EXPECT_EQ(set.palette[0], 0u);
  EXPECT_EQ(set.palette[1], 0x80112233u);
  EXPECT_EQ(set.palette[2], 2u);
  EXPECT_EQ(set.palette[255], 0xFFFFFFFFu);
  EXPECT_EQ(set.cellWidth, 2);
  EXPECT_EQ(set.cellHeight, 3);
  EXPECT_EQ(set.pageCount, 2);
  EXPECT_EQ(set.pageWidth, 32);
  EXPECT_EQ(set.pageHeight, 48);
  EXPECT_TRUE(set.colourable);
  EXPECT_TRUE(set.Present());
  ASSERT_EQ(set.pages.size(), size_t{2} * 32 * 48);
  EXPECT_EQ(set.pages[100], static_cast<uint8_t>(700));
}

TEST(GlyphSet, LocationNamesPageRowAndColumn) {
  auto set = ReadBytes(HandMadeFile({}));
  auto cell = set.CellOf(set.location[0x02A0]);
  EXPECT_EQ(cell.page, 1);
  EXPECT_EQ(cell.left, 2 * 2);  // column 2 of 2-pixel cells
  EXPECT_EQ(cell.top, 1 * 3);   // row 1 of 3-pixel cells
  // Page 1 starts 32 * 48 bytes in; pixel (4, 3) is 3 rows of 32 further.
  const size_t index = 32 * 48 + 3 * 32 + 4;
  EXPECT_EQ(set.PagePixel(1, 4, 3), static_cast<uint8_t>(index * 7));
}

TEST(GlyphSet, ColourableIsTheLastHeaderByte) {
  HandMade h;
  h.colourable = 0;
  EXPECT_FALSE(ReadBytes(HandMadeFile(h)).colourable);
}

TEST(GlyphSet, WritesTheBytesItRead) {
  auto bytes = HandMadeFile({});
  EXPECT_EQ(ReadBytes(bytes).Write(), bytes);
}

TEST(GlyphSet, PageCountZeroIsAnAbsentSetWithoutPages) {
  HandMade h;
  h.pageCount = 0;
  h.pageBytes = 10;  // ignored
  auto set = ReadBytes(HandMadeFile(h));
  EXPECT_FALSE(set.Present());
  EXPECT_TRUE(set.pages.empty());
}

TEST(GlyphSet, TruncatedHeaderIsALoadError) {
  auto bytes = HandMadeFile({});
  bytes.resize(GlyphSet::kHeaderSize - 1);
  EXPECT_THROW(ReadBytes(bytes), FontError);
  EXPECT_THROW(ReadBytes({}), FontError);
}

TEST(GlyphSet, PagesPastTheEndAreALoadError) {
  auto bytes = HandMadeFile({});
  bytes.pop_back();
  EXPECT_THROW(ReadBytes(bytes), FontError);
}

TEST(GlyphSet, HugePageCountAndSizeAreRefusedBeforeAllocating) {
  HandMade h;
  h.pageCount = 255;
  h.pageWidth = 0xFFFF;
  h.pageHeight = 0xFFFF;
  h.pageBytes = 16;
  EXPECT_THROW(ReadBytes(HandMadeFile(h)), FontError);
}

TEST(GlyphSet, LocationOnAMissingPageIsALoadError) {
  HandMade h;
  h.location = 0x0212;  // page 2 of 2
  EXPECT_THROW(ReadBytes(HandMadeFile(h)), FontError);
}

TEST(GlyphSet, CellOutsideItsPageIsALoadError) {
  HandMade h;
  h.pageWidth = 31;  // column 15 of 2-pixel cells would end at 32
  h.pageBytes = size_t{2} * 31 * 48;
  h.location = 0x010F;
  EXPECT_THROW(ReadBytes(HandMadeFile(h)), FontError);
  h.location = 0x010E;  // column 14 ends at 30
  EXPECT_NO_THROW(ReadBytes(HandMadeFile(h)));
  h.pageHeight = 47;  // row 15 of 3-pixel cells would end at 48
  h.pageBytes = size_t{2} * 31 * 47;
  h.location = 0x01F0;
  EXPECT_THROW(ReadBytes(HandMadeFile(h)), FontError);
}

TEST(GlyphSet, EmptyCellSizeWithPagesIsALoadError) {
  HandMade h;
  h.cellWidth = 0;
  EXPECT_THROW(ReadBytes(HandMadeFile(h)), FontError);
}

TEST(GlyphSet, AddGlyphSkipsLocationZeroAndFillsPagesRowByRow) {
  auto set = test::AlphaSet(2, 2);
  EXPECT_EQ(set.pageWidth, 32);
  EXPECT_EQ(set.pageHeight, 32);
  test::AddCode(set, 'A', {1, 2, 3, 4}, 64, 96);
  EXPECT_EQ(set.location['A'], 0x0001);
  EXPECT_EQ(set.horizontalAdvance['A'], 64);
  EXPECT_EQ(set.verticalAdvance['A'], 96);
  EXPECT_EQ(set.pageCount, 1);
  EXPECT_EQ(set.PagePixel(0, 2, 0), 1);
  EXPECT_EQ(set.PagePixel(0, 3, 0), 2);
  EXPECT_EQ(set.PagePixel(0, 2, 1), 3);
  EXPECT_EQ(set.PagePixel(0, 3, 1), 4);
  for (int i = 2; i < 16; ++i) test::AddCode(set, static_cast<uint16_t>(i), {0, 0, 0, 0});
  test::AddCode(set, 0x82A0, {9, 9, 9, 9});  // the 17th cell: row 1, column 0
  EXPECT_EQ(set.location[0x02A0], 0x0010);
  EXPECT_EQ(set.PagePixel(0, 0, 2), 9);
}

TEST(GlyphSet, AddGlyphOpensPagesAndStopsAt255) {
  auto set = test::AlphaSet(1, 1);
  for (int slot = 1; slot < 256; ++slot) set.AddGlyph(slot, std::vector<uint8_t>{1}, 128, 128);
  EXPECT_EQ(set.pageCount, 1);
  set.AddGlyph(256, std::vector<uint8_t>{1}, 128, 128);
  EXPECT_EQ(set.pageCount, 2);
  EXPECT_EQ(set.location[256], 0x0100);
  for (int n = 257; n < 255 * 256; ++n) set.AddGlyph(n % kSlots, std::vector<uint8_t>{1}, 1, 1);
  EXPECT_EQ(set.pageCount, 255);
  EXPECT_THROW(set.AddGlyph(1, std::vector<uint8_t>{1}, 1, 1), FontError);
}

TEST(GlyphSet, AddGlyphRefusesAWrongSizeOrSlot) {
  auto set = test::AlphaSet(2, 2);
  EXPECT_THROW(set.AddGlyph(1, std::vector<uint8_t>{1, 2, 3}, 1, 1), FontError);
  EXPECT_THROW(set.AddGlyph(kSlots, std::vector<uint8_t>{1, 2, 3, 4}, 1, 1), FontError);
  EXPECT_THROW(GlyphSet(0, 2), FontError);
  EXPECT_THROW(GlyphSet(2, 4096), FontError);
}

TEST(GlyphSet, WrittenSetReadsBack) {
  auto set = test::AlphaSet(3, 2);
  test::AddCode(set, 0x889F, {0, 50, 100, 150, 200, 255}, 120, 110);
  set.reserved[7] = 0x42;
  auto back = ReadBytes(set.Write());
  EXPECT_EQ(back.Write(), set.Write());
  EXPECT_EQ(back.location[0x089F], 0x0001);
  EXPECT_EQ(back.PagePixel(0, 3 + 2, 1), 255);
  EXPECT_EQ(back.reserved[7], 0x42);
}

}  // namespace
}  // namespace mavu::imaging
