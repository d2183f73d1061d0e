#include "imaging/icon_loader.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_images.h"

namespace mavu::imaging {
namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0x800000FF;

using test::EncodeIcon;
using test::IconBitmap32;

TEST(IconLoader, TheLargestBitmapWithItsMaskTransparent) {
  const base::Bytes small = IconBitmap32({{kGreen}}, {0x00});
  const base::Bytes large = IconBitmap32({{kRed, kBlue}, {kGreen, kRed}}, {0x80, 0x00});
  const TARGB8888 icon = LoadIcon(EncodeIcon({{1, 1, 32, small}, {2, 2, 32, large}}));
  ASSERT_EQ(icon.Width(), 2);
  ASSERT_EQ(icon.Height(), 2);
  EXPECT_EQ(icon.Pixel(0, 0), 0u);  // masked
  EXPECT_EQ(icon.Pixel(1, 0), kBlue);
  EXPECT_EQ(icon.Pixel(0, 1), kGreen);
  EXPECT_EQ(icon.Pixel(1, 1), kRed);
}

TEST(IconLoader, AnOldIconWithoutAlphaIsOpaqueOutsideItsMask) {
  const base::Bytes bitmap = IconBitmap32({{0x00112233, 0x00445566}}, {0x40});
  const TARGB8888 icon = LoadIcon(EncodeIcon({{2, 1, 32, bitmap}}));
  EXPECT_EQ(icon.Pixel(0, 0), 0xFF112233u);
  EXPECT_EQ(icon.Pixel(1, 0), 0u);
}

TEST(IconLoader, APngPictureIsReadAsItIs) {
  const base::Bytes png =
      test::EncodePng(test::TopDownImage{3, 3, std::vector<uint32_t>(9, kRed)}, true);
  const TARGB8888 icon = LoadIcon(EncodeIcon(
      {{2, 2, 32, IconBitmap32({{kGreen, kGreen}, {kGreen, kGreen}}, {0, 0})}, {0, 0, 32, png}}));
  EXPECT_EQ(icon.Width(), 3);
  EXPECT_EQ(icon.Pixel(2, 2), kRed);
}

TEST(IconLoader, WhatIsNoIconIsRefused) {
  const base::Bytes good = EncodeIcon({{1, 1, 32, IconBitmap32({{kRed}}, {0})}});
  base::Bytes cursor = good;
  cursor[2] = 2;
  base::Bytes outside = good;
  outside[18] = 0xFF;  // the picture's offset
  const base::Bytes cut(good.begin(), good.end() - 10);
  base::Bytes noPictures = good;
  noPictures[4] = 0;
  for (const base::Bytes& bad : {cursor, outside, cut, noPictures, base::Bytes{}}) {
    EXPECT_THROW(LoadIcon(bad), ImageLoadError);
  }
}

}  // namespace
}  // namespace mavu::imaging
