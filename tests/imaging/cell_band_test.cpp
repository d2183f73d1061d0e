#include "imaging/cell_band.h"

#include <gtest/gtest.h>

#include <cstring>

namespace mavu::imaging::detail {
namespace {

constexpr int kWidth = 100;
BandRect Band(int index) {
  return {index * 60, index * 60 + 60, kWidth};
}

uint8_t Code(DrawKind kind) {
  return static_cast<uint8_t>(kind);
}

void ExpectRect(const RectF& r, float left, float top, float right, float bottom) {
  EXPECT_FLOAT_EQ(r.left, left);
  EXPECT_FLOAT_EQ(r.top, top);
  EXPECT_FLOAT_EQ(r.right, right);
  EXPECT_FLOAT_EQ(r.bottom, bottom);
}

CellCommand Fill(DrawKind kind, RectF dst, uint32_t colour = 0xFF000000) {
  CellCommand c;
  c.kind = Code(kind);
  c.opacity = 255;
  c.dst = dst;
  c.colour = colour;
  return c;
}

CellCommand Image(DrawKind kind, const TARGB8888& image, RectF src, RectF dst, int opacity = 255) {
  CellCommand c;
  c.kind = Code(kind);
  c.opacity = static_cast<uint8_t>(opacity);
  c.image = &image;
  c.src = src;
  c.dst = dst;
  return c;
}

// --- kinds -------------------------------------------------------------------

TEST(CellBandKinds, SortsEveryCodeIntoOneFamily) {
  for (int kind = 2; kind <= 22; ++kind) {
    auto k = static_cast<uint8_t>(kind);
    int families = IsFillKind(k) + IsStretchedKind(k) + IsUnstretchedKind(k);
    EXPECT_EQ(families, kind <= 19 ? 1 : 0) << kind;
  }
  EXPECT_TRUE(IsFillKind(6));
  EXPECT_TRUE(IsStretchedKind(16));
  EXPECT_TRUE(IsUnstretchedKind(17));
  EXPECT_TRUE(IsUnstretchedKind(19));
  EXPECT_FALSE(IsUnstretchedKind(8));
}

// --- clipping ----------------------------------------------------------------

TEST(CellBandClip, FillKeepsTheFractionOfItsNewEdgesAtTheFarSide) {
  CellCommand fill = Fill(DrawKind::kFillBlend, {10.5f, 50.25f, 120, 130.75f});
  auto top = ClipToBand(fill, Band(0));
  ASSERT_TRUE(top);
  ExpectRect(top->dst, 10.5f, 50.25f, 100.5f, 60.25f);
  ExpectRect(top->src, 0, 0, 0, 0);
  auto middle = ClipToBand(fill, Band(1));
  ASSERT_TRUE(middle);
  ExpectRect(middle->dst, 10.5f, 60, 100.5f, 120);
  auto bottom = ClipToBand(fill, Band(2));
  ASSERT_TRUE(bottom);
  ExpectRect(bottom->dst, 10.5f, 120, 100.5f, 130.75f);
}

TEST(CellBandClip, FillRaisesNegativeEdgesToTheBand) {
  auto part = ClipToBand(Fill(DrawKind::kFillSolid, {-30, -20, 40, 70}), Band(0));
  ASSERT_TRUE(part);
  ExpectRect(part->dst, 0, 0, 40, 60);
}

TEST(CellBandClip, MarkClipsLikeAFillAndKeepsItsExtra) {
  CellCommand mark = Fill(DrawKind::kFillSolid, {5, 55, 200, 65});
  mark.kind = kKindMark;
  mark.extra = 0xABCD;
  auto part = ClipToBand(mark, Band(1));
  ASSERT_TRUE(part);
  ExpectRect(part->dst, 5, 60, 100, 65);
  EXPECT_EQ(part->extra, 0xABCDu);
  EXPECT_EQ(part->kind, kKindMark);
}

TEST(CellBandClip, StretchedSourceFollowsTheDestinationInProportion) {
  TARGB8888 image;
  image.SetSize(32, 25);
  // 32 x 25 doubled onto 64 x 50, hanging over the left edge and band 0's bottom.
  CellCommand c = Image(DrawKind::kAlphaStretched, image, {0, 0, 32, 25}, {-8, 40, 56, 90});
  auto top = ClipToBand(c, Band(0));
  ASSERT_TRUE(top);
  ExpectRect(top->dst, 0, 40, 56, 60);
  ExpectRect(top->src, 4, 0, 32, 10);
  auto below = ClipToBand(c, Band(1));
  ASSERT_TRUE(below);
  ExpectRect(below->dst, 0, 60, 56, 90);
  ExpectRect(below->src, 4, 10, 32, 25);
}

TEST(CellBandClip, StretchedPartOfATinyDestinationIsDropped) {
  TARGB8888 image;
  image.SetSize(8, 8);
  EXPECT_FALSE(
      ClipToBand(Image(DrawKind::kCopyStretched, image, {0, 0, 8, 8}, {0, 0, 0.5f, 30}), Band(0)));
  EXPECT_FALSE(
      ClipToBand(Image(DrawKind::kCopyStretched, image, {0, 0, 8, 8}, {0, 0, 30, 0.9f}), Band(0)));
  EXPECT_TRUE(
      ClipToBand(Image(DrawKind::kCopyStretched, image, {0, 0, 8, 8}, {0, 0, 1, 1}), Band(0)));
}

TEST(CellBandClip, UnstretchedSnapsToWholePixelsAndMovesSourceAndMask) {
  TARGB8888 image, mask;
  image.SetSize(64, 64);
  mask.SetSize(64, 64);
  CellCommand c =
      Image(DrawKind::kMasked, image, {2.7f, 3.2f, 40.9f, 30.5f}, {-5.5f, 50.8f, 32.7f, 78.1f});
  c.mask = &mask;
  c.maskOrigin = {1, 1};
  c.colour = 0x80FFFFFF;
  auto top = ClipToBand(c, Band(0));
  ASSERT_TRUE(top);
  ExpectRect(top->dst, 0, 50, 32, 60);
  ExpectRect(top->src, 7, 3, 40, 12);
  EXPECT_FLOAT_EQ(top->maskOrigin.x, 6);
  EXPECT_FLOAT_EQ(top->maskOrigin.y, 1);
  EXPECT_EQ(top->mask, &mask);
  EXPECT_EQ(top->colour, 0x80FFFFFFu);
  auto below = ClipToBand(c, Band(1));
  ASSERT_TRUE(below);
  ExpectRect(below->dst, 0, 60, 32, 78);
  ExpectRect(below->src, 7, 13, 40, 30);
  EXPECT_FLOAT_EQ(below->maskOrigin.x, 6);
  EXPECT_FLOAT_EQ(below->maskOrigin.y, 11);
}

TEST(CellBandClip, UnstretchedRightOverhangShortensTheSource) {
  TARGB8888 image;
  image.SetSize(64, 64);
  auto part = ClipToBand(Image(DrawKind::kAdd, image, {0, 0, 50, 20}, {70, 10, 120, 30}), Band(0));
  ASSERT_TRUE(part);
  ExpectRect(part->dst, 70, 10, 100, 30);
  ExpectRect(part->src, 0, 0, 30, 20);
}

TEST(CellBandClip, PartsOfEqualCommandsAreEqualByteForByte) {
  TARGB8888 image;
  image.SetSize(16, 16);
  CellCommand c = Image(DrawKind::kCopy, image, {0, 0, 16, 16}, {3, 4, 19, 20});
  auto a = ClipToBand(c, Band(0));
  auto b = ClipToBand(c, Band(0));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(std::memcmp(&*a, &*b, sizeof(BandEntry)), 0);
  EXPECT_EQ(a->reserved, 0);
}

// --- classification ------------------------------------------------------------

BandClass ClassOf(const CellCommand& c, BandRect band = Band(1)) {
  auto part = ClipToBand(c, band);
  return part ? Classify(*part, band) : BandClass::kSkip;
}

constexpr RectF kWholeBand1 = {-10, 50, 110, 130};
constexpr RectF kMostOfBand1 = {0, 61, 100, 120};

TEST(CellBandClassify, SolidFillOverTheWholeBandIsOpaque) {
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillSolid, kWholeBand1, 0)), BandClass::kOpaque);
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillSolid, kMostOfBand1, 0)), BandClass::kDraw);
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillSolid, {0, 60, 99, 120}, 0)), BandClass::kDraw);
}

TEST(CellBandClassify, FillsAreOpaqueOnlyWithTheColoursThatReplaceThePixels) {
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillBlend, kWholeBand1, 0xFF123456)), BandClass::kOpaque);
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillBlend, kWholeBand1, 0xFE123456)), BandClass::kDraw);
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillAdd, kWholeBand1, 0xFFFFFFFF)), BandClass::kOpaque);
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillAdd, kWholeBand1, 0xFFFFFFFE)), BandClass::kDraw);
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillMultiply, kWholeBand1, 0xFF000000)), BandClass::kOpaque);
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillMultiply, kWholeBand1, 0xFF000001)), BandClass::kDraw);
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillInvert, kWholeBand1, 0xFFFFFFFF)), BandClass::kDraw);
}

TEST(CellBandClassify, CopiesAreOpaqueOnlyAtFullOpacity) {
  TARGB8888 image;
  image.SetSize(120, 60);
  image.SetBits(0xFF000000, 0xFFFFFFFF);
  image.RecomputeHasAlpha();
  RectF src{0, 0, 100, 60};
  RectF dst{0, 60, 100, 120};
  EXPECT_EQ(ClassOf(Image(DrawKind::kCopy, image, src, dst, 255)), BandClass::kOpaque);
  EXPECT_EQ(ClassOf(Image(DrawKind::kCopy, image, src, dst, 254)), BandClass::kDraw);
  EXPECT_EQ(ClassOf(Image(DrawKind::kCopyStretched, image, {0, 0, 50, 30}, dst)),
            BandClass::kOpaque);
  EXPECT_EQ(ClassOf(Image(DrawKind::kAdd, image, src, dst)), BandClass::kDraw);
  EXPECT_EQ(ClassOf(Image(DrawKind::kCopy, image, src, dst, 0)), BandClass::kSkip);
}

TEST(CellBandClassify, AlphaDrawsAreOpaqueOnlyForImagesWithoutAlpha) {
  TARGB8888 image;
  image.SetSize(100, 60);
  image.SetBits(0xFF000000, 0xFFFFFFFF);
  image.RecomputeHasAlpha();
  RectF src{0, 0, 100, 60};
  RectF dst{0, 60, 100, 120};
  for (DrawKind kind : {DrawKind::kAlpha, DrawKind::kColourAdd, DrawKind::kColourMultiply}) {
    EXPECT_EQ(ClassOf(Image(kind, image, src, dst)), BandClass::kOpaque);
    EXPECT_EQ(ClassOf(Image(kind, image, src, dst, 200)), BandClass::kDraw);
  }
  EXPECT_EQ(ClassOf(Image(DrawKind::kAlphaStretched, image, src, dst)), BandClass::kOpaque);
  image.SetPixel(3, 3, 0x80FFFFFF);
  image.RecomputeHasAlpha();
  EXPECT_EQ(ClassOf(Image(DrawKind::kAlpha, image, src, dst)), BandClass::kDraw);
}

TEST(CellBandClassify, ADrawReachingPastItsImageNeverHidesTheBand) {
  TARGB8888 small, empty;
  small.SetSize(50, 60);
  EXPECT_EQ(ClassOf(Image(DrawKind::kCopy, small, {0, 0, 100, 60}, {0, 60, 100, 120})),
            BandClass::kDraw);
  EXPECT_EQ(ClassOf(Image(DrawKind::kCopy, small, {-50, 0, 50, 60}, {0, 60, 100, 120})),
            BandClass::kDraw);
  EXPECT_EQ(ClassOf(Image(DrawKind::kCopyStretched, empty, {0, 0, 10, 10}, {0, 60, 100, 120})),
            BandClass::kDraw);
}

TEST(CellBandClassify, AnOddCanvasWidthHasNoOpaqueParts) {
  BandRect odd{60, 120, 101};
  EXPECT_EQ(ClassOf(Fill(DrawKind::kFillSolid, {0, 0, 200, 200}, 0), odd), BandClass::kDraw);
}

TEST(CellBandClassify, MarksAndInvalidationsAlwaysDraw) {
  CellCommand mark = Fill(DrawKind::kFillSolid, kWholeBand1);
  mark.kind = kKindMark;
  mark.opacity = 0;
  EXPECT_EQ(ClassOf(mark), BandClass::kDraw);
  mark.kind = kKindInvalidate;
  EXPECT_EQ(ClassOf(mark), BandClass::kDraw);
}

TEST(CellBandDraw, DrawsAnEntryWithItsRowsMovedUp) {
  TARGB8888 target;
  target.SetSize(10, 60);
  auto part = ClipToBand(Fill(DrawKind::kFillSolid, {2, 70, 6, 72}, 0xFF112233), Band(1));
  ASSERT_TRUE(part);
  DrawEntry(*part, target, 60);
  EXPECT_EQ(target.Pixel(2, 10), 0xFF112233u);
  EXPECT_EQ(target.Pixel(5, 11), 0xFF112233u);
  EXPECT_EQ(target.Pixel(6, 10), 0u);
  EXPECT_EQ(target.Pixel(2, 12), 0u);
  EXPECT_EQ(target.Pixel(2, 9), 0u);
}

TEST(CellBandDraw, AMarkDrawsNothing) {
  TARGB8888 target;
  target.SetSize(10, 60);
  CellCommand mark = Fill(DrawKind::kFillSolid, {0, 0, 10, 60}, 0xFFFFFFFF);
  mark.kind = kKindMark;
  DrawEntry(*ClipToBand(mark, {0, 60, 10}), target, 0);
  EXPECT_EQ(target.Pixel(4, 4), 0u);
}

}  // namespace
}  // namespace mavu::imaging::detail
