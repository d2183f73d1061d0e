#include "instruments.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mavu::demo {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Attack (a quarter sine), an exponential decay (0: none), and a release
// after the note that takes the level to zero along a quarter cosine.
struct Envelope {
  double attack;
  double decay;
  double release;

  double At(double t, double held) const {
    double level = t < attack ? std::sin(t / attack * std::numbers::pi / 2) : 1.0;
    if (decay > 0) level *= std::exp(-t / decay);
    if (t > held) level *= std::cos(std::min((t - held) / release, 1.0) * std::numbers::pi / 2);
    return level;
  }
};

// Renders `wave(t)` (t in seconds) under the envelope, release included.
template <typename Wave>
std::vector<float> Render(const Envelope& envelope, double seconds, int32_t rate, Wave wave) {
  std::vector<float> out(static_cast<size_t>((seconds + envelope.release) * rate));
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    out[i] = static_cast<float>(envelope.At(t, seconds) * wave(t));
  }
  return out;
}

// A fixed xorshift dice, so that every build plucks the same strings.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed | 1) {}
  float Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_) / 4294967296.0f * 2 - 1;
  }

 private:
  uint32_t state_;
};

}  // namespace

std::vector<float> MusicBox(double hz, double seconds, int32_t rate) {
  constexpr Envelope kShape{0.004, 0.9, 0.4};
  // High notes get less modulation, so that no side band passes half the rate.
  const double brightness = 1.1 * std::min(1.0, 1000.0 / hz);
  return Render(kShape, seconds, rate, [hz, brightness](double t) {
    const double index = brightness * std::exp(-t / 0.2);
    const double bell = std::sin(kTwoPi * hz * t + index * std::sin(kTwoPi * 4 * hz * t));
    return 0.8 * bell + 0.2 * std::exp(-t / 0.3) * std::sin(kTwoPi * 2 * hz * t);
  });
}

std::vector<float> ElectricPiano(double hz, double seconds, int32_t rate) {
  constexpr Envelope kShape{0.006, 1.4, 0.3};
  return Render(kShape, seconds, rate, [hz](double t) {
    const double index = 0.9 * std::exp(-t / 0.5);
    return std::sin(kTwoPi * hz * t + index * std::sin(kTwoPi * hz * t));
  });
}

std::vector<float> Pad(double hz, double seconds, int32_t rate) {
  constexpr Envelope kShape{0.7, 0, 0.9};
  constexpr int kPartials = 6;
  constexpr double kDetune = 0.0025;  // about 4 cents each way: a slow chorus
  return Render(kShape, seconds, rate, [hz](double t) {
    double sum = 0;
    for (int n = 1; n <= kPartials; ++n) {
      const double weight = 1.0 / (n * n);
      sum += weight * (std::sin(kTwoPi * n * hz * (1 - kDetune) * t) +
                       std::sin(kTwoPi * n * hz * (1 + kDetune) * t + n));
    }
    return 0.4 * sum;
  });
}

std::vector<float> Bass(double hz, double seconds, int32_t rate) {
  constexpr Envelope kShape{0.01, 2.5, 0.25};
  return Render(kShape, seconds, rate, [hz](double t) {
    return std::sin(kTwoPi * hz * t) + 0.25 * std::sin(kTwoPi * 2 * hz * t);
  });
}

std::vector<float> Ocarina(double hz, double seconds, int32_t rate) {
  constexpr Envelope kShape{0.07, 0, 0.18};
  constexpr double kVibratoHz = 5.0;
  constexpr double kVibratoDepth = 0.004;  // of the pitch
  constexpr double kVibratoDelay = 0.35;   // seconds before it is full
  return Render(kShape, seconds, rate, [hz](double t) {
    // The phase of a pitch that swings around hz; the swing grows in
    // smoothly, so its own slope is small enough to leave out.
    const double depth = kVibratoDepth * std::min(t / kVibratoDelay, 1.0);
    const double swing = depth * hz / kVibratoHz * (1 - std::cos(kTwoPi * kVibratoHz * t));
    const double phase = kTwoPi * (hz * t + swing);
    return std::sin(phase) + 0.12 * std::sin(2 * phase) + 0.06 * std::sin(3 * phase);
  });
}

std::vector<float> Tick(double hz, double seconds, int32_t rate) {
  constexpr Envelope kShape{0.0015, 0.035, 0.05};
  return Render(kShape, seconds, rate, [hz](double t) {
    return std::sin(kTwoPi * hz * t) +
           0.35 * std::exp(-t / 0.01) * std::sin(kTwoPi * 2.76 * hz * t);
  });
}

// A delay line one period long, fed back through a two-point average (the
// string losing its highs) and an all-pass that tunes the fraction of a
// sample the integer line cannot.
std::vector<float> Pluck(double hz, double seconds, int32_t rate) {
  constexpr Envelope kShape{0.002, 0, 0.3};
  constexpr double kLoss = 0.998;
  constexpr double kThumb = 0.25;
  const double period = rate / hz - 0.5;  // the average delays half a sample
  const auto length = static_cast<size_t>(std::floor(period - 0.1));
  const double fraction = period - static_cast<double>(length);
  const double allPass = (1 - fraction) / (1 + fraction);

  // The string starts from soft noise (smoothed twice, as a thumb rather
  // than a nail plucks), without a DC offset.
  std::vector<double> line(length);
  Noise noise(static_cast<uint32_t>(hz * 1000));
  double smooth = 0, smoother = 0;
  for (double& s : line) {
    smooth += kThumb * (noise.Next() - smooth);
    s = smoother += kThumb * (smooth - smoother);
  }
  double mean = 0;
  for (double s : line) mean += s / static_cast<double>(length);
  for (double& s : line) s -= mean;

  // Render asks for the samples in order, so the string can run along.
  size_t at = 0;
  double previous = 0, passIn = 0, passOut = 0;
  return Render(kShape, seconds, rate, [&](double) {
    const double out = line[at];
    const double averaged = kLoss * 0.5 * (out + previous);
    passOut = allPass * averaged + passIn - allPass * passOut;
    passIn = averaged;
    previous = out;
    line[at] = passOut;
    at = (at + 1) % length;
    return 1.6 * out;
  });
}

}  // namespace mavu::demo
