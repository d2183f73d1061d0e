#include "imaging/glyph_blend.h"

#include <gtest/gtest.h>

namespace mavu::imaging {
namespace {

TEST(GlyphBlend, LerpRoundsTowardMinusInfinity) {
  EXPECT_EQ(LerpPixel(0x00000000, 0xFFFFFFFF, 127), 0xFDFDFDFDu);  // (255 * 127) >> 7 = 253
  // 255 + ((-255 * 64) >> 7) = 255 - 128 = 127
  EXPECT_EQ(LerpPixel(0xFFFFFFFF, 0x00000000, 64), 0x7F7F7F7Fu);
  EXPECT_EQ(LerpPixel(0x12345678, 0xFFFFFFFF, 0), 0x12345678u);
}

// Destination 0x80402010, colour 0xFF0000FF, weight 2v - 1.
TEST(GlyphBlend, CoverageLevelsBlendWithWeightTwoVMinusOne) {
  TARGB8888 dest;
  dest.SetSize(4, 1);
  for (int x = 0; x < 4; ++x) dest.SetPixel(x, 0, 0x80402010);
  GlyphCoverage coverage{0, 0, 4, 1, {0, 1, 32, 64}};
  BlendCoverage(dest, 0, 0, coverage, 0xFF0000FF);
  EXPECT_EQ(dest.Pixel(0, 0), 0x80402010u);
  EXPECT_EQ(dest.Pixel(1, 0), 0x803F1F11u);  // w 1: B 16 + (239 >> 7), R 64 + (-64 >> 7)
  EXPECT_EQ(dest.Pixel(2, 0), 0xBE201085u);  // w 63
  EXPECT_EQ(dest.Pixel(3, 0), 0xFE0000FDu);  // w 127
}

TEST(GlyphBlend, CoverageIsPlacedAndClippedToTheBuffer) {
  TARGB8888 dest;
  dest.SetSize(3, 3);
  GlyphCoverage coverage{-1, 1, 3, 3, std::vector<uint8_t>(9, 64)};
  BlendCoverage(dest, 0, 0, coverage, 0xFFFFFFFF);
  // Covered: columns 0..1 (x -1 is outside), rows 1..2 (row 3 is outside).
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      const bool inside = x <= 1 && y >= 1;
      EXPECT_EQ(dest.Pixel(x, y), inside ? 0xFDFDFDFDu : 0u) << x << "," << y;
    }
  }
  BlendCoverage(dest, -100, 100, coverage, 0xFFFFFFFF);  // wholly outside: nothing
}

// Colourable: s = min(255, P + colour RGB); s2 = (s * (alpha, 255, 255, 255)) >> 8.
TEST(GlyphBlend, ColourableInkAddsTheColourToThePalette) {
  std::array<uint32_t, 256> palette{};
  palette[7] = 0x80000000;
  GlyphInk ink(palette, true, 0xFF336699);
  // s2 = (127, 0x32, 0x65, 0x98), weight 63, target alpha 255; from 0:
  // A 255 * 63 >> 7 = 125, R 50 * 63 >> 7 = 24, G 101 * 63 >> 7 = 49, B 152 * 63 >> 7 = 74.
  EXPECT_EQ(ink.Blend(0x00000000, 7), 0x7D18314Au);
}

// Not colourable: s2 = (P * colour) >> 8.
TEST(GlyphBlend, PlainInkScalesThePaletteByTheColour) {
  std::array<uint32_t, 256> palette{};
  palette[1] = 0xFF204060;
  GlyphInk ink(palette, false, 0x80FFFFFF);
  // s2 = (127, 31, 63, 95), weight 63; from 0xFF: R 255 + ((31 - 255) * 63 >> 7) = 144 ...
  EXPECT_EQ(ink.Blend(0xFFFFFFFF, 1), 0xFF90A0B0u);
}

TEST(GlyphBlend, InkOfATransparentEntryLeavesThePixel) {
  std::array<uint32_t, 256> palette{};
  GlyphInk ink(palette, true, 0xFFFFFFFF);
  EXPECT_EQ(ink.Blend(0x12345678, 0), 0x12345678u);
}

}  // namespace
}  // namespace mavu::imaging
