#pragma once

#include <cstdint>

namespace mavu::imaging {

// The easings of layer moves, fades and the camera.
enum class Easing : uint8_t { kJump = 0, kLinear = 1, kEaseOut = 3, kEaseIn = 4, kShake = 6 };

// Progress p of a timed change in 0..1024: 1024 - left x 1024 / duration, and
// 1024 when there is no duration.
int32_t Progress(int32_t timeLeft, int32_t duration);

// The value between start and target at progress p (0..1024). Jump holds the
// start until the end; p >= 1024 always gives the target and start = target
// the start; an easing without a rule gives 0 until the end.
int32_t Ease(int easing, int32_t start, int32_t target, int32_t p);

}  // namespace mavu::imaging
