#pragma once

#include <array>
#include <cstdint>

namespace mavu::imaging {

// Easing weights over 0..1023, computed once: EaseOut[i] = 1024 - (1023 - i)^2.4
// / 16384 and EaseIn[i] = i^2.4 / 16384, rounded.
const std::array<int32_t, 1024>& EaseOutTable();
const std::array<int32_t, 1024>& EaseInTable();

// The random range of a shake, for both animations and the camera: a draw
// in -20..19.
inline constexpr int32_t kShakeRange = -40;

// The four key values around the clock: P1 is the key reached, P2 the next.
struct KeyValues {
  double p0 = 0;
  double p1 = 0;
  double p2 = 0;
  double p3 = 0;
};

// One value between keys at t in 0..1 by interpolation mode (0 hold, 1 linear,
// 2 B-spline, 3 ease-out, 4 ease-in, 5 Hermite, 6 shake; others hold).
// `shakeOffset` is the shake's random term, in -20..19.
double InterpolateValue(int mode, const KeyValues& v, double t, int32_t shakeOffset);

// A colour between keys: mode 0 holds P1; 1 to 3 mix each channel linearly;
// 4 and above give 0.
uint32_t InterpolateColour(int mode, uint32_t p1, uint32_t p2, double t);

// Each channel of a times b, divided by 255.
uint32_t MultiplyColours(uint32_t a, uint32_t b);

}  // namespace mavu::imaging
