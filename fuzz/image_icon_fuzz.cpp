#include <cstddef>
#include <cstdint>

#include "imaging/icon_loader.h"

// Arbitrary bytes as a game's icon file; a picture that loads is drawn once.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using mavu::imaging::TARGB8888;
  try {
    const TARGB8888 icon = mavu::imaging::LoadIcon({data, size});
    TARGB8888 canvas;
    canvas.SetSize(8, 8);
    icon.DrawAlpha(canvas,
                   {0, 0, static_cast<float>(icon.Width()), static_cast<float>(icon.Height())},
                   {0, 0}, 255);
  } catch (const mavu::imaging::ImageLoadError&) {
  }
  return 0;
}
