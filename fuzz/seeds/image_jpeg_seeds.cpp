#include "seed_registry.h"
#include "test_images.h"

MAVU_FUZZ_SEEDS(image_jpeg) {
  using mavu::test::EncodeJpeg;
  using mavu::test::Gradient;
  mavu::base::Bytes prefixed = {0x00, 0xFF, 0xD8, 0x12};
  mavu::base::Bytes jpeg = EncodeJpeg(Gradient(16, 8, false), 90);
  prefixed.insert(prefixed.end(), jpeg.begin(), jpeg.end());
  return {jpeg, EncodeJpeg(Gradient(9, 17, false), 50), prefixed};
}
