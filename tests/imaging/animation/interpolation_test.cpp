#include "imaging/animation/interpolation.h"

#include <gtest/gtest.h>

namespace mavu::imaging {
namespace {

constexpr KeyValues kRamp{0, 0, 100, 100};

TEST(Interpolation, EachModeAtHalfway) {
  EXPECT_EQ(InterpolateValue(0, kRamp, 0.5, 0), 0);
  EXPECT_EQ(InterpolateValue(0, kRamp, 1.0, 0), 100);  // hold gives P2 only at the end
  EXPECT_EQ(InterpolateValue(1, kRamp, 0.5, 0), 50);
  // B-spline of 0, 0, 6, 6: (2.875 x 6 + 0.125 x 6) / 6.
  EXPECT_DOUBLE_EQ(InterpolateValue(2, {0, 0, 6, 6}, 0.5, 0), 3.0);
  // Ease-out weight at index 512: round(1024 - 511^2.4 / 16384) = 831.
  EXPECT_DOUBLE_EQ(InterpolateValue(3, kRamp, 0.5, 0), 100.0 * 831 / 1024);
  // Ease-in weight at index 512: round(512^2.4 / 16384) = 194.
  EXPECT_DOUBLE_EQ(InterpolateValue(4, kRamp, 0.5, 0), 100.0 * 194 / 1024);
  // Hermite with tangents 100 and 100: the cubic terms cancel at the middle.
  EXPECT_DOUBLE_EQ(InterpolateValue(5, kRamp, 0.5, 0), 50.0);
  // Shake at the start: the full random offset around P1.
  EXPECT_NEAR(InterpolateValue(6, kRamp, 0.0, -20), -20.0, 1e-9);
  EXPECT_DOUBLE_EQ(InterpolateValue(6, kRamp, 1.0, 19), 100.0);
  EXPECT_EQ(InterpolateValue(9, kRamp, 0.5, 0), 0);  // unknown modes hold
}

TEST(Interpolation, EqualKeysHoldTheirValue) {
  const KeyValues flat{7, 7, 7, 7};
  for (int mode = 0; mode <= 5; ++mode)
    EXPECT_DOUBLE_EQ(InterpolateValue(mode, flat, 0.3, 0), 7) << mode;
}

TEST(Interpolation, ColoursMixPerChannelOrGoBlack) {
  EXPECT_EQ(InterpolateColour(0, 0xFF000000, 0x00FFFFFF, 0.5), 0xFF000000u);
  EXPECT_EQ(InterpolateColour(1, 0xFF000000, 0x00FFFFFF, 0.5), 0x7F7F7F7Fu);
  EXPECT_EQ(InterpolateColour(3, 0xFF000000, 0x00FFFFFF, 0.5), 0x7F7F7F7Fu);
  EXPECT_EQ(InterpolateColour(4, 0xFF000000, 0x00FFFFFF, 0.5), 0u);
  EXPECT_EQ(MultiplyColours(0xFF80FF00, 0x80FFFF40), 0x8080FF00u);
}

}  // namespace
}  // namespace mavu::imaging
