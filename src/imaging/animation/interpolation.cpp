#include "imaging/animation/interpolation.h"

#include <cmath>

namespace mavu::imaging {
namespace {

constexpr double kEasePower = 2.4;
constexpr double kEaseScale = 16384;

std::array<int32_t, 1024> MakeTable(bool out) {
  std::array<int32_t, 1024> table{};
  for (int i = 0; i < 1024; ++i) {
    const double eased = std::pow(out ? 1023 - i : i, kEasePower) / kEaseScale;
    table[static_cast<size_t>(i)] = static_cast<int32_t>(std::lround(out ? 1024 - eased : eased));
  }
  return table;
}

double Eased(const std::array<int32_t, 1024>& table, const KeyValues& v, double t) {
  const double w = table[static_cast<size_t>(std::lround(t * 1023))];
  return (v.p1 * (1024 - w) + v.p2 * w) / 1024;
}

double BSpline(const KeyValues& v, double t) {
  if (v.p0 == v.p1 && v.p1 == v.p2 && v.p2 == v.p3) return v.p0;
  const double t2 = t * t;
  const double t3 = t2 * t;
  const double u = 1 - t;
  return (u * u * u * v.p0 + (3 * t3 - 6 * t2 + 4) * v.p1 + (-3 * t3 + 3 * t2 + 3 * t + 1) * v.p2 +
          t3 * v.p3) /
         6;
}

double Hermite(const KeyValues& v, double t) {
  if (v.p1 == v.p2 && v.p0 == v.p3) return v.p1;
  const double quarter = v.p1 == v.p2 ? 0.25 : 1.0;
  const double m1 = (v.p2 - v.p0) * quarter;
  const double m2 = (v.p3 - v.p1) * quarter;
  return v.p1 * (t - 1) * (t - 1) * (2 * t + 1) + v.p2 * t * t * (3 - 2 * t) +
         t * (1 - t) * (1 - t) * m1 + t * t * (t - 1) * m2;
}

double Shake(const KeyValues& v, double t, int32_t offset) {
  const double s = 1024 * t;
  const double o = 1024 - std::pow(1024 - s, kEasePower) / kEaseScale;
  return (1024 - s) * offset / 1024 + ((1024 - o) * v.p1 + o * v.p2) / 1024;
}

}  // namespace

const std::array<int32_t, 1024>& EaseOutTable() {
  static const std::array<int32_t, 1024> table = MakeTable(true);
  return table;
}

const std::array<int32_t, 1024>& EaseInTable() {
  static const std::array<int32_t, 1024> table = MakeTable(false);
  return table;
}

double InterpolateValue(int mode, const KeyValues& v, double t, int32_t shakeOffset) {
  switch (mode) {
    case 0:
      return t >= 1 ? v.p2 : v.p1;
    case 1:
      return v.p1 == v.p2 ? v.p1 : v.p1 * (1 - t) + v.p2 * t;
    case 2:
      return BSpline(v, t);
    case 3:
      return v.p1 == v.p2 ? v.p1 : Eased(EaseOutTable(), v, t);
    case 4:
      return v.p1 == v.p2 ? v.p1 : Eased(EaseInTable(), v, t);
    case 5:
      return Hermite(v, t);
    case 6:
      return Shake(v, t, shakeOffset);
    default:
      return v.p1;
  }
}

uint32_t InterpolateColour(int mode, uint32_t p1, uint32_t p2, double t) {
  if (mode == 0) return p1;
  if (mode > 3) return 0;
  const uint32_t s = static_cast<uint32_t>(1024 * t);
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t a = (p1 >> shift) & 0xFF;
    const uint32_t b = (p2 >> shift) & 0xFF;
    result |= (((a * (1024 - s) + b * s) >> 10) & 0xFF) << shift;
  }
  return result;
}

uint32_t MultiplyColours(uint32_t a, uint32_t b) {
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    result |= ((((a >> shift) & 0xFF) * ((b >> shift) & 0xFF) / 255) & 0xFF) << shift;
  }
  return result;
}

}  // namespace mavu::imaging
