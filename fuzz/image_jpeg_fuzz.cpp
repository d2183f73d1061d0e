#include <cstddef>
#include <cstdint>

#include "base/byte_reader.h"
#include "imaging/argb8888.h"

// Arbitrary bytes as a stream holding a JPEG picture somewhere. A failed load
// must leave the stream where it was.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mavu::imaging::TARGB8888 image;
  mavu::base::ByteReader in({data, size});
  try {
    image.LoadJpeg(in);
  } catch (const mavu::imaging::ImageLoadError&) {
    if (!image.Empty() || in.Position() != 0) __builtin_trap();
  }
  return 0;
}
