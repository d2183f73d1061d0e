#include "imaging/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

#include "base/byte_reader.h"
#include "test_images.h"

namespace mavu::imaging {
namespace {

TARGB8888 PictureOf(const test::TopDownImage& picture) {
  TARGB8888 image;
  image.SetSize(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) image.SetPixel(x, y, picture.At(x, y));
  }
  return image;
}

// Every pixel of `image` written with `alpha` and read back, against what it
// should read back as.
void ExpectRoundTrip(const TARGB8888& image, PngAlpha alpha, uint32_t alphaBits) {
  const base::Bytes file = EncodePng(image, alpha);
  base::ByteReader in(file);
  TARGB8888 loaded;
  loaded.LoadPng(in);
  ASSERT_EQ(loaded.Width(), image.Width());
  ASSERT_EQ(loaded.Height(), image.Height());
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      ASSERT_EQ(loaded.Pixel(x, y), image.Pixel(x, y) | alphaBits) << x << "," << y;
    }
  }
}

TEST(EncodePng, LoadsBackAsTheSamePixelsMadeOpaque) {
  ExpectRoundTrip(PictureOf(test::Gradient(7, 5, true)), PngAlpha::kDrop, 0xFF000000u);
}

TEST(EncodePng, KeepsStraightAlphaWhenAsked) {
  TARGB8888 image = PictureOf(test::Gradient(7, 5, true));
  image.SetPixel(3, 2, 0x00000000u);
  image.SetPixel(4, 2, 0x80FF4020u);
  ExpectRoundTrip(image, PngAlpha::kKeep, 0);
}

// Read with libpng itself, so that a row order both ways wrong cannot pass.
TEST(EncodePng, WritesEightBitRgbTopRowFirst) {
  TARGB8888 image = PictureOf(test::Gradient(3, 2, false));
  image.SetPixel(0, 0, 0xFF123456u);
  base::Bytes file = EncodePng(image);
  png_image decoded{};
  decoded.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&decoded, file.data(), file.size()));
  EXPECT_EQ(decoded.format, static_cast<png_uint_32>(PNG_FORMAT_RGB));
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(decoded));
  ASSERT_TRUE(png_image_finish_read(&decoded, nullptr, rgb.data(), 0, nullptr));
  EXPECT_EQ(rgb[0], 0x12);
  EXPECT_EQ(rgb[1], 0x34);
  EXPECT_EQ(rgb[2], 0x56);
}

TEST(EncodePng, RefusesAnEmptyPicture) {
  EXPECT_THROW(EncodePng(TARGB8888()), ImageWriteError);
}

}  // namespace
}  // namespace mavu::imaging
