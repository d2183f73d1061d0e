#pragma once

#include <cstdint>
#include <vector>

#include "base/bytes.h"

// Small picture encoders for the imaging tests and the fuzz seed maker. BMP
// files are written byte by byte; PNG and JPEG go through libpng and libjpeg.
namespace mavu::test {

// A BMP file as the writer lays it out. Pixel bytes are given per stored row
// (file order) and padded to 4 bytes, or as one raw block (run-length data).
struct BmpSpec {
  uint32_t headerSize = 40;  // 12 (core), 40, 108 or 124
  int32_t width = 0;
  int32_t height = 0;  // negative for top-down rows
  uint16_t bitsPerPixel = 24;
  uint32_t compression = 0;
  std::vector<uint32_t> palette;  // 0x00RRGGBB entries
  uint32_t colourCount = 0;       // the header's colour count (0 = full palette)
  std::vector<uint32_t>
      masks;  // red, green, blue [, alpha] after a 40-byte header or inside larger ones
  std::vector<base::Bytes> rows;
  base::Bytes raw;
};

base::Bytes EncodeBmp(const BmpSpec& spec);

// 0xAARRGGBB pixels in top-down order, as pictures are usually described.
struct TopDownImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// withAlpha: RGBA (colour type 6), otherwise RGB (colour type 2).
base::Bytes EncodePng(const TopDownImage& image, bool withAlpha);
// Baseline JPEG of the RGB channels.
base::Bytes EncodeJpeg(const TopDownImage& image, int quality);

// One picture of an icon file: a PNG, or a bitmap without its file header.
struct IconPicture {
  uint8_t width;
  uint8_t height;
  uint16_t bitsPerPixel;
  base::Bytes data;
};

base::Bytes EncodeIcon(const std::vector<IconPicture>& pictures);
// A 32-bit icon bitmap of 0xAARRGGBB rows, top-down, and its mask: one byte a
// row (pictures up to 8 pixels wide), the first pixel in the top bit.
base::Bytes IconBitmap32(const std::vector<std::vector<uint32_t>>& rows,
                         const std::vector<uint8_t>& maskRows);

// A deterministic test pattern with smooth gradients (JPEG-friendly).
TopDownImage Gradient(int width, int height, bool withAlpha);

}  // namespace mavu::test
