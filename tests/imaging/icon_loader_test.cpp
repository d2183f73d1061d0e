#include "imaging/icon_loader.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/byte_writer.h"
#include "test_images.h"

namespace mavu::imaging {
namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0x800000FF;

struct IconPicture {
  uint8_t width;
  uint8_t height;
  uint16_t bitsPerPixel;
  base::Bytes data;
};

base::Bytes IconFile(const std::vector<IconPicture>& pictures) {
  base::ByteWriter out;
  out.U16(0).U16(1).U16(static_cast<uint16_t>(pictures.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * pictures.size());
  for (const IconPicture& p : pictures) {
    out.U8(p.width).U8(p.height).U8(0).U8(0).U16(1).U16(p.bitsPerPixel);
    out.U32(static_cast<uint32_t>(p.data.size())).U32(offset);
    offset += static_cast<uint32_t>(p.data.size());
  }
  for (const IconPicture& p : pictures) out.Append(p.data);
  return out.Data();
}

// A 32-bit bitmap entry; `rows` top-down, `maskRows` one byte each (a 2-pixel row's bits).
base::Bytes Bitmap32(const std::vector<std::vector<uint32_t>>& rows,
                     const std::vector<uint8_t>& maskRows) {
  const auto height = static_cast<int32_t>(rows.size());
  base::ByteWriter out;
  out.U32(40).U32(static_cast<uint32_t>(rows[0].size())).U32(static_cast<uint32_t>(height * 2));
  out.U16(1).U16(32).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    for (uint32_t argb : *row) out.U32(argb);
  }
  for (auto mask = maskRows.rbegin(); mask != maskRows.rend(); ++mask)
    out.U8(*mask).U8(0).U8(0).U8(0);
  return out.Data();
}

TEST(IconLoader, TheLargestBitmapWithItsMaskTransparent) {
  const base::Bytes small = Bitmap32({{kGreen}}, {0x00});
  const base::Bytes large = Bitmap32({{kRed, kBlue}, {kGreen, kRed}}, {0x80, 0x00});
  const TARGB8888 icon = LoadIcon(IconFile({{1, 1, 32, small}, {2, 2, 32, large}}));
  ASSERT_EQ(icon.Width(), 2);
  ASSERT_EQ(icon.Height(), 2);
  EXPECT_EQ(icon.Pixel(0, 0), 0u);  // masked
  EXPECT_EQ(icon.Pixel(1, 0), kBlue);
  EXPECT_EQ(icon.Pixel(0, 1), kGreen);
  EXPECT_EQ(icon.Pixel(1, 1), kRed);
}

TEST(IconLoader, AnOldIconWithoutAlphaIsOpaqueOutsideItsMask) {
  const base::Bytes bitmap = Bitmap32({{0x00112233, 0x00445566}}, {0x40});
  const TARGB8888 icon = LoadIcon(IconFile({{2, 1, 32, bitmap}}));
  EXPECT_EQ(icon.Pixel(0, 0), 0xFF112233u);
  EXPECT_EQ(icon.Pixel(1, 0), 0u);
}

TEST(IconLoader, APngPictureIsReadAsItIs) {
  const base::Bytes png =
      test::EncodePng(test::TopDownImage{3, 3, std::vector<uint32_t>(9, kRed)}, true);
  const TARGB8888 icon = LoadIcon(IconFile(
      {{2, 2, 32, Bitmap32({{kGreen, kGreen}, {kGreen, kGreen}}, {0, 0})}, {0, 0, 32, png}}));
  EXPECT_EQ(icon.Width(), 3);
  EXPECT_EQ(icon.Pixel(2, 2), kRed);
}

TEST(IconLoader, WhatIsNoIconIsRefused) {
  const base::Bytes good = IconFile({{1, 1, 32, Bitmap32({{kRed}}, {0})}});
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
