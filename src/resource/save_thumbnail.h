#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/bytes.h"

namespace mavu::resource {

// The small picture of the screen stored with a saved game: 5-5-5 pixels
// (red in bits 10-14, green 5-9, blue 0-4), top row first. In the file it is
// a Windows BMP image: BITMAPFILEHEADER, BITMAPINFOHEADER (16 bits, BI_RGB),
// rows bottom-up, each padded to 4 bytes.
class SaveThumbnail {
 public:
  // Wider or taller pictures are refused, from a file and from a caller.
  static constexpr int kMaxSide = 4096;

  // Throws std::invalid_argument unless both sides are 1..kMaxSide and there
  // is one pixel for each place.
  SaveThumbnail(int width, int height, std::vector<uint16_t> pixels);
  // From 0xAARRGGBB pixels, top row first; alpha is dropped and each colour
  // keeps its top 5 bits. Throws as the constructor.
  static SaveThumbnail FromArgb(std::span<const uint32_t> argb, int width, int height);

  base::Bytes ToBmp() const;
  // Nothing unless `bmp` is a whole 16-bit BI_RGB picture that fits in its
  // bytes, with sides of 1..kMaxSide (top-down rows are taken too). Only the
  // 15 colour bits of each pixel are kept.
  static std::optional<SaveThumbnail> FromBmp(std::span<const uint8_t> bmp);

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::span<const uint16_t> Pixels() const { return pixels_; }
  uint16_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  bool operator==(const SaveThumbnail&) const = default;

 private:
  int width_;
  int height_;
  std::vector<uint16_t> pixels_;
};

}  // namespace mavu::resource
