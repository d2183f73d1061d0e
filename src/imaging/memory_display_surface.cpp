#include "imaging/memory_display_surface.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace mavu::imaging {
namespace {

int BytesPerPixel(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 15:
    case 16:
      return 2;
    case 24:
      return 3;
    case 32:
      return 4;
    default:
      throw std::invalid_argument("display surfaces have 15, 16, 24 or 32 bits per pixel");
  }
}

constexpr uint32_t kGreenMask555 = 0x03E0;
constexpr uint32_t kGreenMask565 = 0x07E0;

}  // namespace

MemoryDisplaySurface::MemoryDisplaySurface(int width, int height, int bitsPerPixel,
                                           uint32_t greenMask)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bitsPerPixel_(bitsPerPixel),
      greenMask_(greenMask),
      pitch_(static_cast<ptrdiff_t>(width_) * BytesPerPixel(bitsPerPixel)) {
  if (bitsPerPixel_ == 15) greenMask_ = kGreenMask555;
  if (bitsPerPixel_ == 16 && greenMask_ != kGreenMask555) greenMask_ = kGreenMask565;
  back_.assign(static_cast<size_t>(pitch_) * static_cast<size_t>(height_), 0);
  window_.SetSize(width_, height_);
}

PixelSurface MemoryDisplaySurface::Describe() {
  PixelSurface s;
  s.bits = back_.data();
  s.pitch = pitch_;
  s.width = width_;
  s.height = height_;
  s.bitsPerPixel = bitsPerPixel_;
  s.greenMask = greenMask_;
  return s;
}

bool MemoryDisplaySurface::Lock(PixelSurface& memory) {
  if (lost_ || locked_) return false;
  locked_ = true;
  memory = Describe();
  return true;
}

void MemoryDisplaySurface::Unlock() {
  locked_ = false;
}

void MemoryDisplaySurface::ShowBackBuffer() {
  ++showCount_;
  window_.AssignBitmap(Describe());
}

void MemoryDisplaySurface::CopyToWindow(const TARGB8888& picture, const RectI& rect) {
  windowCopies_.push_back(rect);
  int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  int right = std::min({rect.right, picture.Width(), width_});
  int bottom = std::min({rect.bottom, picture.Height(), height_});
  if (right <= left) return;
  size_t bytes = static_cast<size_t>(right - left) * 4;
  for (int y = top; y < bottom; ++y)
    std::memcpy(window_.Row(y) + left, picture.Row(y) + left, bytes);
}

uint32_t MemoryDisplaySurface::BackPixel(int x, int y) const {
  int size = BytesPerPixel(bitsPerPixel_);
  const uint8_t* p = back_.data() + pitch_ * y + x * size;
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

}  // namespace mavu::imaging
