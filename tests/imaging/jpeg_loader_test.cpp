#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "base/byte_reader.h"
#include "base/cp932.h"
#include "imaging/argb8888.h"
#include "support/imaging/load_error.h"
#include "test_images.h"

namespace mavu::imaging {
namespace {

using base::Bytes;

constexpr int kQuality = 95;

Bytes Jpeg(int width = 16, int height = 8) {
  return test::EncodeJpeg(test::Gradient(width, height, false), kQuality);
}

TARGB8888 Load(const Bytes& file) {
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadJpeg(in);
  return image;
}

bool SamePixels(const TARGB8888& a, const TARGB8888& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y) {
    if (!std::equal(a.Row(y), a.Row(y) + a.Width(), b.Row(y))) return false;
  }
  return true;
}

size_t FindMarker(const Bytes& file, uint8_t marker) {
  for (size_t i = 0; i + 1 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == marker) return i;
  }
  return file.size();
}

TEST(LoadJpeg, DecodesCloseToTheOriginalWithOpaqueAlpha) {
  constexpr int kWidth = 64, kHeight = 32;
  auto picture = test::Gradient(kWidth, kHeight, false);
  TARGB8888 image = Load(test::EncodeJpeg(picture, kQuality));
  ASSERT_EQ(image.Width(), kWidth);
  ASSERT_EQ(image.Height(), kHeight);
  int worst = 0, total = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint32_t got = image.Pixel(x, y), want = picture.At(x, y);
      EXPECT_EQ(got >> 24, 0xFFu);
      for (int c = 0; c < 3; ++c) {
        int diff = std::abs(static_cast<int>((got >> (8 * c)) & 0xFF) -
                            static_cast<int>((want >> (8 * c)) & 0xFF));
        worst = std::max(worst, diff);
        total += diff;
      }
    }
  }
  // Colour is subsampled 2 x 2, so single pixels may stray; on average the
  // picture stays within a couple of levels.
  EXPECT_LE(worst, 16);
  EXPECT_LE(total, 2 * kWidth * kHeight * 3);
  EXPECT_FALSE(image.HasAlpha());
}

TEST(LoadJpeg, SkipsGarbageBeforeTheStartOfImage) {
  Bytes clean = Jpeg();
  Bytes prefixed = {0x00, 0xFF, 0xD8, 0x00, 0x12, 0xFF};  // a near miss included
  prefixed.insert(prefixed.end(), clean.begin(), clean.end());
  EXPECT_TRUE(SamePixels(Load(prefixed), Load(clean)));
}

TEST(LoadJpeg, LeavesTheStreamJustPastTheEndOfImage) {
  Bytes file = Jpeg();
  size_t size = file.size();
  file.insert(file.end(), {0xFF, 0xD9, 0x01});
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadJpeg(in);
  EXPECT_EQ(in.Position(), size);
}

TEST(LoadJpeg, AnEndOfImageInsideAHeaderSegmentIsNotTheEnd) {
  Bytes clean = Jpeg();
  // An APP1 segment holding a whole small "thumbnail" (FF D8 ... FF D9) right
  // after the start of image, as Exif headers do.
  Bytes segment = {0xFF, 0xE1, 0x00, 0x08, 0xFF, 0xD8, 0xFF, 0xD9, 0x00, 0x00};
  Bytes file(clean.begin(), clean.begin() + 2);
  file.insert(file.end(), segment.begin(), segment.end());
  file.insert(file.end(), clean.begin() + 2, clean.end());
  EXPECT_TRUE(SamePixels(Load(file), Load(clean)));
}

TEST(LoadJpeg, WithoutAnEndOfImageTheStreamStaysPut) {
  Bytes file = {1, 2, 3};
  Bytes jpeg = Jpeg();
  file.insert(file.end(), jpeg.begin(), jpeg.end() - 2);
  base::ByteReader in(file);
  in.Seek(1);
  test::ExpectLoadError(test::kJpegFormat, in);
  EXPECT_EQ(in.Position(), 1u);
}

TEST(LoadJpeg, WithoutAStartOfImageTheStreamStaysPut) {
  Bytes file = Jpeg();
  file[1] = 0x00;
  test::ExpectLoadError(test::kJpegFormat, file);
}

TEST(LoadJpeg, RefusesAFrameWithoutWidth) {
  Bytes file = Jpeg();
  size_t sof = FindMarker(file, 0xC0);
  ASSERT_LT(sof, file.size());
  file[sof + 7] = 0;
  file[sof + 8] = 0;
  test::ExpectLoadError(test::kJpegFormat, file);
}

TEST(LoadJpeg, RefusesHostileDimensions) {
  Bytes file = Jpeg();
  size_t sof = FindMarker(file, 0xC0);
  ASSERT_LT(sof, file.size());
  for (size_t i = 5; i < 9; ++i) file[sof + i] = 0xFF;  // 65535 x 65535
  test::ExpectLoadError(test::kJpegFormat, file);
}

TEST(LoadJpeg, RefusesASizeItsDataCannotHold) {
  Bytes file = Jpeg();
  size_t sof = FindMarker(file, 0xC0);
  ASSERT_LT(sof, file.size());
  // 8000 x 8000 is within the size limit, but not from under a kilobyte.
  file[sof + 5] = file[sof + 7] = 8000 >> 8;
  file[sof + 6] = file[sof + 8] = 8000 & 0xFF;
  test::ExpectLoadError(test::kJpegFormat, file);
}

TEST(LoadJpeg, RefusesDamagedTables) {
  Bytes file = Jpeg();
  size_t dqt = FindMarker(file, 0xDB);
  ASSERT_LT(dqt, file.size());
  file[dqt + 4] = 0x7F;  // table precision and id out of range
  test::ExpectLoadError(test::kJpegFormat, file);
}

}  // namespace
}  // namespace mavu::imaging
