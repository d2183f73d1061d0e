#include "imaging/argb8888.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace mavu::imaging {
namespace {

TEST(ARGB8888, NewBufferIsEmptyWithAlphaAndItsOwnSerial) {
  TARGB8888 a, b;
  EXPECT_TRUE(a.Empty());
  EXPECT_EQ(a.Width(), 0);
  EXPECT_EQ(a.Height(), 0);
  EXPECT_TRUE(a.HasAlpha());
  EXPECT_NE(a.Serial(), b.Serial());
}

TEST(ARGB8888, SetSizeGivesTransparentBlackAndAFreshSerial) {
  TARGB8888 image;
  uint32_t before = image.Serial();
  image.SetSize(3, 2);
  EXPECT_NE(image.Serial(), before);
  EXPECT_EQ(image.Width(), 3);
  EXPECT_EQ(image.Height(), 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(image.Pixel(x, y), 0u);
  }
  EXPECT_TRUE(image.HasAlpha());
}

TEST(ARGB8888, SetSizeBelowOneLeavesTheBufferEmpty) {
  TARGB8888 image;
  image.SetSize(0, 5);
  EXPECT_TRUE(image.Empty());
  image.SetSize(5, -1);
  EXPECT_TRUE(image.Empty());
}

TEST(ARGB8888, SetSizeRefusesSizesPastTheLimit) {
  TARGB8888 image;
  EXPECT_THROW(image.SetSize(kMaxImageSide + 1, 1), std::length_error);
  EXPECT_THROW(image.SetSize(kMaxImageSide, kMaxImageSide), std::length_error);
  EXPECT_TRUE(image.Empty());
}

TEST(ARGB8888, ClearFreesThePixelsAndTakesAFreshSerial) {
  TARGB8888 image;
  image.SetSize(2, 2);
  uint32_t sized = image.Serial();
  image.Clear();
  EXPECT_TRUE(image.Empty());
  EXPECT_NE(image.Serial(), sized);
  EXPECT_TRUE(image.HasAlpha());
}

TEST(ARGB8888, PixelOperationsKeepTheSerial) {
  TARGB8888 image;
  image.SetSize(4, 4);
  uint32_t serial = image.Serial();
  image.FillSolid({0, 0, 4, 4}, 0xFF112233u);
  image.SetBits(0xFF000000u, 0x00FFFFFFu);
  image.Scroll(0, 1, 1);
  EXPECT_EQ(image.Serial(), serial);
}

TEST(ARGB8888, SerialsWrapAfterTwoToTheTwentyFour) {
  uint32_t first = TARGB8888::TakeSerial();
  EXPECT_LE(first, TARGB8888::kSerialMask);
  for (uint32_t i = 0; i < TARGB8888::kSerialMask; ++i) TARGB8888::TakeSerial();
  EXPECT_EQ(TARGB8888::TakeSerial(), first);
}

TEST(ARGB8888, RowsAreStoredBottomUpWithoutPadding) {
  TARGB8888 image;
  image.SetSize(3, 4);
  image.SetPixel(0, 0, 0x11111111u);  // top-left
  image.SetPixel(2, 3, 0x22222222u);  // bottom-right
  EXPECT_EQ(image.Pitch(), 12);
  EXPECT_EQ(image.Bits()[3 * 3], 0x11111111u);  // top row is the last stored row
  EXPECT_EQ(image.Bits()[2], 0x22222222u);      // bottom row is the first
  EXPECT_EQ(image.Row(1), image.Row(0) - 3);
  // Bytes of one pixel in memory: B, G, R, A.
  image.SetPixel(1, 1, 0xAABBCCDDu);
  uint8_t bytes[4];
  std::memcpy(bytes, image.Row(1) + 1, 4);
  EXPECT_EQ(bytes[0], 0xDD);
  EXPECT_EQ(bytes[1], 0xCC);
  EXPECT_EQ(bytes[2], 0xBB);
  EXPECT_EQ(bytes[3], 0xAA);
}

TEST(ARGB8888, MoveHandsOverPixelsAndSerialAndEmptiesTheSource) {
  TARGB8888 source;
  source.SetSize(2, 1);
  source.SetPixel(1, 0, 0x01020304u);
  uint32_t serial = source.Serial();
  TARGB8888 moved(std::move(source));
  EXPECT_EQ(moved.Serial(), serial);
  EXPECT_EQ(moved.Pixel(1, 0), 0x01020304u);
  EXPECT_TRUE(source.Empty());  // NOLINT(bugprone-use-after-move): defined state
  EXPECT_NE(source.Serial(), serial);
}

TEST(ARGB8888, RecomputeHasAlphaLooksForAnyAlphaBelowOpaque) {
  TARGB8888 image;
  image.SetSize(2, 2);
  image.FillSolid({0, 0, 2, 2}, 0xFF000000u);
  image.RecomputeHasAlpha();
  EXPECT_FALSE(image.HasAlpha());
  image.SetPixel(1, 1, 0xFE000000u);
  image.RecomputeHasAlpha();
  EXPECT_TRUE(image.HasAlpha());
}

TEST(ARGB8888, AssignImageCopiesPixelsAndHasAlphaButTakesItsOwnSerial) {
  TARGB8888 source, copy;
  source.SetSize(2, 1);
  source.FillSolid({0, 0, 2, 1}, 0xFF102030u);
  source.RecomputeHasAlpha();
  copy.AssignImage(source);
  EXPECT_EQ(copy.Width(), 2);
  EXPECT_EQ(copy.Pixel(1, 0), 0xFF102030u);
  EXPECT_FALSE(copy.HasAlpha());
  EXPECT_NE(copy.Serial(), source.Serial());
}

TEST(ARGB8888, SetBitsMasksAndOrsOverARectangle) {
  TARGB8888 image;
  image.SetSize(3, 3);
  image.SetBits(0x12345678u, 0u);
  image.SetBits(0xFF000000u, 0x00FFFFFFu, {1, 1, 5, 2});
  EXPECT_EQ(image.Pixel(0, 1), 0x12345678u);
  EXPECT_EQ(image.Pixel(1, 1), 0xFF345678u);
  EXPECT_EQ(image.Pixel(2, 1), 0xFF345678u);  // odd columns included: not a pair operation
  EXPECT_EQ(image.Pixel(1, 0), 0x12345678u);
  EXPECT_EQ(image.Pixel(1, 2), 0x12345678u);
}

TARGB8888 Numbered(int width, int height) {
  TARGB8888 image;
  image.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, static_cast<uint32_t>(y * 16 + x + 1));
  }
  return image;
}

// Every shift in every direction, including past the edges: new (x, y) shows
// old (x - dx, y - dy), and the colour where that lies outside.
TEST(ARGB8888, ScrollMovesTheContentsAndFillsWhatItUncovers) {
  constexpr int kW = 4, kH = 5;
  const TARGB8888 original = Numbered(kW, kH);
  for (int dy = -kH - 1; dy <= kH + 1; ++dy) {
    for (int dx = -kW - 1; dx <= kW + 1; ++dx) {
      TARGB8888 image = Numbered(kW, kH);
      image.Scroll(0xEEu, dx, dy);
      for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
          const int fromX = x - dx, fromY = y - dy;
          const bool inside = fromX >= 0 && fromX < kW && fromY >= 0 && fromY < kH;
          ASSERT_EQ(image.Pixel(x, y), inside ? original.Pixel(fromX, fromY) : 0xEEu)
              << "shift " << dx << "," << dy << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(ARGB8888, ThumbnailAveragesEachBoxWithTruncationAndAlphaZero) {
  TARGB8888 image;
  image.SetSize(4, 2);
  // Box 0: R values 10, 11, 12, 14 -> 47 / 4 = 11; G 0; B 255 everywhere.
  image.SetPixel(0, 0, 0xFF0A00FFu);
  image.SetPixel(1, 0, 0xFF0B00FFu);
  image.SetPixel(0, 1, 0xFF0C00FFu);
  image.SetPixel(1, 1, 0xFF0E00FFu);
  for (int x = 2; x < 4; ++x) {
    image.SetPixel(x, 0, 0x80FFFFFFu);
    image.SetPixel(x, 1, 0x80FDFDFDu);
  }
  TARGB8888 thumb;
  thumb.SetSize(2, 1);
  image.Thumbnail(thumb, 2, 2);
  EXPECT_EQ(thumb.Pixel(0, 0), 0x000B00FFu);
  EXPECT_EQ(thumb.Pixel(1, 0), 0x00FEFEFEu);
}

TEST(ARGB8888, ThumbnailIsLimitedToTheThumbnailAndTheWholeBoxes) {
  TARGB8888 image;
  image.SetSize(5, 2);
  image.FillSolid({0, 0, 5, 2}, 0xFF404040u);
  TARGB8888 thumb;
  thumb.SetSize(4, 2);
  thumb.FillSolid({0, 0, 4, 2}, 0x12345678u);
  image.Thumbnail(thumb, 2, 2);
  EXPECT_EQ(thumb.Pixel(0, 0), 0x00404040u);
  EXPECT_EQ(thumb.Pixel(1, 0), 0x00404040u);
  EXPECT_EQ(thumb.Pixel(2, 0), 0x12345678u);  // a third box would pass the source's edge
  EXPECT_EQ(thumb.Pixel(0, 1), 0x12345678u);
}

// --- display surfaces ---------------------------------------------------------

struct Surface {
  Surface(int width, int height, int bits, uint32_t greenMask = 0)
      : memory(static_cast<size_t>(width * ((bits + 7) / 8) * height), 0xCD) {
    desc.bits = memory.data();
    desc.width = width;
    desc.height = height;
    desc.pitch = width * ((bits + 7) / 8);
    desc.bitsPerPixel = bits;
    desc.greenMask = greenMask;
  }
  uint16_t U16(int x, int y) const {
    uint16_t v;
    std::memcpy(&v, memory.data() + y * desc.pitch + x * 2, 2);
    return v;
  }
  std::vector<uint8_t> memory;
  PixelSurface desc;
};

TARGB8888 OneColour(int width, int height, uint32_t colour) {
  TARGB8888 image;
  image.SetSize(width, height);
  image.FillSolid({0, 0, static_cast<float>(width), static_cast<float>(height)}, colour);
  return image;
}

TEST(ARGB8888Surface, Writes565WhenTheGreenMaskSaysSo) {
  TARGB8888 image = OneColour(2, 1, 0xFFFF8040u);
  Surface s(2, 1, 16, 0x07E0);
  image.CopyToSurface(s.desc, {0, 0, 2, 1});
  // R 255 >> 3 = 31 at bits 11..15, G 0x80 >> 2 = 32 at 5..10, B 0x40 >> 3 = 8.
  EXPECT_EQ(s.U16(0, 0), 0xFC08);
  EXPECT_EQ(s.U16(1, 0), 0xFC08);
}

TEST(ARGB8888Surface, OtherSixteenBitSurfacesAre555) {
  TARGB8888 image = OneColour(2, 1, 0xFFFF8040u);
  Surface s16(2, 1, 16, 0x03E0), s15(2, 1, 15);
  s15.desc.pitch = 4;
  s15.memory.resize(4);
  s15.desc.bits = s15.memory.data();
  image.CopyToSurface(s16.desc, {0, 0, 2, 1});
  image.CopyToSurface(s15.desc, {0, 0, 2, 1});
  EXPECT_EQ(s16.U16(0, 0), 0x7E08);
  EXPECT_EQ(s15.U16(1, 0), 0x7E08);
}

TEST(ARGB8888Surface, TwentyFourBitsPackTheColourBytesAndDropAlpha) {
  TARGB8888 image = OneColour(2, 1, 0x7FFF8040u);
  Surface s(2, 1, 24);
  image.CopyToSurface(s.desc, {0, 0, 2, 1});
  EXPECT_EQ(s.memory, (std::vector<uint8_t>{0x40, 0x80, 0xFF, 0x40, 0x80, 0xFF}));
}

TEST(ARGB8888Surface, ThirtyTwoBitsCopyStraightIntoTopDownRows) {
  TARGB8888 image;
  image.SetSize(2, 2);
  image.SetPixel(0, 0, 0x01020304u);
  image.SetPixel(1, 1, 0x05060708u);
  Surface s(2, 2, 32);
  image.CopyToSurface(s.desc, {0, 0, 2, 2});
  uint32_t first, last;
  std::memcpy(&first, s.memory.data(), 4);
  std::memcpy(&last, s.memory.data() + 12, 4);
  EXPECT_EQ(first, 0x01020304u);
  EXPECT_EQ(last, 0x05060708u);
}

TEST(ARGB8888Surface, KeepsThePairRuleAndTheRectangle) {
  TARGB8888 image = OneColour(4, 2, 0xFF000000u);
  Surface s(4, 2, 24);
  image.CopyToSurface(s.desc, {1, 1, 4, 5});  // three columns: one pair
  EXPECT_EQ(s.memory[0], 0xCD);               // row 0 untouched
  EXPECT_EQ(s.memory[12 + 3], 0x00);          // (1, 1)
  EXPECT_EQ(s.memory[12 + 6], 0x00);          // (2, 1)
  EXPECT_EQ(s.memory[12 + 9], 0xCD);          // (3, 1): the odd column
}

TEST(ARGB8888Surface, FollowsTheInterlaceField) {
  TARGB8888 image = OneColour(2, 4, 0xFF000000u);
  Surface s(2, 4, 32);
  TARGB8888::InterlaceActive = true;
  TARGB8888::InterlaceField = 1;
  image.CopyToSurface(s.desc, {0, 0, 2, 4});
  TARGB8888::InterlaceActive = false;
  TARGB8888::InterlaceField = 0;
  EXPECT_EQ(s.memory[0], 0xCD);
  EXPECT_EQ(s.memory[8], 0x00);
  EXPECT_EQ(s.memory[16], 0xCD);
  EXPECT_EQ(s.memory[24], 0x00);
}

TEST(ARGB8888Surface, AssignBitmapWidensSixteenBitsWithOpaqueAlpha) {
  Surface s(2, 1, 16, 0x07E0);
  uint16_t pixels[2] = {0xFC08, 0x0000};
  std::memcpy(s.memory.data(), pixels, 4);
  TARGB8888 image;
  image.AssignBitmap(s.desc);
  // 31 -> 255, 32 of 63 -> 130, 8 of 31 -> 66: top bits repeated below.
  EXPECT_EQ(image.Pixel(0, 0), 0xFFFF8242u);
  EXPECT_EQ(image.Pixel(1, 0), 0xFF000000u);
  EXPECT_FALSE(image.HasAlpha());
}

TEST(ARGB8888Surface, AssignBitmapKeepsThirtyTwoBitAlpha) {
  Surface s(1, 2, 32);
  uint32_t pixels[2] = {0x80112233u, 0xFF445566u};
  std::memcpy(s.memory.data(), pixels, 8);
  TARGB8888 image;
  image.AssignBitmap(s.desc);
  EXPECT_EQ(image.Pixel(0, 0), 0x80112233u);
  EXPECT_EQ(image.Pixel(0, 1), 0xFF445566u);
  EXPECT_TRUE(image.HasAlpha());
}

TEST(ARGB8888Surface, AssignBitmapReadsTwentyFourBitsAsBgr) {
  Surface s(1, 1, 24);
  s.memory = {0x01, 0x02, 0x03};
  s.desc.bits = s.memory.data();
  TARGB8888 image;
  image.AssignBitmap(s.desc);
  EXPECT_EQ(image.Pixel(0, 0), 0xFF030201u);
}

}  // namespace
}  // namespace mavu::imaging
