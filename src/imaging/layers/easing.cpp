#include "imaging/layers/easing.h"

#include <algorithm>

#include "imaging/animation/interpolation.h"

namespace mavu::imaging {
namespace {

// p^2.4 scaled to 0..1024, from the animations' table (p = 1024 is 1024).
int64_t Weight(int32_t p) {
  return p >= 1024 ? 1024 : EaseInTable()[static_cast<size_t>(p)];
}

}  // namespace

int32_t Progress(int32_t timeLeft, int32_t duration) {
  if (duration <= 0) return 1024;
  return static_cast<int32_t>(1024 - int64_t{timeLeft} * 1024 / duration);
}

int32_t Ease(int easing, int32_t start, int32_t target, int32_t p) {
  if (p >= 1024) return target;
  if (start == target) return start;
  p = std::max(p, 0);  // a damaged record can put the clock before the start
  const int64_t s = start;
  const int64_t t = target;
  switch (static_cast<Easing>(easing)) {
    case Easing::kJump:
      return start;
    case Easing::kLinear:
      return static_cast<int32_t>((s * (1024 - p) + t * p) >> 10);
    case Easing::kEaseOut: {
      const int64_t w = Weight(1024 - p);
      return static_cast<int32_t>((s * w + t * (1024 - w)) >> 10);
    }
    case Easing::kEaseIn: {
      const int64_t w = Weight(p);
      return static_cast<int32_t>((s * (1024 - w) + t * w) >> 10);
    }
    default:
      return 0;
  }
}

}  // namespace mavu::imaging
