#include "reverb.h"

#include <array>
#include <cmath>
#include <vector>

namespace mavu::demo {

namespace {

constexpr size_t kLines = 8;
// Prime lengths at 44100 Hz (32 to 63 ms), so that no echoes line up.
constexpr std::array<int, kLines> kLengths = {1433, 1601, 1867, 2053, 2251, 2399, 2617, 2797};
constexpr double kDamping = 0.35;  // the one-pole low pass on each pass
constexpr double kInput = 0.35;

// The 8-point Hadamard transform in place, scaled to keep the energy.
void Hadamard(std::array<double, kLines>& v) {
  for (size_t width = 1; width < kLines; width *= 2) {
    for (size_t i = 0; i < kLines; i += 2 * width) {
      for (size_t j = i; j < i + width; ++j) {
        const double a = v[j];
        const double b = v[j + width];
        v[j] = a + b;
        v[j + width] = a - b;
      }
    }
  }
  for (double& x : v) x /= std::sqrt(static_cast<double>(kLines));
}

}  // namespace

void AddReverb(StereoTrack& track, double seconds, float wet) {
  std::array<std::vector<double>, kLines> lines;
  std::array<double, kLines> feedback{};
  std::array<double, kLines> dark{};
  std::array<size_t, kLines> at{};
  for (size_t i = 0; i < kLines; ++i) {
    const auto length =
        static_cast<size_t>(std::lround(kLengths[i] * static_cast<double>(track.Rate()) / 44100));
    lines[i].assign(length, 0.0);
    feedback[i] = std::pow(10.0, -3.0 * static_cast<double>(length) / (track.Rate() * seconds));
  }
  std::span<float> left = track.Left();
  std::span<float> right = track.Right();
  for (size_t f = 0; f < track.Frames(); ++f) {
    const double in = kInput * 0.5 * (left[f] + right[f]);
    std::array<double, kLines> out{};
    double toLeft = 0, toRight = 0;
    for (size_t i = 0; i < kLines; ++i) {
      const double delayed = lines[i][at[i]];
      (i % 2 == 0 ? toLeft : toRight) += delayed;
      dark[i] += kDamping * (delayed - dark[i]);
      out[i] = dark[i];
    }
    Hadamard(out);
    for (size_t i = 0; i < kLines; ++i) {
      lines[i][at[i]] = feedback[i] * out[i] + (i % 2 == 0 ? in : -in);
      at[i] = (at[i] + 1) % lines[i].size();
    }
    left[f] += wet * static_cast<float>(toLeft);
    right[f] += wet * static_cast<float>(toRight);
  }
}

}  // namespace mavu::demo
