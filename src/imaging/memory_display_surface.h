#pragma once

#include <cstdint>
#include <vector>

#include "imaging/display_surface.h"

namespace mavu::imaging {

// A display kept in memory: a back buffer in a display pixel format and a
// 32-bit window picture. Headless runs present into it, and tests read back
// what reached the back buffer and the window.
class MemoryDisplaySurface final : public DisplaySurface {
 public:
  // bitsPerPixel 15, 16, 24 or 32; a 16-bit surface is 5-6-5 unless
  // greenMask says 5-5-5 (0x03E0).
  MemoryDisplaySurface(int width, int height, int bitsPerPixel = 32,
                       uint32_t greenMask = 0x0000FF00);

  bool Lock(PixelSurface& memory) override;
  void Unlock() override;
  void ShowBackBuffer() override;
  void CopyToWindow(const TARGB8888& picture, const RectI& rect) override;

  // A lost surface refuses to lock until it is restored.
  void SetLost(bool lost) { lost_ = lost; }
  bool Locked() const { return locked_; }

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The back buffer's pixel as stored: 2, 3 or 4 bytes, little-endian.
  uint32_t BackPixel(int x, int y) const;
  // What the window shows, as 0xAARRGGBB (alpha 255 from back buffers of
  // fewer than 32 bits).
  uint32_t WindowPixel(int x, int y) const { return window_.Pixel(x, y); }
  const TARGB8888& Window() const { return window_; }

  int ShowCount() const { return showCount_; }
  // Every rectangle CopyToWindow was given, in order.
  const std::vector<RectI>& WindowCopies() const { return windowCopies_; }

 private:
  PixelSurface Describe();

  int width_;
  int height_;
  int bitsPerPixel_;
  uint32_t greenMask_;
  ptrdiff_t pitch_;
  std::vector<uint8_t> back_;
  TARGB8888 window_;
  bool lost_ = false;
  bool locked_ = false;
  int showCount_ = 0;
  std::vector<RectI> windowCopies_;
};

}  // namespace mavu::imaging
