#include "seed_registry.h"
#include "test_images.h"

using mavu::test::EncodeIcon;
using mavu::test::IconBitmap32;

MAVU_FUZZ_SEEDS(image_icon) {
  const mavu::base::Bytes bitmap =
      IconBitmap32({{0xFFFF0000, 0x00000000}, {0, 0x80112233}}, {0x40, 0});
  const mavu::base::Bytes png =
      mavu::test::EncodePng(mavu::test::TopDownImage{2, 2, {1, 2, 3, 4}}, true);
  return {EncodeIcon({{2, 2, 32, bitmap}}), EncodeIcon({{1, 1, 32, bitmap}, {0, 0, 32, png}})};
}
