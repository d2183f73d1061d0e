#pragma once

#include <cstdint>
#include <vector>

#include "base/bytes.h"

namespace mavu::demo {

// An 8-bit grey picture, top row first.
struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> levels;  // width x height
};

// The picture as an uncompressed 8-bit BMP with a grey palette, the form
// rule pictures for wipes take: the engine reads the palette index.
base::Bytes EncodeGreyBmp(const GreyPicture& picture);

}  // namespace mavu::demo
