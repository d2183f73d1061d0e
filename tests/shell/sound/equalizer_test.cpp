#include "shell/sound/equalizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "support/sound/signal.h"

namespace mavu::shell {
namespace {

using Samples = std::vector<int16_t>;  // interleaved stereo frames
using Gains = std::array<float, Equalizer::kBins>;

constexpr double kRate = 44100;

Samples Noise(size_t frames) {
  std::minstd_rand random(7);
  std::uniform_int_distribution<int> sample(-8000, 8000);
  Samples samples(2 * frames);
  for (int16_t& s : samples) s = static_cast<int16_t>(sample(random));
  return samples;
}

Samples Constant(size_t frames, int16_t left, int16_t right) {
  Samples samples(2 * frames);
  for (size_t n = 0; n < frames; ++n) samples[2 * n] = left, samples[2 * n + 1] = right;
  return samples;
}

Samples Tones(size_t frames, double lowHz, double highHz) {
  Samples samples(2 * frames);
  for (size_t n = 0; n < frames; ++n) {
    const double low = 2 * std::numbers::pi * lowHz * n / kRate;
    const double high = 2 * std::numbers::pi * highHz * n / kRate;
    samples[2 * n] = static_cast<int16_t>(std::lround(8000 * (std::sin(low) + std::sin(high))));
    samples[2 * n + 1] = static_cast<int16_t>(std::lround(8000 * (std::cos(low) + std::sin(high))));
  }
  return samples;
}

// Past the first transform, where the filter has settled.
double ChangeInDecibels(const Samples& before, const Samples& after, size_t channel, double hz) {
  const size_t from = 256, to = before.size() / 2;
  return test::Decibels(test::ToneAmplitude(after, channel, hz, from, to),
                        test::ToneAmplitude(before, channel, hz, from, to));
}

// Multipliers 1/2 + cos(2 pi k / 256) / 2 on the transform bins, that is the
// filter y[n] = x[n] / 2 + (x[n - 1] + x[n + 1]) / 4 on each side.
Gains ThreeTapSmoothing() {
  Gains gains{};
  for (size_t i = 0; i < gains.size(); ++i) {
    gains[i] = static_cast<float>(0.5 + 0.5 * std::cos(2 * std::numbers::pi * ((i + 1) / 2) / 256));
  }
  return gains;
}

// What comes out of the equaliser when `samples` go in: the same frames late.
Samples Delayed(const Samples& samples) {
  Samples delayed(samples.size());
  const size_t shift = 2 * Equalizer::kLatencyFrames;
  std::copy(samples.begin(), samples.end() - shift, delayed.begin() + shift);
  return delayed;
}

// What the three-tap smoothing makes of `input` (silence around it), late as
// the equaliser delivers it.
Samples SmoothedLate(const Samples& input) {
  const auto at = [&](ptrdiff_t i) -> double {
    return i >= 0 && i < std::ssize(input) ? input[i] : 0;
  };
  Samples output(input.size());
  for (ptrdiff_t i = 0; i < std::ssize(output); ++i) {
    const ptrdiff_t source = i - 2 * static_cast<ptrdiff_t>(Equalizer::kLatencyFrames);
    output[i] =
        static_cast<int16_t>(std::lround(at(source) / 2 + (at(source - 2) + at(source + 2)) / 4));
  }
  return output;
}

void ExpectWithinOne(const Samples& actual, const Samples& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    ASSERT_NEAR(actual[i], expected[i], 1) << "frame " << i / 2 << " side " << i % 2;
  }
}

TEST(Equalizer, SpreadsBandsOverTheBinsAlongACubicCurve) {
  Equalizer equalizer;
  ASSERT_TRUE(equalizer.SetBands(std::array<int32_t, 4>{255, 0, 255, 255}, 0));
  const Gains gains = equalizer.CurrentGains();
  // Bins 0-85 follow (1 - f)^2 (1 + f), bins 85-170 f^2 (2 - f) and bins
  // 170-255 1 + f (1 - f)^2 / 4, with f the fraction of the way along.
  EXPECT_FLOAT_EQ(gains[0], 1);
  EXPECT_FLOAT_EQ(gains[17], 0.768f);
  EXPECT_FLOAT_EQ(gains[34], 0.504f);
  EXPECT_EQ(gains[85], 0);
  EXPECT_FLOAT_EQ(gains[119], 0.256f);
  EXPECT_FLOAT_EQ(gains[238], 1.008f);
  EXPECT_FLOAT_EQ(gains[255], 1);
}

TEST(Equalizer, RefusesBandCountsOtherThanFourEightOrSixteen) {
  Equalizer equalizer;
  for (size_t count : {0, 1, 5, 12, 17}) {
    EXPECT_FALSE(equalizer.SetBands(std::vector<int32_t>(count, 0), 0)) << count;
  }
  EXPECT_FALSE(equalizer.Active());
  EXPECT_TRUE(equalizer.SetBands(std::vector<int32_t>(16, 0), 0));
  EXPECT_TRUE(equalizer.Active());
}

TEST(Equalizer, FlatBandsOnlyDelayTheSound) {
  Equalizer equalizer;
  ASSERT_TRUE(
      equalizer.SetBands(std::array<int32_t, 8>{255, 255, 255, 255, 255, 255, 255, 255}, 0));
  EXPECT_FALSE(equalizer.Active());
  const Samples input = Noise(1000);
  Samples output = input;
  equalizer.Process(output);
  EXPECT_EQ(output, Delayed(input));
}

TEST(Equalizer, CuttingTheLowestBandSilencesBassAndKeepsTreble) {
  Equalizer equalizer;
  ASSERT_TRUE(equalizer.SetBands(std::array<int32_t, 4>{0, 255, 255, 255}, 0));
  const Samples input = Tones(8192, 300, 12000);
  Samples output = input;
  equalizer.Process(output);
  for (size_t side : {0, 1}) {
    EXPECT_LT(ChangeInDecibels(input, output, side, 300), -20) << side;
    EXPECT_NEAR(ChangeInDecibels(input, output, side, 12000), 0, 1) << side;
  }
}

TEST(Equalizer, RampsTheGainsAlongWithThePlayedFrames) {
  Equalizer equalizer;
  ASSERT_TRUE(equalizer.SetBands(std::array<int32_t, 4>{0, 0, 0, 0}, 100));
  Samples block = Noise(2205);
  equalizer.Process(block);
  EXPECT_NEAR(equalizer.CurrentGains()[0], 0.5, 0.001);
  EXPECT_NEAR(equalizer.CurrentGains()[200], 0.5, 0.001);
  equalizer.Process(block);
  EXPECT_EQ(equalizer.CurrentGains()[0], 0);
  EXPECT_EQ(equalizer.CurrentGains()[200], 0);
}

TEST(Equalizer, CarriesTheFramesBeforeTheBlockAcrossCalls) {
  Equalizer equalizer;
  equalizer.SetGainsNow(ThreeTapSmoothing());
  const Samples input = Noise(1000);
  Samples output = input;
  const size_t split = 300;
  equalizer.Process(std::span(output).first(2 * split));
  equalizer.Process(std::span(output).subspan(2 * split));
  ExpectWithinOne(output, SmoothedLate(input));
}

TEST(Equalizer, SwitchingOnMidStreamKeepsTheTiming) {
  Equalizer equalizer;
  const Samples input = Noise(400);
  Samples output = input;
  const size_t split = 150;
  equalizer.Process(std::span(output).first(2 * split));
  equalizer.SetGainsNow(ThreeTapSmoothing());
  equalizer.Process(std::span(output).subspan(2 * split));
  Samples expected = SmoothedLate(input);
  const Samples delayed = Delayed(input);
  std::copy_n(delayed.begin(), 2 * split, expected.begin());
  ExpectWithinOne(output, expected);
}

TEST(Equalizer, ResetFlattensAndForgetsEarlierFrames) {
  Equalizer equalizer;
  ASSERT_TRUE(equalizer.SetBands(std::array<int32_t, 4>{0, 128, 255, 64}, 0));
  Samples earlier = Noise(300);
  equalizer.Process(earlier);
  equalizer.Reset();
  EXPECT_FALSE(equalizer.Active());
  const Samples input = Constant(200, 1234, -567);
  Samples output = input;
  equalizer.Process(output);
  EXPECT_EQ(output, Delayed(input));
}

TEST(Equalizer, DamagedSavedGainsCannotPoisonTheSound) {
  Equalizer equalizer;
  Gains gains{};
  gains.fill(std::numeric_limits<float>::quiet_NaN());
  equalizer.SetGainsNow(gains);
  EXPECT_FALSE(equalizer.Active());
  gains.fill(std::numeric_limits<float>::max());
  equalizer.SetGainsNow(gains);
  Samples block = Constant(500, 10000, -10000);
  equalizer.Process(block);
  EXPECT_EQ(block, Delayed(Constant(500, 32767, -32768)));
}

}  // namespace
}  // namespace mavu::shell
