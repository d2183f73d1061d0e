#include "seed_registry.h"
#include "test_images.h"

MAVU_FUZZ_SEEDS(image_png) {
  using mavu::test::EncodePng;
  using mavu::test::Gradient;
  mavu::base::Bytes prefixed = {'A', 'B', 'C', 'D'};
  mavu::base::Bytes png = EncodePng(Gradient(5, 4, true), true);
  prefixed.insert(prefixed.end(), png.begin(), png.end());
  return {png, EncodePng(Gradient(3, 7, false), false), prefixed};
}
