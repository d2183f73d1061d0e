#include "imaging/bitmap_font.h"

#include <gtest/gtest.h>

#include "glyph_set_maker.h"

namespace mavu::imaging {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
// Value 255, white text, from transparent black: s2 = 254 per channel, weight
// 127, target alpha 255: alpha (255 * 127) >> 7 = 253, RGB (254 * 127) >> 7 = 252.
constexpr uint32_t kFullInkOnBlack = 0xFDFCFCFC;

TBitmapFont FontOf(const GlyphSet& horizontal) {
  auto bytes = horizontal.Write();
  return TBitmapFont(&bytes, nullptr);
}

TARGB8888 Blank(int width, int height) {
  TARGB8888 buffer;
  buffer.SetSize(width, height);
  return buffer;
}

TEST(BitmapFont, DrawsTheCellOneToOneAtItsSize) {
  auto set = test::AlphaSet(4, 2);
  test::AddCode(set, 'A',
                {255, 255, 0, 0,  //
                 0, 0, 255, 255});
  auto font = FontOf(set);
  auto dest = Blank(8, 4);
  auto advance = font.DrawGlyph(dest, 'A', false, kWhite, 4, 2, 2, 1);
  EXPECT_EQ(advance, (TextExtent{4, 2}));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool ink = (y == 1 && (x == 2 || x == 3)) || (y == 2 && (x == 4 || x == 5));
      EXPECT_EQ(dest.Pixel(x, y), ink ? kFullInkOnBlack : 0u) << x << "," << y;
    }
  }
}

TEST(BitmapFont, PairsOfZeroValuesAreSkippedButMixedPairsUseEntryZero) {
  auto set = test::AlphaSet(4, 1);
  set.colourable = false;
  set.palette[0] = 0xFF00FF00;  // only seen in a pair with a non-zero partner
  set.palette[9] = 0xFF0000FF;
  test::AddCode(set, 'A', {0, 0, 0, 9});
  auto font = FontOf(set);
  auto dest = Blank(4, 1);
  font.DrawGlyph(dest, 'A', false, kWhite, 4, 1, 0, 0);
  EXPECT_EQ(dest.Pixel(0, 0), 0u);
  EXPECT_EQ(dest.Pixel(1, 0), 0u);
  // s2 = (254, 0, 254, 0) and (254, 0, 0, 254), weight 127, alpha to 255.
  EXPECT_EQ(dest.Pixel(2, 0), 0xFD00FC00u);
  EXPECT_EQ(dest.Pixel(3, 0), 0xFD0000FCu);
}

TEST(BitmapFont, OddCellWidthLeavesTheLastColumn) {
  auto set = test::AlphaSet(3, 1);
  test::AddCode(set, 'A', {255, 255, 255});
  auto font = FontOf(set);
  auto dest = Blank(4, 1);
  font.DrawGlyph(dest, 'A', false, kWhite, 3, 1, 0, 0);
  EXPECT_EQ(dest.Pixel(1, 0), kFullInkOnBlack);
  EXPECT_EQ(dest.Pixel(2, 0), 0u);
}

TEST(BitmapFont, AdvanceIsInHundredTwentyEighthsOfTheDrawnSize) {
  auto set = test::AlphaSet(4, 2);
  test::AddCode(set, 'A', std::vector<uint8_t>(8, 0), 96, 64);
  auto font = FontOf(set);
  auto dest = Blank(16, 16);
  EXPECT_EQ(font.DrawGlyph(dest, 'A', false, kWhite, 4, 2, 0, 0), (TextExtent{3, 1}));
  // (8 * 96) >> 7 = 6, (4 * 64) >> 7 = 2; (5 * 96) >> 7 = 3.75 -> 3.
  EXPECT_EQ(font.DrawGlyph(dest, 'A', false, kWhite, 8, 4, 0, 0), (TextExtent{6, 2}));
  EXPECT_EQ(font.DrawGlyph(dest, 'A', false, kWhite, 5, 3, 0, 0), (TextExtent{3, 1}));
}

TEST(BitmapFont, OtherSizesSampleTheNearestPagePixel) {
  auto set = test::AlphaSet(2, 2);
  test::AddCode(set, 'A',
                {255, 0,  //
                 0, 255});
  auto font = FontOf(set);
  auto dest = Blank(4, 4);
  font.DrawGlyph(dest, 'A', false, kWhite, 4, 4, 0, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool ink = (x < 2) == (y < 2);
      EXPECT_EQ(dest.Pixel(x, y), ink ? kFullInkOnBlack : 0u) << x << "," << y;
    }
  }
}

TEST(BitmapFont, MissingGlyphAdvancesNothingAndDrawsNothing) {
  auto set = test::AlphaSet(2, 2);
  test::AddCode(set, 'A', {255, 255, 255, 255});
  auto font = FontOf(set);
  auto dest = Blank(2, 2);
  EXPECT_EQ(font.DrawGlyph(dest, 'B', false, kWhite, 2, 2, 0, 0), TextExtent{});
  // 0x80FF and 0xA000 share slot 0, which never holds a glyph.
  EXPECT_EQ(font.DrawGlyph(dest, 0x80FF, false, kWhite, 2, 2, 0, 0), TextExtent{});
  EXPECT_EQ(font.DrawGlyph(dest, 0xA000, false, kWhite, 2, 2, 0, 0), TextExtent{});
  EXPECT_EQ(dest.Pixel(0, 0), 0u);
}

TEST(BitmapFont, DoubleByteCodesFindTheirSlots) {
  auto set = test::AlphaSet(2, 1);
  test::AddCode(set, 0x8100, {255, 255}, 128, 128);
  test::AddCode(set, 0x9FFF, {255, 255}, 64, 128);
  test::AddCode(set, 0xE000, {255, 255}, 128, 64);
  test::AddCode(set, 0xFFFF, {255, 255}, 192, 192);
  auto font = FontOf(set);
  auto dest = Blank(4, 4);
  EXPECT_EQ(font.DrawGlyph(dest, 0x8100, false, kWhite, 2, 1, 0, 0), (TextExtent{2, 1}));
  EXPECT_EQ(font.DrawGlyph(dest, 0x9FFF, false, kWhite, 2, 1, 0, 0), (TextExtent{1, 1}));
  EXPECT_EQ(font.DrawGlyph(dest, 0xE000, false, kWhite, 2, 1, 0, 0), (TextExtent{2, 0}));
  EXPECT_EQ(font.DrawGlyph(dest, 0xFFFF, false, kWhite, 2, 1, 0, 0), (TextExtent{3, 1}));
  EXPECT_EQ(font.DrawGlyph(dest, 0xA000, false, kWhite, 2, 1, 0, 0), TextExtent{});
}

TEST(BitmapFont, SpacesAdvanceByTheirSlotWithoutDrawing) {
  auto set = test::AlphaSet(2, 2);
  test::AddCode(set, kSpaceCode, {255, 255, 255, 255}, 64, 128);
  test::AddCode(set, kFullWidthSpaceCode, {255, 255, 255, 255}, 128, 128);
  auto font = FontOf(set);
  auto dest = Blank(2, 2);
  EXPECT_EQ(font.DrawGlyph(dest, kSpaceCode, false, kWhite, 2, 2, 0, 0), (TextExtent{1, 2}));
  EXPECT_EQ(font.DrawGlyph(dest, kFullWidthSpaceCode, false, kWhite, 2, 2, 0, 0),
            (TextExtent{2, 2}));
  EXPECT_EQ(dest.Pixel(0, 0), 0u);
}

TEST(BitmapFont, TransparentColourAdvancesWithoutDrawing) {
  auto set = test::AlphaSet(2, 2);
  test::AddCode(set, 'A', {255, 255, 255, 255});
  auto font = FontOf(set);
  auto dest = Blank(2, 2);
  EXPECT_EQ(font.DrawGlyph(dest, 'A', false, 0x00FFFFFF, 2, 2, 0, 0), (TextExtent{2, 2}));
  EXPECT_EQ(dest.Pixel(0, 0), 0u);
}

TEST(BitmapFont, VerticalWritingUsesTheVerticalSet) {
  auto horizontal = test::AlphaSet(2, 2);
  test::AddCode(horizontal, 'A', {255, 255, 0, 0});
  auto vertical = test::AlphaSet(2, 2);
  test::AddCode(vertical, 'A', {0, 0, 255, 255}, 128, 64);
  auto h = horizontal.Write(), v = vertical.Write();
  TBitmapFont font(&h, &v);
  auto dest = Blank(2, 2);
  EXPECT_EQ(font.DrawGlyph(dest, 'A', true, kWhite, 2, 2, 0, 0), (TextExtent{2, 1}));
  EXPECT_EQ(dest.Pixel(0, 0), 0u);
  EXPECT_EQ(dest.Pixel(0, 1), kFullInkOnBlack);
}

TEST(BitmapFont, MissingSetDrawsNothing) {
  auto set = test::AlphaSet(2, 2);
  test::AddCode(set, 'A', {255, 255, 255, 255});
  auto font = FontOf(set);
  auto dest = Blank(2, 2);
  EXPECT_EQ(font.DrawGlyph(dest, 'A', true, kWhite, 2, 2, 0, 0), TextExtent{});
}

TEST(BitmapFont, GlyphSizeComesFromTheHorizontalSetFirst) {
  auto horizontal = test::AlphaSet(6, 7);
  test::AddCode(horizontal, 'A', std::vector<uint8_t>(42, 0));
  auto vertical = test::AlphaSet(3, 4);
  test::AddCode(vertical, 'A', std::vector<uint8_t>(12, 0));
  auto h = horizontal.Write(), v = vertical.Write();
  TBitmapFont both(&h, &v);
  EXPECT_EQ(both.GlyphWidth(), 6);
  EXPECT_EQ(both.GlyphHeight(), 7);
  TBitmapFont verticalOnly(nullptr, &v);
  EXPECT_EQ(verticalOnly.GlyphWidth(), 3);
  EXPECT_EQ(verticalOnly.GlyphHeight(), 4);
  TBitmapFont none(nullptr, nullptr);
  EXPECT_EQ(none.GlyphWidth(), 32);
  EXPECT_EQ(none.GlyphHeight(), 32);
}

TEST(BitmapFont, GlyphsAreClippedAtTheBufferEdges) {
  auto set = test::AlphaSet(4, 4);
  test::AddCode(set, 'A', std::vector<uint8_t>(16, 255));
  auto font = FontOf(set);
  auto dest = Blank(4, 4);
  font.DrawGlyph(dest, 'A', false, kWhite, 4, 4, -2, 2);
  EXPECT_EQ(dest.Pixel(0, 2), kFullInkOnBlack);
  EXPECT_EQ(dest.Pixel(1, 3), kFullInkOnBlack);
  EXPECT_EQ(dest.Pixel(2, 2), 0u);
  EXPECT_EQ(dest.Pixel(0, 1), 0u);
  font.DrawGlyph(dest, 'A', false, kWhite, 9, 9, -3, -5);  // scaled and clipped
  font.DrawGlyph(dest, 'A', false, kWhite, 4, 4, 100, 100);
}

TEST(BitmapFont, CorruptFileIsALoadError) {
  base::Bytes shortFile(100);
  EXPECT_THROW(TBitmapFont(&shortFile, nullptr), FontError);
  EXPECT_THROW(TBitmapFont(nullptr, &shortFile), FontError);
}

}  // namespace
}  // namespace mavu::imaging
