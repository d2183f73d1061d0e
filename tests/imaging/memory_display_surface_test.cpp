#include "imaging/memory_display_surface.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mavu::imaging {
namespace {

TARGB8888 Picture(int width, int height, uint32_t colour) {
  TARGB8888 p;
  p.SetSize(width, height);
  p.SetBits(colour, 0);
  return p;
}

TEST(MemoryDisplaySurface, LockDescribesTheBackBufferTopDown) {
  MemoryDisplaySurface display(6, 4, 24);
  PixelSurface memory;
  ASSERT_TRUE(display.Lock(memory));
  EXPECT_TRUE(display.Locked());
  EXPECT_EQ(memory.width, 6);
  EXPECT_EQ(memory.height, 4);
  EXPECT_EQ(memory.bitsPerPixel, 24);
  EXPECT_EQ(memory.pitch, 18);
  memory.bits[memory.pitch * 2 + 3 * 5 + 0] = 0x11;  // pixel (5, 2): B, G, R
  memory.bits[memory.pitch * 2 + 3 * 5 + 1] = 0x22;
  memory.bits[memory.pitch * 2 + 3 * 5 + 2] = 0x33;
  display.Unlock();
  EXPECT_FALSE(display.Locked());
  EXPECT_EQ(display.BackPixel(5, 2), 0x332211u);
  EXPECT_EQ(display.BackPixel(4, 2), 0u);
}

TEST(MemoryDisplaySurface, RefusesASecondLockAndALostSurface) {
  MemoryDisplaySurface display(4, 4);
  PixelSurface memory;
  ASSERT_TRUE(display.Lock(memory));
  EXPECT_FALSE(display.Lock(memory));
  display.Unlock();
  display.SetLost(true);
  EXPECT_FALSE(display.Lock(memory));
  EXPECT_FALSE(display.Locked());
  display.SetLost(false);
  EXPECT_TRUE(display.Lock(memory));
}

TEST(MemoryDisplaySurface, SixteenBitSurfacesAreFiveSixFiveUnlessToldOtherwise) {
  PixelSurface memory;
  MemoryDisplaySurface wide(2, 2, 16, 0);
  ASSERT_TRUE(wide.Lock(memory));
  EXPECT_EQ(memory.greenMask, 0x07E0u);
  MemoryDisplaySurface narrow(2, 2, 16, 0x03E0);
  ASSERT_TRUE(narrow.Lock(memory));
  EXPECT_EQ(memory.greenMask, 0x03E0u);
  MemoryDisplaySurface fifteen(2, 2, 15);
  ASSERT_TRUE(fifteen.Lock(memory));
  EXPECT_EQ(memory.pitch, 4);
  EXPECT_THROW(MemoryDisplaySurface(2, 2, 8), std::invalid_argument);
}

TEST(MemoryDisplaySurface, ShowingTheBackBufferPutsItInTheWindow) {
  MemoryDisplaySurface display(4, 2, 16);
  PixelSurface memory;
  ASSERT_TRUE(display.Lock(memory));
  TARGB8888 red = Picture(4, 2, 0xFFFF0000);
  red.CopyToSurface(memory, {0, 0, 4, 2});
  display.Unlock();
  EXPECT_EQ(display.BackPixel(1, 1), 0xF800u);
  EXPECT_EQ(display.WindowPixel(1, 1), 0u);
  display.ShowBackBuffer();
  EXPECT_EQ(display.ShowCount(), 1);
  EXPECT_EQ(display.WindowPixel(1, 1), 0xFFFF0000u);
}

TEST(MemoryDisplaySurface, CopyToWindowCopiesExactlyTheClippedRectangle) {
  MemoryDisplaySurface display(8, 6);
  TARGB8888 picture = Picture(10, 10, 0x80123456);
  display.CopyToWindow(picture, {5, 3, 20, 20});
  display.CopyToWindow(picture, {-4, -4, 1, 1});
  ASSERT_EQ(display.WindowCopies().size(), 2u);
  EXPECT_EQ(display.WindowCopies()[0].left, 5);
  EXPECT_EQ(display.WindowCopies()[0].bottom, 20);
  EXPECT_EQ(display.WindowPixel(5, 3), 0x80123456u);
  EXPECT_EQ(display.WindowPixel(7, 5), 0x80123456u);
  EXPECT_EQ(display.WindowPixel(4, 3), 0u);
  EXPECT_EQ(display.WindowPixel(5, 2), 0u);
  EXPECT_EQ(display.WindowPixel(0, 0), 0x80123456u);
  EXPECT_EQ(display.WindowPixel(1, 0), 0u);
  EXPECT_EQ(display.WindowPixel(0, 1), 0u);
  EXPECT_EQ(display.ShowCount(), 0);
}

}  // namespace
}  // namespace mavu::imaging
