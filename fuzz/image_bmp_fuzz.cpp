#include <cstddef>
#include <cstdint>

#include "base/byte_reader.h"
#include "imaging/argb8888.h"

// Arbitrary bytes as a BMP picture and as an alpha mask; whatever loads is
// drawn once, stretched, so that odd sizes reach the pixel code too.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using mavu::imaging::TARGB8888;
  TARGB8888 image;
  try {
    mavu::base::ByteReader in({data, size});
    image.LoadBmp(in);
  } catch (const mavu::imaging::ImageLoadError&) {
    if (!image.Empty()) __builtin_trap();
  }
  TARGB8888 canvas;
  canvas.SetSize(17, 9);
  image.DrawAlphaStretched(
      canvas, {0, 0, static_cast<float>(image.Width()), static_cast<float>(image.Height())},
      {-1.5f, 0.5f, 16.5f, 9.5f}, 200);
  try {
    mavu::base::ByteReader in({data, size});
    canvas.LoadAlphaMask(in);
  } catch (const mavu::imaging::ImageLoadError&) {
  }
  return 0;
}
