#include "support/sound/signal.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <numbers>

namespace mavu::test {

namespace {

constexpr double kRate = 44100;

}  // namespace

double ToneAmplitude(std::span<const int16_t> stereo, size_t side, double hz, size_t from,
                     size_t to) {
  std::complex<double> sum;
  double weight = 0;
  for (size_t n = from; n < to; ++n) {
    const double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * (n - from) / (to - from));
    sum += window * stereo[2 * n + side] * std::polar(1.0, -2 * std::numbers::pi * hz * n / kRate);
    weight += window;
  }
  return 2 * std::abs(sum) / weight;
}

int32_t RisingZeroCrossings(std::span<const int16_t> stereo, size_t side) {
  int32_t count = 0;
  for (size_t i = 2 + side; i < stereo.size(); i += 2) count += stereo[i - 2] < 0 && stereo[i] >= 0;
  return count;
}

int32_t Peak(std::span<const int16_t> stereo, size_t from, size_t to) {
  int32_t peak = 0;
  for (size_t i = 2 * from; i < 2 * to; ++i) peak = std::max(peak, std::abs(int32_t{stereo[i]}));
  return peak;
}

double Decibels(double a, double b) {
  return 20 * std::log10(a / b);
}

}  // namespace mavu::test
