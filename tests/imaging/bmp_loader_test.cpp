#include <gtest/gtest.h>

#include <string>

#include "base/byte_reader.h"
#include "base/cp932.h"
#include "imaging/argb8888.h"
#include "support/imaging/load_error.h"
#include "test_images.h"

namespace mavu::imaging {
namespace {

using base::Bytes;
using test::BmpSpec;
using test::EncodeBmp;

TARGB8888 Load(const Bytes& file) {
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadBmp(in);
  return image;
}

TEST(LoadBmp, TwentyFourBitsBottomUpWithRowPadding) {
  BmpSpec spec;
  spec.width = 3;
  spec.height = 2;
  // Stored bottom row first: B, G, R per pixel, rows padded to 12 bytes.
  spec.rows = {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15, 16, 17, 18}};
  TARGB8888 image = Load(EncodeBmp(spec));
  ASSERT_EQ(image.Width(), 3);
  ASSERT_EQ(image.Height(), 2);
  EXPECT_EQ(image.Pixel(0, 1), 0xFF030201u);
  EXPECT_EQ(image.Pixel(2, 1), 0xFF090807u);
  EXPECT_EQ(image.Pixel(0, 0), 0xFF0C0B0Au);
  EXPECT_FALSE(image.HasAlpha());
}

TEST(LoadBmp, NegativeHeightMeansTopDownRows) {
  BmpSpec spec;
  spec.width = 1;
  spec.height = -2;
  spec.rows = {{1, 2, 3}, {4, 5, 6}};
  TARGB8888 image = Load(EncodeBmp(spec));
  EXPECT_EQ(image.Pixel(0, 0), 0xFF030201u);
  EXPECT_EQ(image.Pixel(0, 1), 0xFF060504u);
}

TEST(LoadBmp, ThirtyTwoBitsKeepTheirStoredAlpha) {
  BmpSpec spec;
  spec.width = 2;
  spec.height = 1;
  spec.bitsPerPixel = 32;
  spec.rows = {{0x10, 0x20, 0x30, 0x00, 0x11, 0x22, 0x33, 0x80}};
  TARGB8888 image = Load(EncodeBmp(spec));
  EXPECT_EQ(image.Pixel(0, 0), 0x00302010u);
  EXPECT_EQ(image.Pixel(1, 0), 0x80332211u);
  EXPECT_TRUE(image.HasAlpha());
}

TEST(LoadBmp, ChannelMasksOfAVersion5Header) {
  BmpSpec spec;
  spec.headerSize = 124;
  spec.width = 1;
  spec.height = 1;
  spec.bitsPerPixel = 32;
  spec.compression = 3;
  spec.masks = {0x0000FF00u, 0x00FF0000u, 0xFF000000u, 0x000000FFu};  // R, G, B, A
  spec.rows = {{0x40, 0x30, 0x20, 0x10}};  // A 0x40, R 0x30, G 0x20, B 0x10
  EXPECT_EQ(Load(EncodeBmp(spec)).Pixel(0, 0), 0x40302010u);
}

TEST(LoadBmp, SixteenBitsAre555UnlessMasked) {
  BmpSpec plain;
  plain.width = 2;
  plain.height = 1;
  plain.bitsPerPixel = 16;
  plain.rows = {{0x1F, 0x7C, 0xE0, 0x03}};  // 0x7C1F: red and blue full; 0x03E0 green full
  TARGB8888 image = Load(EncodeBmp(plain));
  EXPECT_EQ(image.Pixel(0, 0), 0xFFFF00FFu);
  EXPECT_EQ(image.Pixel(1, 0), 0xFF00FF00u);

  BmpSpec masked = plain;
  masked.compression = 3;
  masked.masks = {0xF800, 0x07E0, 0x001F};
  masked.rows = {{0x08, 0xFC, 0x00, 0x00}};  // 0xFC08: R 31, G 32, B 8
  EXPECT_EQ(Load(EncodeBmp(masked)).Pixel(0, 0), 0xFFFF8242u);
}

TEST(LoadBmp, EightBitsThroughAShortPalette) {
  BmpSpec spec;
  spec.width = 3;
  spec.height = 1;
  spec.bitsPerPixel = 8;
  spec.palette = {0x000000, 0x112233, 0xFFEEDD};
  spec.colourCount = 3;
  spec.rows = {{2, 1, 200}};  // index 200 lies past the palette: black
  TARGB8888 image = Load(EncodeBmp(spec));
  EXPECT_EQ(image.Pixel(0, 0), 0xFFFFEEDDu);
  EXPECT_EQ(image.Pixel(1, 0), 0xFF112233u);
  EXPECT_EQ(image.Pixel(2, 0), 0xFF000000u);
}

TEST(LoadBmp, FourAndOneBitPixelsReadFromTheHighBitsFirst) {
  BmpSpec four;
  four.width = 3;
  four.height = 1;
  four.bitsPerPixel = 4;
  four.palette.assign(16, 0);
  four.palette[1] = 0x0000FF;
  four.palette[15] = 0xFF0000;
  four.rows = {{0x1F, 0x10}};
  TARGB8888 image = Load(EncodeBmp(four));
  EXPECT_EQ(image.Pixel(0, 0), 0xFF0000FFu);
  EXPECT_EQ(image.Pixel(1, 0), 0xFFFF0000u);
  EXPECT_EQ(image.Pixel(2, 0), 0xFF0000FFu);

  BmpSpec one;
  one.width = 10;
  one.height = 1;
  one.bitsPerPixel = 1;
  one.palette = {0x000000, 0xFFFFFF};
  one.rows = {{0xA0, 0x40}};  // 1010 0000 01..
  image = Load(EncodeBmp(one));
  EXPECT_EQ(image.Pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image.Pixel(1, 0), 0xFF000000u);
  EXPECT_EQ(image.Pixel(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image.Pixel(8, 0), 0xFF000000u);
  EXPECT_EQ(image.Pixel(9, 0), 0xFFFFFFFFu);
}

TEST(LoadBmp, CoreHeaderWithThreeBytePaletteEntries) {
  BmpSpec spec;
  spec.headerSize = 12;
  spec.width = 2;
  spec.height = 1;
  spec.bitsPerPixel = 8;
  spec.palette.assign(256, 0);
  spec.palette[7] = 0xABCDEF;
  spec.rows = {{7, 0}};
  TARGB8888 image = Load(EncodeBmp(spec));
  EXPECT_EQ(image.Pixel(0, 0), 0xFFABCDEFu);
  EXPECT_EQ(image.Pixel(1, 0), 0xFF000000u);
}

TEST(LoadBmp, RunLengthEightBits) {
  BmpSpec spec;
  spec.width = 4;
  spec.height = 2;
  spec.bitsPerPixel = 8;
  spec.compression = 1;
  spec.palette = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
  spec.colourCount = 4;
  // Bottom row: run of 3 x index 1, end of line; top row: absolute 2, 3, 1
  // (padded), then end of bitmap.
  spec.raw = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1};
  TARGB8888 image = Load(EncodeBmp(spec));
  EXPECT_EQ(image.Pixel(0, 1), 0xFF0000FFu);
  EXPECT_EQ(image.Pixel(2, 1), 0xFF0000FFu);
  EXPECT_EQ(image.Pixel(3, 1), 0xFF000000u);  // never reached: entry 0
  EXPECT_EQ(image.Pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(image.Pixel(1, 0), 0xFFFF0000u);
  EXPECT_EQ(image.Pixel(2, 0), 0xFF0000FFu);
}

TEST(LoadBmp, RunLengthFourBitsWithADelta) {
  BmpSpec spec;
  spec.width = 4;
  spec.height = 2;
  spec.bitsPerPixel = 4;
  spec.compression = 2;
  spec.palette = {0x000000, 0x0000FF, 0x00FF00};
  spec.colourCount = 3;
  // A run of three pixels alternating indices 1 and 2, a delta past the end of
  // the next row, an end of line that leaves the picture.
  spec.raw = {3, 0x12, 0, 2, 1, 1, 0, 0, 0, 1};
  TARGB8888 image = Load(EncodeBmp(spec));
  EXPECT_EQ(image.Pixel(0, 1), 0xFF0000FFu);
  EXPECT_EQ(image.Pixel(1, 1), 0xFF00FF00u);
  EXPECT_EQ(image.Pixel(2, 1), 0xFF0000FFu);
}

TEST(LoadBmp, RefusesWhatIsNotABmp) {
  test::ExpectLoadError(test::kBmpFormat, Bytes{'P', 'K', 3, 4, 0, 0, 0, 0});
}

TEST(LoadBmp, RefusesTruncatedPixelData) {
  BmpSpec spec;
  spec.width = 4;
  spec.height = 4;
  spec.rows = {{1, 2, 3}};
  test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec));
}

TEST(LoadBmp, RefusesAPalettePastTheEnd) {
  BmpSpec spec;
  spec.width = 1;
  spec.height = 1;
  spec.bitsPerPixel = 8;
  spec.colourCount = 200;
  spec.palette = {0x000000, 0x111111};
  Bytes file = EncodeBmp(spec);
  test::ExpectLoadError(test::kBmpFormat, file);
}

TEST(LoadBmp, RefusesHostileDimensions) {
  BmpSpec spec;
  spec.width = 100000;
  spec.height = 100000;
  spec.rows = {{0, 0, 0}};
  test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec));
  spec.width = 0;
  spec.height = 1;
  test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec));
  spec.width = 1;
  spec.height = std::numeric_limits<int32_t>::min();
  test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec));
}

TEST(LoadBmp, RefusesRunLengthDataTooShortForItsSize) {
  BmpSpec spec;
  spec.width = 8000;
  spec.height = 8000;
  spec.bitsPerPixel = 8;
  spec.compression = 1;
  spec.palette = {0, 0};
  spec.colourCount = 2;
  spec.raw = {0, 1};  // end of bitmap: 64 million pixels from two bytes
  EXPECT_NE(test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec)).find("bytes"),
            std::string::npos);
}

TEST(LoadBmp, RefusesUnknownDepthsCompressionsAndHeaders) {
  BmpSpec spec;
  spec.width = 1;
  spec.height = 1;
  spec.bitsPerPixel = 7;
  spec.rows = {{0, 0, 0, 0}};
  test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec));
  spec.bitsPerPixel = 24;
  spec.compression = 4;  // JPEG inside BMP
  test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec));
  spec.compression = 1;  // RLE8 on a 24-bit picture
  test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec));
  spec.compression = 0;
  spec.headerSize = 20;
  test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec));
}

TEST(LoadBmp, RefusesAPixelOffsetPastTheEnd) {
  BmpSpec spec;
  spec.width = 1;
  spec.height = 1;
  spec.rows = {{1, 2, 3}};
  Bytes file = EncodeBmp(spec);
  file[10] = 0xFF;
  file[11] = 0xFF;
  test::ExpectLoadError(test::kBmpFormat, file);
}

TEST(LoadBmp, RefusesRunLengthDataThatStopsEarly) {
  BmpSpec spec;
  spec.width = 4;
  spec.height = 2;
  spec.bitsPerPixel = 8;
  spec.compression = 1;
  spec.palette = {0, 0};
  spec.colourCount = 2;
  spec.raw = {3, 1, 0, 0, 0, 5, 1};  // absolute run of 5 with one byte left
  test::ExpectLoadError(test::kBmpFormat, EncodeBmp(spec));
}

TEST(LoadAlphaMask, EightBitIndicesBecomeAlphaWhereBothOverlap) {
  BmpSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.bitsPerPixel = 8;
  spec.palette.assign(256, 0xFFFFFF);        // the palette colours do not matter
  spec.rows = {{0x30, 0x40}, {0x10, 0x20}};  // bottom row first
  Bytes file = EncodeBmp(spec);
  TARGB8888 image;
  image.SetSize(3, 1);
  image.SetBits(0xFF123456u, 0);
  image.RecomputeHasAlpha();
  base::ByteReader in(file);
  image.LoadAlphaMask(in);
  EXPECT_EQ(image.Pixel(0, 0), 0x10123456u);
  EXPECT_EQ(image.Pixel(1, 0), 0x20123456u);
  EXPECT_EQ(image.Pixel(2, 0), 0xFF123456u);  // outside the mask
  EXPECT_TRUE(image.HasAlpha());
}

TEST(LoadAlphaMask, ColourMasksGiveTheirBlueChannel) {
  BmpSpec spec;
  spec.width = 1;
  spec.height = 1;
  spec.rows = {{0x77, 0x01, 0x02}};
  Bytes file = EncodeBmp(spec);
  TARGB8888 image;
  image.SetSize(1, 1);
  base::ByteReader in(file);
  image.LoadAlphaMask(in);
  EXPECT_EQ(image.Pixel(0, 0), 0x77000000u);
}

TEST(LoadAlphaMask, ABadMaskLeavesThePictureAsItWas) {
  TARGB8888 image;
  image.SetSize(2, 1);
  image.FillSolid({0, 0, 2, 1}, 0xFF010203u);
  Bytes garbage{'B', 'M', 1, 2};
  base::ByteReader in(garbage);
  EXPECT_THROW(image.LoadAlphaMask(in), ImageLoadError);
  EXPECT_EQ(image.Pixel(1, 0), 0xFF010203u);
}

}  // namespace
}  // namespace mavu::imaging
