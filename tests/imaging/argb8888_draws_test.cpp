#include <gtest/gtest.h>

#include <vector>

#include "imaging/argb8888.h"

// Draws, fills and effects on hand-computed pixels. Channel values are worked
// out in the comments as A, R, G, B.
namespace mavu::imaging {
namespace {

TARGB8888 Filled(int width, int height, uint32_t colour) {
  TARGB8888 image;
  image.SetSize(width, height);
  image.FillSolid({0, 0, static_cast<float>(width), static_cast<float>(height)}, colour);
  return image;
}

// Source s and destination d of the formula tests:
// s = (200, 50, 255, 0), d = (100, 200, 0, 1).
constexpr uint32_t kS = 0xC832FF00u;
constexpr uint32_t kD = 0x64C80001u;

uint32_t DrawOne(void (TARGB8888::*draw)(TARGB8888&, const RectF&, PointF, int) const, uint32_t s,
                 uint32_t d, int opacity) {
  TARGB8888 src = Filled(2, 1, s), dst = Filled(2, 1, d);
  (src.*draw)(dst, {0, 0, 2, 1}, {0, 0}, opacity);
  return dst.Pixel(0, 0);
}

class Interlace : public ::testing::Test {
 protected:
  void TearDown() override {
    TARGB8888::InterlaceActive = false;
    TARGB8888::InterlaceOff = false;
    TARGB8888::InterlaceField = 0;
  }
};

// --- copy ---------------------------------------------------------------

TEST(DrawCopy, FullOpacityCopiesAllFourChannels) {
  EXPECT_EQ(DrawOne(&TARGB8888::DrawCopy, 0x12345678u, kD, 255), 0x12345678u);
}

TEST(DrawCopy, PartialOpacityBlendsWithHalfTheOpacityAsWeight) {
  // w = 128 >> 1 = 64: A 100 + (100*64 >> 7) = 150; R 200 + (-150*64 >> 7) = 125;
  // G 0 + (255*64 >> 7) = 127; B 1 + (-1*64 >> 7) = 1 - 1 = 0 (the shift floors).
  EXPECT_EQ(DrawOne(&TARGB8888::DrawCopy, kS, kD, 128), 0x967D7F00u);
}

TEST(DrawCopy, OpacityBelowOneDrawsNothing) {
  EXPECT_EQ(DrawOne(&TARGB8888::DrawCopy, kS, kD, 0), kD);
  EXPECT_EQ(DrawOne(&TARGB8888::DrawCopy, kS, kD, -5), kD);
}

TEST(DrawCopy, OpacityAboveFullCountsAsFull) {
  EXPECT_EQ(DrawOne(&TARGB8888::DrawCopy, kS, kD, 1000), kS);
}

// --- add ------------------------------------------------------------------

TEST(DrawAdd, FullOpacitySaturates) {
  // A 300 -> 255, R 250, G 255, B 1.
  EXPECT_EQ(DrawOne(&TARGB8888::DrawAdd, kS, kD, 255), 0xFFFAFF01u);
}

TEST(DrawAdd, PartialOpacityScalesTheSource) {
  // A 100 + (200*128 >> 8) = 200; R 200 + 25; G 0 + 127; B 1 + 0.
  EXPECT_EQ(DrawOne(&TARGB8888::DrawAdd, kS, kD, 128), 0xC8E17F01u);
}

TEST(DrawAdd, BlackSourceWithAlphaStillAddsItsAlpha) {
  // RGB 0 leaves the colour alone, but the alpha byte is added like the rest.
  EXPECT_EQ(DrawOne(&TARGB8888::DrawAdd, 0x80000000u, kD, 128), 0xA4C80001u);
}

// --- multiply -------------------------------------------------------------

TEST(DrawMultiply, ScalesTheDestinationByTheOpacityWeightedSource) {
  // A: t = 255 - (55*255 >> 8) = 201, 201*100 >> 8 = 78; R: t = 255 - 204 = 51,
  // 51*200 >> 8 = 39; G: t = 255, 0; B: t = 1, 1*1 >> 8 = 0.
  EXPECT_EQ(DrawOne(&TARGB8888::DrawMultiply, kS, kD, 255), 0x4E270000u);
}

TEST(DrawMultiply, WhiteDarkensByOneStep) {
  // t = 255 and (255 x 200) >> 8 = 199: the packed form divides by 256.
  EXPECT_EQ(DrawOne(&TARGB8888::DrawMultiply, 0xFFFFFFFFu, 0xC8C8C8C8u, 255), 0xC7C7C7C7u);
}

// --- exclusion --------------------------------------------------------------

TEST(DrawExclusion, PushesTheDestinationTowardsItsInverse) {
  // A: w = 200*255 >> 9 = 99, 100 + (55*99 >> 7) = 142; R: w = 24,
  // 200 + (-145*24 >> 7) = 200 - 28 = 172; G: w = 127, 0 + 253; B: w = 0, 1.
  EXPECT_EQ(DrawOne(&TARGB8888::DrawExclusion, kS, kD, 255), 0x8EACFD01u);
}

// --- alpha ----------------------------------------------------------------

TEST(DrawAlpha, FullOpacityCopiesAPairThatIsOpaqueTwice) {
  TARGB8888 src = Filled(2, 1, 0xFF102030u), dst = Filled(2, 1, kD);
  src.DrawAlpha(dst, {0, 0, 2, 1}, {0, 0}, 255);
  EXPECT_EQ(dst.Pixel(0, 0), 0xFF102030u);
  EXPECT_EQ(dst.Pixel(1, 0), 0xFF102030u);
}

TEST(DrawAlpha, FullOpacityBlendsAPairWithOneAlphaBelowOpaque) {
  TARGB8888 src;
  src.SetSize(2, 1);
  src.SetPixel(0, 0, 0xFFC8C8C8u);
  src.SetPixel(1, 0, 0xFE102030u);
  TARGB8888 dst = Filled(2, 1, 0);
  src.DrawAlpha(dst, {0, 0, 2, 1}, {0, 0}, 255);
  // w = 255 >> 1 = 127: 200*127 >> 7 = 198, 255*127 >> 7 = 253, not a copy.
  EXPECT_EQ(dst.Pixel(0, 0), 0xFDC6C6C6u);
  // w = 254 >> 1 = 127: A 252, R 16 -> 15, G 32 -> 31, B 48 -> 47.
  EXPECT_EQ(dst.Pixel(1, 0), 0xFC0F1F2Fu);
}

TEST(DrawAlpha, TransparentPairsLeaveTheDestination) {
  EXPECT_EQ(DrawOne(&TARGB8888::DrawAlpha, 0x00FFFFFFu, kD, 255), kD);
  EXPECT_EQ(DrawOne(&TARGB8888::DrawAlpha, 0x00FFFFFFu, kD, 200), kD);
}

TEST(DrawAlpha, PartialOpacityWeighsAlphaTimesOpacity) {
  // w = 255*128 >> 9 = 63: RGB 200*63 >> 7 = 98, A 255*63 >> 7 = 125.
  EXPECT_EQ(DrawOne(&TARGB8888::DrawAlpha, 0xFFC8C8C8u, 0, 128), 0x7D626262u);
}

// --- tinted and masked draws ----------------------------------------------------

TEST(DrawColourAdd, AddsTheColourThenBlendsWithHalfTheScaledAlpha) {
  TARGB8888 src = Filled(2, 1, 0xFF505050u), dst = Filled(2, 1, 0);
  src.DrawColourAdd(dst, {0, 0, 2, 1}, {0, 0}, 0x80102030u);
  // s1 = (255, 0x60, 0x70, 0x80); s2 = s1 x (128, 255, 255, 255) >> 8
  //    = (127, 95, 111, 127); w = 63; out = s2*63 >> 7 = (62, 46, 54, 62).
  EXPECT_EQ(dst.Pixel(0, 0), 0x3E2E363Eu);
}

TEST(DrawColourMultiply, MultipliesByTheColourThenBlends) {
  TARGB8888 src = Filled(2, 1, 0xFFFFFFFFu), dst = Filled(2, 1, 0);
  src.DrawColourMultiply(dst, {0, 0, 2, 1}, {0, 0}, 0xFF804020u);
  // s2 = 255 x (255, 128, 64, 32) >> 8 = (254, 127, 63, 31); w = 127;
  // out = s2*127 >> 7 = (252, 126, 62, 30).
  EXPECT_EQ(dst.Pixel(0, 0), 0xFC7E3E1Eu);
}

TEST(DrawColourAdd, ColourAlphaZeroDrawsNothing) {
  TARGB8888 src = Filled(2, 1, 0xFFFFFFFFu), dst = Filled(2, 1, kD);
  src.DrawColourAdd(dst, {0, 0, 2, 1}, {0, 0}, 0x00FFFFFFu);
  src.DrawColourMultiply(dst, {0, 0, 2, 1}, {0, 0}, 0x00FFFFFFu);
  EXPECT_EQ(dst.Pixel(0, 0), kD);
}

TEST(DrawMasked, TheMaskBlueScalesTheTintedSource) {
  TARGB8888 src = Filled(2, 1, 0xFFFFFFFFu), dst = Filled(2, 1, 0);
  TARGB8888 mask = Filled(2, 1, 0x00000080u);
  src.DrawMasked(dst, {0, 0, 2, 1}, {0, 0}, mask, {0, 0}, 0xC0FF8040u);
  // M = (128, 255, 255, 255); k = M x (192, 255, 128, 64) >> 8 = (96, 254, 127, 63);
  // s2 = k x 255 >> 8 = (95, 253, 126, 62); w = 95; out = s2*95 >> 8 = (35, 93, 46, 23).
  EXPECT_EQ(dst.Pixel(0, 0), 0x235D2E17u);
}

TEST(DrawMasked, AZeroMaskStillScalesTheDestinationBy255Over256) {
  TARGB8888 src = Filled(2, 1, 0xFFFFFFFFu), dst = Filled(2, 1, 0x80808080u);
  TARGB8888 mask = Filled(2, 1, 0xFFFFFF00u);  // blue 0
  src.DrawMasked(dst, {0, 0, 2, 1}, {0, 0}, mask, {0, 0}, 0xFFFFFFFFu);
  EXPECT_EQ(dst.Pixel(0, 0), 0x7F7F7F7Fu);
}

TEST(DrawMasked, TheMaskHasItsOwnOriginAndLimitsTheSpan) {
  TARGB8888 src = Filled(6, 1, 0xFFFFFFFFu), dst = Filled(6, 1, 0);
  TARGB8888 mask;
  mask.SetSize(4, 1);
  mask.SetPixel(2, 0, 0xFF);
  mask.SetPixel(3, 0, 0xFF);
  // Mask column 2 lines up with source column 0; the mask ends after two pixels.
  src.DrawMasked(dst, {0, 0, 6, 1}, {0, 0}, mask, {2, 0}, 0xFFFFFFFFu);
  EXPECT_EQ(dst.Pixel(0, 0), 0xFAFAFAFAu);  // k 254, s2 253, (253*253) >> 8 = 250
  EXPECT_EQ(dst.Pixel(1, 0), 0xFAFAFAFAu);
  EXPECT_EQ(dst.Pixel(2, 0), 0u);
}

TEST(DrawMasked, ClippingTheDestinationMovesTheMaskOrigin) {
  TARGB8888 src = Filled(4, 1, 0xFFFFFFFFu), dst = Filled(4, 1, 0);
  TARGB8888 mask;
  mask.SetSize(4, 1);
  mask.SetPixel(2, 0, 0xFF);
  mask.SetPixel(3, 0, 0xFF);
  // Drawn at x = -2: source columns 2, 3 land on 0, 1 and use mask columns 2, 3.
  src.DrawMasked(dst, {0, 0, 4, 1}, {-2, 0}, mask, {0, 0}, 0xFFFFFFFFu);
  EXPECT_EQ(dst.Pixel(0, 0), 0xFAFAFAFAu);
  EXPECT_EQ(dst.Pixel(1, 0), 0xFAFAFAFAu);
}

// --- fills ------------------------------------------------------------------------

TEST(FillSolid, WritesTheColourWhateverItsAlpha) {
  TARGB8888 image = Filled(2, 1, kD);
  image.FillSolid({0, 0, 2, 1}, 0x00123456u);
  EXPECT_EQ(image.Pixel(0, 0), 0x00123456u);
}

TEST(FillBlend, MixesByTheColourAlpha) {
  TARGB8888 image = Filled(2, 1, 0xFF0000FFu);
  image.FillBlend({0, 0, 2, 1}, 0x80FF0000u);
  // A (255*127 >> 8) + (128*128 >> 8) = 126 + 64; R 0 + 127; G 0; B 126 + 0.
  EXPECT_EQ(image.Pixel(0, 0), 0xBE7F007Eu);
}

TEST(FillBlend, OpaqueColourIsWrittenAndTransparentIgnored) {
  TARGB8888 image = Filled(2, 1, kD);
  image.FillBlend({0, 0, 2, 1}, 0x00FFFFFFu);
  EXPECT_EQ(image.Pixel(0, 0), kD);
  image.FillBlend({0, 0, 2, 1}, 0xFF123456u);
  EXPECT_EQ(image.Pixel(0, 0), 0xFF123456u);
}

TEST(FillAdd, AddsTheColourScaledByItsAlphaIncludingTheAlphaByte) {
  TARGB8888 image = Filled(2, 1, 0x10101010u);
  image.FillAdd({0, 0, 2, 1}, 0x80FFFFFFu);
  // RGB 255*128 div 255 = 128 -> 144; A 128*128 div 255 = 64 -> 80.
  EXPECT_EQ(image.Pixel(0, 0), 0x50909090u);
}

TEST(FillMultiply, MultipliesByTheAlphaWeightedColour) {
  TARGB8888 image = Filled(2, 1, 0xC8C8C8C8u);
  image.FillMultiply({0, 0, 2, 1}, 0x80000000u);
  // RGB f = 255 - 255*128 div 255 = 127, 200*127 >> 8 = 99;
  // A f = 255 - 127*128 div 255 = 192, 200*192 >> 8 = 150.
  EXPECT_EQ(image.Pixel(0, 0), 0x96636363u);
}

TEST(FillInvert, PushesEachChannelTowardsItsInverse) {
  TARGB8888 image = Filled(2, 1, 0x00FF4000u);
  image.FillInvert({0, 0, 2, 1}, 0xFFFFFFFFu);
  // w = 255 >> 1 = 127: 0 -> 253; 64 -> 64 + (127*127 >> 7) = 190;
  // 255 -> 255 + (-255*127 >> 7) = 255 - 254 = 1.
  EXPECT_EQ(image.Pixel(0, 0), 0xFD01BEFDu);
}

TEST(Fills, ColourAlphaZeroDoesNothing) {
  TARGB8888 image = Filled(2, 1, kD);
  image.FillAdd({0, 0, 2, 1}, 0x00FFFFFFu);
  image.FillMultiply({0, 0, 2, 1}, 0x00000000u);
  image.FillInvert({0, 0, 2, 1}, 0x00FFFFFFu);
  EXPECT_EQ(image.Pixel(0, 0), kD);
}

// --- pixel pairs -----------------------------------------------------------------

TEST(PixelPairs, AOnePixelSpanChangesNothing) {
  TARGB8888 src = Filled(4, 1, 0xFFFFFFFFu), dst = Filled(4, 1, 0);
  src.DrawCopy(dst, {0, 0, 1, 1}, {0, 0}, 255);
  dst.FillSolid({2, 0, 3, 1}, 0xFFFFFFFFu);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Pixel(x, 0), 0u);
}

TEST(PixelPairs, AFivePixelSpanChangesColumnsZeroToThree) {
  TARGB8888 src = Filled(6, 1, 0xFFFFFFFFu), dst = Filled(6, 1, 0);
  src.DrawAlpha(dst, {0, 0, 5, 1}, {0, 0}, 255);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Pixel(x, 0), 0xFFFFFFFFu) << x;
  EXPECT_EQ(dst.Pixel(4, 0), 0u);
  TARGB8888 fill = Filled(6, 1, 0);
  fill.FillAdd({1, 0, 6, 1}, 0xFF010101u);
  EXPECT_EQ(fill.Pixel(0, 0), 0u);
  EXPECT_EQ(fill.Pixel(4, 0), 0xFF010101u);
  EXPECT_EQ(fill.Pixel(5, 0), 0u);
}

// --- interlacing ---------------------------------------------------------------------

TEST_F(Interlace, FieldOneWritesOnlyOddRows) {
  TARGB8888 image = Filled(2, 16, 0);
  TARGB8888::InterlaceActive = true;
  TARGB8888::InterlaceField = 1;
  image.FillSolid({0, 10, 2, 14}, 0xFFFFFFFFu);
  EXPECT_EQ(image.Pixel(0, 10), 0u);
  EXPECT_EQ(image.Pixel(0, 11), 0xFFFFFFFFu);
  EXPECT_EQ(image.Pixel(0, 12), 0u);
  EXPECT_EQ(image.Pixel(0, 13), 0xFFFFFFFFu);
}

TEST_F(Interlace, FieldZeroWritesEvenRowsOfDraws) {
  TARGB8888 src = Filled(2, 3, 0xFFFFFFFFu), dst = Filled(2, 8, 0);
  TARGB8888::InterlaceActive = true;
  TARGB8888::InterlaceField = 0;
  src.DrawCopy(dst, {0, 0, 2, 3}, {0, 3}, 255);  // rows 3, 4, 5: only 4
  EXPECT_EQ(dst.Pixel(0, 3), 0u);
  EXPECT_EQ(dst.Pixel(0, 4), 0xFFFFFFFFu);
  EXPECT_EQ(dst.Pixel(0, 5), 0u);
}

TEST_F(Interlace, AOneRowSpanOfTheOtherParityDrawsNothing) {
  TARGB8888 image = Filled(2, 4, 0);
  TARGB8888::InterlaceActive = true;
  TARGB8888::InterlaceField = 0;
  image.FillSolid({0, 1, 2, 2}, 0xFFFFFFFFu);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(image.Pixel(0, y), 0u);
}

TEST_F(Interlace, ThePlayersSettingTurnsItOff) {
  TARGB8888 image = Filled(2, 4, 0);
  TARGB8888::InterlaceActive = true;
  TARGB8888::InterlaceOff = true;
  TARGB8888::InterlaceField = 1;
  image.FillSolid({0, 0, 2, 4}, 0xFFFFFFFFu);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(image.Pixel(0, y), 0xFFFFFFFFu);
}

TEST_F(Interlace, StretchedRowsSampleAsIfAllRowsWereDrawn) {
  TARGB8888 src;
  src.SetSize(2, 4);
  for (int y = 0; y < 4; ++y)
    src.FillSolid({0, static_cast<float>(y), 2, y + 1.0f}, 0xFF000000u + y);
  TARGB8888 dst = Filled(2, 4, 0);
  TARGB8888::InterlaceActive = true;
  TARGB8888::InterlaceField = 1;
  src.DrawCopyStretched(dst, {0, 0, 2, 4}, {0, 0, 2, 4}, 255);
  EXPECT_EQ(dst.Pixel(0, 0), 0u);
  EXPECT_EQ(dst.Pixel(0, 1), 0xFF000001u);
  EXPECT_EQ(dst.Pixel(0, 3), 0xFF000003u);
}

// --- effects --------------------------------------------------------------------------

TEST(Effects, CrossfadeRunsFromTheFirstImageToTheSecond) {
  TARGB8888 p = Filled(2, 1, 0), q = Filled(2, 1, 0xFFFFFFFFu), out = Filled(2, 1, kD);
  p.EffectCrossfade(q, out, {0, 0, 2, 1}, {0, 0}, 255);
  EXPECT_EQ(out.Pixel(0, 0), 0u);
  p.EffectCrossfade(q, out, {0, 0, 2, 1}, {0, 0}, 0);
  EXPECT_EQ(out.Pixel(0, 0), 0xFDFDFDFDu);  // w = 127: 255*127 >> 7 = 253
  EXPECT_EQ(p.Pixel(0, 0), 0u);
  EXPECT_EQ(q.Pixel(0, 0), 0xFFFFFFFFu);
}

TEST(Effects, RuleWipeOpensWhereTheRuleIsAboveTheThreshold) {
  TARGB8888 p;
  p.SetSize(6, 1);
  p.SetPixel(0, 0, 0x78000000u);  // rule 120
  p.SetPixel(1, 0, 0x78000000u);
  p.SetPixel(2, 0, 0x64000000u);  // rule 100
  p.SetPixel(3, 0, 0x64000000u);
  p.SetPixel(4, 0, 0xC8000000u);  // rule 200
  p.SetPixel(5, 0, 0xC8000000u);
  TARGB8888 q = Filled(6, 1, 0xFFFFFFFFu), out = Filled(6, 1, kD);
  p.EffectRuleWipe(q, out, {0, 0, 6, 1}, {0, 0}, 128);
  // t' = 128*288 div 255 - 32 = 112. Rule 120: w = (8*8) >> 1 = 32,
  // RGB 255*32 >> 7 = 63, A 120 + (135*32 >> 7) = 153.
  EXPECT_EQ(out.Pixel(0, 0), 0x993F3F3Fu);
  EXPECT_EQ(out.Pixel(2, 0), 0x64000000u);  // below the threshold: the first image
  // Rule 200: (88*8) capped at 255, w = 127: RGB 253, A 200 + (55*127 >> 7) = 254.
  EXPECT_EQ(out.Pixel(4, 0), 0xFEFDFDFDu);
}

TEST(Effects, ColourEffectsApplyTheFillFormulasToTheSource) {
  TARGB8888 src = Filled(2, 1, 0x10101010u), out = Filled(2, 1, 0);
  src.EffectAdd(out, {0, 0, 2, 1}, {0, 0}, 0x80FFFFFFu);
  EXPECT_EQ(out.Pixel(0, 0), 0x50909090u);
  TARGB8888 grey = Filled(2, 1, 0xC8C8C8C8u);
  grey.EffectMultiply(out, {0, 0, 2, 1}, {0, 0}, 0x80000000u);
  EXPECT_EQ(out.Pixel(0, 0), 0x96636363u);
  TARGB8888 mixed = Filled(2, 1, 0x00FF4000u);
  mixed.EffectInvert(out, {0, 0, 2, 1}, {0, 0}, 0xFFFFFFFFu);
  EXPECT_EQ(out.Pixel(0, 0), 0xFD01BEFDu);
  EXPECT_EQ(src.Pixel(0, 0), 0x10101010u);
}

TEST(Effects, OverlayBlendsTheColourOverTheSource) {
  TARGB8888 src = Filled(2, 1, 0xFF0000FFu), out = Filled(2, 1, 0);
  src.EffectOverlay(out, {0, 0, 2, 1}, {0, 0}, 0x80FF0000u);
  EXPECT_EQ(out.Pixel(0, 0), 0xBE7F007Eu);
  src.EffectOverlay(out, {0, 0, 2, 1}, {0, 0}, 0xFF123456u);
  EXPECT_EQ(out.Pixel(0, 0), 0xFF123456u);
}

TEST(Effects, ColourAlphaZeroPassesTheSourceThrough) {
  TARGB8888 src = Filled(2, 1, kD), out = Filled(2, 1, 0);
  for (auto effect : {&TARGB8888::EffectAdd, &TARGB8888::EffectInvert, &TARGB8888::EffectMultiply,
                      &TARGB8888::EffectOverlay}) {
    out.FillSolid({0, 0, 2, 1}, 0);
    (src.*effect)(out, {0, 0, 2, 1}, {0, 0}, 0x00808080u);
    EXPECT_EQ(out.Pixel(0, 0), kD);
  }
}

TEST(Effects, WriteAtTheDestinationPoint) {
  TARGB8888 p = Filled(4, 2, 0xFF000000u), q = Filled(4, 2, 0xFF000000u), out = Filled(4, 2, 7);
  p.EffectCrossfade(q, out, {0, 0, 2, 1}, {2, 1}, 255);
  EXPECT_EQ(out.Pixel(2, 1), 0xFF000000u);
  EXPECT_EQ(out.Pixel(3, 1), 0xFF000000u);
  EXPECT_EQ(out.Pixel(0, 1), 7u);
  EXPECT_EQ(out.Pixel(2, 0), 7u);
}

// --- drawing onto itself and the recorded form --------------------------------------

TEST(Draws, APictureMayBeDrawnOntoItself) {
  TARGB8888 image;
  image.SetSize(6, 1);
  for (int x = 0; x < 6; ++x) image.SetPixel(x, 0, static_cast<uint32_t>(x));
  image.DrawCopy(image, {0, 0, 4, 1}, {2, 0}, 255);
  EXPECT_EQ(image.Pixel(2, 0), 0u);
  EXPECT_EQ(image.Pixel(3, 0), 1u);
  EXPECT_EQ(image.Pixel(4, 0), 2u);
  EXPECT_EQ(image.Pixel(5, 0), 3u);
}

TEST(Draws, SpansOfWholeRowsLandRowForRow) {
  TARGB8888 src;
  src.SetSize(4, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) src.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(y * 4 + x));
  }
  TARGB8888 dst = Filled(4, 4, 0x7Fu);
  src.DrawAlpha(dst, {0, 0, 4, 2}, {0, 1}, 255);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(dst.Pixel(x, 0), 0x7Fu);
    EXPECT_EQ(dst.Pixel(x, 1), 0xFF000000u | static_cast<uint32_t>(x));
    EXPECT_EQ(dst.Pixel(x, 2), 0xFF000000u | static_cast<uint32_t>(4 + x));
    EXPECT_EQ(dst.Pixel(x, 3), 0x7Fu);
  }
}

TEST(Draws, ApplyRunsEachRecordedKind) {
  TARGB8888 src = Filled(2, 1, kS);
  TARGB8888 a = Filled(2, 1, kD), b = Filled(2, 1, kD);
  DrawOp op;
  op.kind = DrawKind::kMultiply;
  op.image = &src;
  op.src = {0, 0, 2, 1};
  op.dst = {0, 0, 2, 1};
  op.opacity = 255;
  a.Apply(op);
  src.DrawMultiply(b, {0, 0, 2, 1}, {0, 0}, 255);
  EXPECT_EQ(a.Pixel(0, 0), b.Pixel(0, 0));
  op.kind = DrawKind::kFillSolid;
  op.colour = 0x01020304u;
  a.Apply(op);
  EXPECT_EQ(a.Pixel(1, 0), 0x01020304u);
}

TEST(Draws, AnEmptySourceOrDestinationDrawsNothing) {
  TARGB8888 empty, dst = Filled(2, 1, kD);
  empty.DrawCopy(dst, {0, 0, 2, 1}, {0, 0}, 255);
  empty.DrawAlphaStretched(dst, {0, 0, 2, 1}, {0, 0, 2, 1}, 255);
  EXPECT_EQ(dst.Pixel(0, 0), kD);
  TARGB8888 src = Filled(2, 1, kS);
  src.DrawCopy(empty, {0, 0, 2, 1}, {0, 0}, 255);
  empty.FillSolid({0, 0, 2, 1}, 0);
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace mavu::imaging
