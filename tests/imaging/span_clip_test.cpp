#include "imaging/span_clip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace mavu::imaging::detail {
namespace {

constexpr Size kSource{8, 6};
constexpr Size kDest{10, 10};

void ExpectSpan(const std::optional<Span>& s, Span expected) {
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->srcX, expected.srcX);
  EXPECT_EQ(s->srcY, expected.srcY);
  EXPECT_EQ(s->dstX, expected.dstX);
  EXPECT_EQ(s->dstY, expected.dstY);
  EXPECT_EQ(s->width, expected.width);
  EXPECT_EQ(s->height, expected.height);
}

TEST(ClipUnstretched, AnInsideRectangleIsTakenAsItIs) {
  ExpectSpan(ClipUnstretched({1, 2, 5, 4}, {3, 3}, kSource, kDest), {1, 2, 3, 3, 4, 2});
}

TEST(ClipUnstretched, ReversedEdgesAreSwapped) {
  ExpectSpan(ClipUnstretched({5, 4, 1, 2}, {3, 3}, kSource, kDest), {1, 2, 3, 3, 4, 2});
}

TEST(ClipUnstretched, NarrowerOrLowerThanOneDrawsNothing) {
  EXPECT_FALSE(ClipUnstretched({1, 1, 1.5f, 4}, {0, 0}, kSource, kDest));
  EXPECT_FALSE(ClipUnstretched({1, 1, 4, 1.9f}, {0, 0}, kSource, kDest));
}

TEST(ClipUnstretched, ASourceWhollyOutsideItsImageDrawsNothing) {
  EXPECT_FALSE(ClipUnstretched({9, 0, 12, 2}, {0, 0}, kSource, kDest));   // left > width
  EXPECT_FALSE(ClipUnstretched({0, 7, 2, 9}, {0, 0}, kSource, kDest));    // top > height
  EXPECT_FALSE(ClipUnstretched({-5, 0, -1, 2}, {0, 0}, kSource, kDest));  // right < 0
  EXPECT_FALSE(ClipUnstretched({0, -5, 2, -1}, {0, 0}, kSource, kDest));  // bottom < 0
}

TEST(ClipUnstretched, ANegativeSourceEdgeMovesTheDestination) {
  ExpectSpan(ClipUnstretched({-2, -1, 4, 3}, {1, 1}, kSource, kDest), {0, 0, 3, 2, 4, 3});
}

TEST(ClipUnstretched, TheSourceIsLimitedToItsImage) {
  ExpectSpan(ClipUnstretched({6, 4, 12, 9}, {0, 0}, kSource, kDest), {6, 4, 0, 0, 2, 2});
}

TEST(ClipUnstretched, ADestinationPointPastTheRightOrBottomDrawsNothing) {
  EXPECT_FALSE(ClipUnstretched({0, 0, 4, 4}, {10.5f, 0}, kSource, kDest));
  EXPECT_FALSE(ClipUnstretched({0, 0, 4, 4}, {0, 10.5f}, kSource, kDest));
}

TEST(ClipUnstretched, ASpanEndingLeftOfOrAboveTheDestinationDrawsNothing) {
  EXPECT_FALSE(ClipUnstretched({0, 0, 4, 4}, {-4.5f, 0}, kSource, kDest));
  EXPECT_FALSE(ClipUnstretched({0, 0, 4, 4}, {0, -4.5f}, kSource, kDest));
}

TEST(ClipUnstretched, ANegativeDestinationMovesTheSource) {
  ExpectSpan(ClipUnstretched({0, 0, 6, 5}, {-2, -3}, kSource, kDest), {2, 3, 0, 0, 4, 2});
}

TEST(ClipUnstretched, ASpanPastTheDestinationEdgeLosesTheExcess) {
  ExpectSpan(ClipUnstretched({0, 0, 8, 6}, {7, 6}, kSource, kDest), {0, 0, 7, 6, 3, 4});
}

TEST(ClipUnstretched, LessThanOnePixelLeftAfterClippingDrawsNothing) {
  EXPECT_FALSE(ClipUnstretched({0, 0, 8, 6}, {9.5f, 0}, kSource, kDest));
}

TEST(ClipUnstretched, ExtentsRoundToEvenAndPositionsTruncate) {
  // 2.5 rounds to 2, 3.5 to 4; 1.7 truncates to 1.
  ExpectSpan(ClipUnstretched({1.7f, 0, 4.2f, 3.5f}, {2.9f, 0}, kSource, kDest), {1, 0, 2, 0, 2, 4});
}

TEST(ClipUnstretched, NonFiniteCoordinatesDrawNothing) {
  float nan = std::numeric_limits<float>::quiet_NaN();
  float inf = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(ClipUnstretched({nan, 0, 4, 4}, {0, 0}, kSource, kDest));
  EXPECT_FALSE(ClipUnstretched({0, 0, inf, 4}, {0, 0}, kSource, kDest));
  EXPECT_FALSE(ClipUnstretched({0, 0, 4, 4}, {-inf, 0}, kSource, kDest));
}

TEST(ClipUnstretched, TheMaskOriginMovesWithTheSource) {
  PointF mask{10, 20};
  auto s = ClipUnstretched({-1, 0, 6, 5}, {-2, -3}, kSource, kDest, &mask);
  ASSERT_TRUE(s);
  // x: +1 for the source's negative left, which leaves the destination at -1,
  // then +1 more for that; y: +3 for the destination's negative top.
  EXPECT_FLOAT_EQ(mask.x, 12);
  EXPECT_FLOAT_EQ(mask.y, 23);
}

TEST(ClipFill, ClampsToTheImage) {
  ExpectSpan(ClipFill({-3, 8, 4, 14}, kDest), {0, 0, 0, 8, 4, 2});
}

TEST(ClipFill, DropsSmallAndOutsideRectangles) {
  EXPECT_FALSE(ClipFill({1, 1, 1.5f, 5}, kDest));
  EXPECT_FALSE(ClipFill({11, 0, 14, 5}, kDest));
  EXPECT_FALSE(ClipFill({0, -5, 4, -1}, kDest));
}

TEST(ClipFill, NormalisesReversedRectangles) {
  ExpectSpan(ClipFill({4, 5, 2, 1}, kDest), {0, 0, 2, 1, 2, 4});
}

TEST(ClipStretched, StepsAreSourceExtentTimes1024OverTheDestination) {
  auto s = ClipStretched({0, 0, 4, 6}, {1, 2, 9, 5}, kSource, kDest);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->dstX, 1);
  EXPECT_EQ(s->dstY, 2);
  EXPECT_EQ(s->width, 8);
  EXPECT_EQ(s->height, 3);
  EXPECT_EQ(s->stepX, 512);
  EXPECT_EQ(s->stepY, 2048);
  EXPECT_EQ(s->phaseX, 0);
}

TEST(ClipStretched, TheStartPhaseIsTheSourceFraction) {
  auto s = ClipStretched({0.5f, 1.25f, 3.5f, 4}, {0, 0, 6, 3}, kSource, kDest);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->baseX, 0);
  EXPECT_EQ(s->baseY, 1);
  EXPECT_EQ(s->phaseX, 512);
  EXPECT_EQ(s->phaseY, 256);
  EXPECT_EQ(s->stepX, 512);
  EXPECT_EQ(s->stepY, 938);  // trunc(2.75 * 1024 / 3)
}

TEST(ClipStretched, ClippingTheDestinationMovesTheSourceInProportion) {
  auto s = ClipStretched({0, 0, 4, 1}, {-4, 0, 4, 1}, kSource, kDest);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->dstX, 0);
  EXPECT_EQ(s->width, 4);
  EXPECT_EQ(s->baseX, 2);
  EXPECT_EQ(s->stepX, 512);
}

TEST(ClipStretched, ClippingTheSourceMovesTheDestinationInProportion) {
  auto s = ClipStretched({-4, 0, 8, 1}, {0, 0, 6, 1}, kSource, kDest);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->dstX, 2);
  EXPECT_EQ(s->width, 4);
  EXPECT_EQ(s->baseX, 0);
  EXPECT_EQ(s->stepX, 2048);
}

TEST(ClipStretched, NarrowDestinationsOrOutsideRectanglesDrawNothing) {
  EXPECT_FALSE(ClipStretched({0, 0, 4, 4}, {0, 0, 1.4f, 4}, kSource, kDest));
  EXPECT_FALSE(ClipStretched({0, 0, 4, 4}, {0, 0, 4, 0.4f}, kSource, kDest));
  EXPECT_FALSE(ClipStretched({0, 0, 4, 4}, {11, 0, 15, 4}, kSource, kDest));
  EXPECT_FALSE(ClipStretched({9, 0, 12, 4}, {0, 0, 4, 4}, kSource, kDest));
}

TEST(PlanRows, WithoutInterlacingEveryRowIsDrawn) {
  RowPlan p = PlanRows(3, 5);
  EXPECT_EQ(p.first, 0);
  EXPECT_EQ(p.count, 5);
  EXPECT_EQ(p.step, 1);
}

TEST(PlanRows, InterlacingSkipsARowOfTheOtherParityAndHalvesTheRest) {
  TARGB8888::InterlaceActive = true;
  TARGB8888::InterlaceField = 1;
  RowPlan starting = PlanRows(10, 4);  // rows 11, 13
  RowPlan matching = PlanRows(11, 5);  // rows 11, 13, 15
  RowPlan nothing = PlanRows(10, 1);
  TARGB8888::InterlaceActive = false;
  TARGB8888::InterlaceField = 0;
  EXPECT_EQ(starting.first, 1);
  EXPECT_EQ(starting.count, 2);
  EXPECT_EQ(starting.step, 2);
  EXPECT_EQ(matching.first, 0);
  EXPECT_EQ(matching.count, 3);
  EXPECT_EQ(nothing.count, 0);
}

// Through the draws: the stretched sampling picks the columns it says.
TEST(StretchedDraw, SamplesNearestNeighbourColumns) {
  TARGB8888 src;
  src.SetSize(4, 1);
  for (int x = 0; x < 4; ++x) src.SetPixel(x, 0, 0xFF000000u + x);
  TARGB8888 dst;
  dst.SetSize(6, 1);
  src.DrawCopyStretched(dst, {0.5f, 0, 3.5f, 1}, {0, 0, 6, 1}, 255);
  // (512 + k * 512) >> 10 for k = 0..5: 0, 1, 1, 2, 2, 3.
  uint32_t expected[6] = {0, 1, 1, 2, 2, 3};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(dst.Pixel(k, 0), 0xFF000000u + expected[k]) << k;
}

TEST(StretchedDraw, ReducesByStepping) {
  TARGB8888 src;
  src.SetSize(8, 1);
  for (int x = 0; x < 8; ++x) src.SetPixel(x, 0, 0xFF000000u + x);
  TARGB8888 dst;
  dst.SetSize(4, 1);
  src.DrawAlphaStretched(dst, {0, 0, 8, 1}, {0, 0, 4, 1}, 255);
  // Columns 0, 2, 4, 6 through the general alpha formula at w = 127:
  // RGB x*127 >> 7, A 255*127 >> 7 = 253.
  EXPECT_EQ(dst.Pixel(1, 0), 0xFD000001u);  // 2*127 >> 7 = 1
  EXPECT_EQ(dst.Pixel(3, 0), 0xFD000005u);  // 6*127 >> 7 = 5
}

TEST(StretchedDraw, AddAtFullOpacityUsesTheScaledForm) {
  TARGB8888 src;
  src.SetSize(2, 1);
  src.FillSolid({0, 0, 2, 1}, 0xFF808080u);
  TARGB8888 dst;
  dst.SetSize(2, 1);
  src.DrawAddStretched(dst, {0, 0, 2, 1}, {0, 0, 2, 1}, 255);
  EXPECT_EQ(dst.Pixel(0, 0), 0xFE7F7F7Fu);  // 128*255 >> 8 = 127, 255*255 >> 8 = 254
}

}  // namespace
}  // namespace mavu::imaging::detail
