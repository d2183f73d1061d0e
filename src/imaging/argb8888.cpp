#include "imaging/argb8888.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <stdexcept>

#include "imaging/image_loaders.h"

namespace mavu::imaging {
namespace {

std::atomic<uint32_t> serialCounter{0};

constexpr uint32_t kAlphaMask = 0xFF000000u;

}  // namespace

uint32_t TARGB8888::TakeSerial() {
  // 2^32 is a multiple of 2^24, so masking the wrapping 32-bit counter gives
  // the same sequence as a counter kept modulo 2^24.
  return serialCounter.fetch_add(1, std::memory_order_relaxed) & kSerialMask;
}

TARGB8888::TARGB8888() : serial_(TakeSerial()) {}

TARGB8888::TARGB8888(TARGB8888&& other) noexcept
    : pixels_(std::move(other.pixels_)),
      width_(other.width_),
      height_(other.height_),
      serial_(other.serial_),
      hasAlpha_(other.hasAlpha_) {
  other.Clear();
}

TARGB8888& TARGB8888::operator=(TARGB8888&& other) noexcept {
  if (&other != this) {
    pixels_ = std::move(other.pixels_);
    width_ = other.width_;
    height_ = other.height_;
    serial_ = other.serial_;
    hasAlpha_ = other.hasAlpha_;
    other.Clear();
  }
  return *this;
}

void TARGB8888::SetSize(int width, int height) {
  Clear();
  if (width < 1 || height < 1) return;
  if (width > kMaxImageSide || height > kMaxImageSide ||
      int64_t{width} * height > kMaxImagePixels) {
    throw std::length_error("image size beyond the supported maximum");
  }
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
  width_ = width;
  height_ = height;
}

void TARGB8888::Clear() {
  std::vector<uint32_t>().swap(pixels_);
  width_ = 0;
  height_ = 0;
  serial_ = TakeSerial();
  hasAlpha_ = true;
}

void TARGB8888::Adopt(std::vector<uint32_t> pixels, int width, int height) {
  Clear();
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
  RecomputeHasAlpha();
}

void TARGB8888::RecomputeHasAlpha() {
  hasAlpha_ = pixels_.empty() || std::any_of(pixels_.begin(), pixels_.end(), [](uint32_t p) {
                return (p & kAlphaMask) != kAlphaMask;
              });
}

void TARGB8888::AssignImage(const TARGB8888& other) {
  if (&other == this) return;
  Clear();
  pixels_ = other.pixels_;
  width_ = other.width_;
  height_ = other.height_;
  hasAlpha_ = other.hasAlpha_;
}

void TARGB8888::LoadBmp(base::ByteReader& in) {
  Clear();
  detail::DecodedImage decoded = detail::DecodeBmp(in);
  Adopt(std::move(decoded.pixels), decoded.width, decoded.height);
}

void TARGB8888::LoadJpeg(base::ByteReader& in) {
  Clear();
  detail::DecodedImage decoded = detail::DecodeJpeg(in);
  Adopt(std::move(decoded.pixels), decoded.width, decoded.height);
}

void TARGB8888::LoadPng(base::ByteReader& in) {
  Clear();
  detail::DecodedImage decoded = detail::DecodePng(in);
  Adopt(std::move(decoded.pixels), decoded.width, decoded.height);
}

void TARGB8888::LoadAlphaMask(base::ByteReader& in) {
  detail::DecodedImage mask = detail::DecodeBmp(in);
  int width = std::min(width_, mask.width), height = std::min(height_, mask.height);
  // Both pictures line up at their top-left corners.
  for (int y = 0; y < height; ++y) {
    size_t from = static_cast<size_t>(mask.height - 1 - y) * static_cast<size_t>(mask.width);
    uint32_t* row = Row(y);
    for (int x = 0; x < width; ++x) {
      uint32_t level = mask.indices.empty() ? mask.pixels[from + x] & 0xFF : mask.indices[from + x];
      row[x] = (row[x] & ~kAlphaMask) | level << 24;
    }
  }
  hasAlpha_ = true;
}

void TARGB8888::SetBits(uint32_t value, uint32_t mask, const RectI& rect) {
  int left = std::max(rect.left, 0), right = std::min(rect.right, width_);
  int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = Row(y);
    for (int x = left; x < right; ++x) row[x] = (row[x] & mask) | value;
  }
}

void TARGB8888::SetBits(uint32_t value, uint32_t mask) {
  SetBits(value, mask, RectI{0, 0, width_, height_});
}

void TARGB8888::Scroll(uint32_t colour, int dx, int dy) {
  if (Empty()) return;
  dx = std::clamp(dx, -width_, width_);
  dy = std::clamp(dy, -height_, height_);
  const int left = std::max(0, dx), right = std::min(width_, width_ + dx);
  const int top = std::max(0, dy), bottom = std::min(height_, height_ + dy);
  // In place: rows are taken in the order that reads each source row before
  // it is overwritten (top-down y; storage is bottom-up, which Row hides).
  const auto moveRow = [&](int y) {
    const uint32_t* from = Row(y - dy);
    std::memmove(Row(y) + left, from + (left - dx), sizeof(uint32_t) * (right - left));
    std::fill(Row(y), Row(y) + left, colour);
    std::fill(Row(y) + right, Row(y) + width_, colour);
  };
  if (left < right) {
    if (dy > 0) {
      for (int y = bottom - 1; y >= top; --y) moveRow(y);
    } else {
      for (int y = top; y < bottom; ++y) moveRow(y);
    }
  }
  const auto fillRows = [&](int from, int to) {
    for (int y = from; y < to; ++y) std::fill(Row(y), Row(y) + width_, colour);
  };
  fillRows(0, left < right ? top : height_);
  if (left < right) fillRows(bottom, height_);
}

void TARGB8888::Thumbnail(TARGB8888& dest, int boxWidth, int boxHeight) const {
  if (Empty() || dest.Empty() || boxWidth < 1 || boxHeight < 1) return;
  int width = std::min(dest.Width(), width_ / boxWidth);
  int height = std::min(dest.Height(), height_ / boxHeight);
  uint32_t count = static_cast<uint32_t>(boxWidth) * static_cast<uint32_t>(boxHeight);
  for (int ty = 0; ty < height; ++ty) {
    uint32_t* out = dest.Row(ty);
    for (int tx = 0; tx < width; ++tx) {
      uint64_t sum[3] = {0, 0, 0};
      for (int y = ty * boxHeight; y < (ty + 1) * boxHeight; ++y) {
        const uint32_t* row = Row(y) + tx * boxWidth;
        for (int x = 0; x < boxWidth; ++x) {
          for (int c = 0; c < 3; ++c) sum[c] += (row[x] >> (8 * c)) & 0xFF;
        }
      }
      out[tx] = static_cast<uint32_t>(sum[0] / count) | static_cast<uint32_t>(sum[1] / count) << 8 |
                static_cast<uint32_t>(sum[2] / count) << 16;
    }
  }
}

}  // namespace mavu::imaging
