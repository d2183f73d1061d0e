#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "base/byte_reader.h"
#include "base/cp932.h"
#include "imaging/argb8888.h"
#include "support/imaging/load_error.h"
#include "test_images.h"

namespace mavu::imaging {
namespace {

using base::Bytes;

constexpr size_t kIhdrData = 16;  // signature 8, length 4, type 4
constexpr size_t kIhdrCrc = kIhdrData + 13;

void ExpectSame(const TARGB8888& image, const test::TopDownImage& expected, bool withAlpha) {
  ASSERT_EQ(image.Width(), expected.width);
  ASSERT_EQ(image.Height(), expected.height);
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      uint32_t want = expected.At(x, y) | (withAlpha ? 0u : 0xFF000000u);
      ASSERT_EQ(image.Pixel(x, y), want) << x << "," << y;
    }
  }
}

void PutU32Be(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

void FixIhdrCrc(Bytes& b) {
  uLong crc = crc32(0, b.data() + 12, 17);  // type and data
  PutU32Be(b, kIhdrCrc, static_cast<uint32_t>(crc));
}

TEST(LoadPng, DecodesColourAndAlphaExactly) {
  auto picture = test::Gradient(7, 5, true);
  Bytes file = test::EncodePng(picture, true);
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadPng(in);
  ExpectSame(image, picture, true);
  EXPECT_TRUE(image.HasAlpha());
  EXPECT_TRUE(in.AtEnd());
}

TEST(LoadPng, PicturesWithoutAlphaAreOpaque) {
  auto picture = test::Gradient(4, 3, false);
  Bytes file = test::EncodePng(picture, false);
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadPng(in);
  ExpectSame(image, picture, false);
  EXPECT_FALSE(image.HasAlpha());
}

TEST(LoadPng, FourBytesThatAreNotTheSignatureAreSkipped) {
  auto picture = test::Gradient(3, 3, true);
  Bytes file = {'A', 'B', 'C', 'D'};
  Bytes png = test::EncodePng(picture, true);
  file.insert(file.end(), png.begin(), png.end());
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadPng(in);
  ExpectSame(image, picture, true);
}

TEST(LoadPng, StopsAfterTheEndChunk) {
  Bytes file = test::EncodePng(test::Gradient(2, 2, false), false);
  size_t size = file.size();
  file.push_back(0x42);
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadPng(in);
  EXPECT_EQ(in.Position(), size);
}

TEST(LoadPng, RefusesAStreamShorterThanThePrefix) {
  test::ExpectLoadError(test::kPngFormat, Bytes{0x89, 0x50});
}

TEST(LoadPng, RefusesGarbage) {
  test::ExpectLoadError(test::kPngFormat, Bytes(100, 0x5A));
}

TEST(LoadPng, RefusesABadChecksum) {
  Bytes file = test::EncodePng(test::Gradient(4, 4, false), false);
  file[kIhdrCrc] ^= 0xFF;
  test::ExpectLoadError(test::kPngFormat, file);
}

TEST(LoadPng, RefusesATruncatedPicture) {
  Bytes file = test::EncodePng(test::Gradient(16, 16, true), true);
  file.resize(file.size() / 2);
  test::ExpectLoadError(test::kPngFormat, file);
}

TEST(LoadPng, RefusesHostileDimensions) {
  Bytes file = test::EncodePng(test::Gradient(4, 4, false), false);
  PutU32Be(file, kIhdrData, 100000);
  PutU32Be(file, kIhdrData + 4, 100000);
  FixIhdrCrc(file);
  test::ExpectLoadError(test::kPngFormat, file);
  // Within libpng's own limits but past ours in area.
  PutU32Be(file, kIhdrData, 16384);
  PutU32Be(file, kIhdrData + 4, 16384);
  FixIhdrCrc(file);
  test::ExpectLoadError(test::kPngFormat, file);
}

TEST(LoadPng, RefusesASizeItsDataCannotHold) {
  // 8000 x 8000 is within the size limit, but not from a few dozen bytes.
  Bytes file = test::EncodePng(test::Gradient(4, 4, false), false);
  PutU32Be(file, kIhdrData, 8000);
  PutU32Be(file, kIhdrData + 4, 8000);
  FixIhdrCrc(file);
  EXPECT_NE(test::ExpectLoadError(test::kPngFormat, file).find("bytes"), std::string::npos);
}

}  // namespace
}  // namespace mavu::imaging
