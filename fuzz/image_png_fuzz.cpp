#include <cstddef>
#include <cstdint>

#include "base/byte_reader.h"
#include "imaging/argb8888.h"

// Arbitrary bytes as a PNG picture (after the optional 4-byte prefix).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mavu::imaging::TARGB8888 image;
  try {
    mavu::base::ByteReader in({data, size});
    image.LoadPng(in);
    image.RecomputeHasAlpha();
  } catch (const mavu::imaging::ImageLoadError&) {
    if (!image.Empty()) __builtin_trap();
  }
  return 0;
}
