#include "seed_registry.h"
#include "test_images.h"

using mavu::test::BmpSpec;
using mavu::test::EncodeBmp;

namespace {

BmpSpec Plain(int32_t width, int32_t height, uint16_t bits) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.bitsPerPixel = bits;
  size_t rowBytes = (static_cast<size_t>(width) * bits + 7) / 8;
  for (int32_t y = 0; y < (height < 0 ? -height : height); ++y) {
    mavu::base::Bytes row(rowBytes);
    for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(i * 37 + y * 11);
    spec.rows.push_back(row);
  }
  if (bits <= 8) {
    for (uint32_t i = 0; i < (1u << bits); ++i) spec.palette.push_back(i * 0x010203u);
  }
  return spec;
}

}  // namespace

MAVU_FUZZ_SEEDS(image_bmp) {
  BmpSpec core = Plain(3, 2, 8);
  core.headerSize = 12;
  BmpSpec masked16 = Plain(3, 2, 16);
  masked16.compression = 3;
  masked16.masks = {0xF800, 0x07E0, 0x001F};
  BmpSpec v5 = Plain(2, 2, 32);
  v5.headerSize = 124;
  v5.compression = 3;
  v5.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
  BmpSpec rle8 = Plain(4, 2, 8);
  rle8.compression = 1;
  rle8.rows.clear();
  rle8.raw = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 2, 1, 0, 0, 1};
  BmpSpec rle4 = Plain(4, 2, 4);
  rle4.compression = 2;
  rle4.rows.clear();
  rle4.raw = {3, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 1};
  return {EncodeBmp(Plain(5, 3, 24)),
          EncodeBmp(Plain(4, -2, 24)),
          EncodeBmp(Plain(3, 3, 32)),
          EncodeBmp(Plain(9, 2, 1)),
          EncodeBmp(Plain(5, 2, 4)),
          EncodeBmp(Plain(3, 2, 16)),
          EncodeBmp(core),
          EncodeBmp(masked16),
          EncodeBmp(v5),
          EncodeBmp(rle8),
          EncodeBmp(rle4)};
}
