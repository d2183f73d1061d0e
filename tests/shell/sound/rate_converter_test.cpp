#include "shell/sound/rate_converter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "base/bytes.h"
#include "base/file_io.h"
#include "support/sound/ogg_maker.h"
#include "support/sound/signal.h"

namespace mavu::shell {
namespace {

std::vector<int16_t> Sine(int32_t rate, int32_t channels, int32_t frames, double frequency) {
  std::vector<int16_t> samples;
  for (int32_t i = 0; i < frames; ++i) {
    const double v = 16384 * std::sin(2 * std::numbers::pi * frequency * i / rate);
    samples.insert(samples.end(), channels, static_cast<int16_t>(std::lround(v)));
  }
  return samples;
}

// Fed in uneven pieces, so the resampler must carry its state across calls.
std::vector<int16_t> ConvertWhole(RateConverter& converter, std::span<const int16_t> input,
                                  int32_t channels) {
  std::vector<int16_t> out;
  const size_t piece = 4093 * static_cast<size_t>(channels);
  for (size_t at = 0; at < input.size(); at += piece) {
    converter.Convert(input.subspan(at, std::min(piece, input.size() - at)), out);
  }
  converter.Finish(out);
  return out;
}

TEST(RateConverter, RepeatsSamplesExactlyAt22050And44100) {
  struct Case {
    int32_t rate, channels;
    std::vector<int16_t> in, out;
  };
  const Case cases[] = {
      {22050, 1, {1, -2}, {1, 1, 1, 1, -2, -2, -2, -2}},
      {22050, 2, {1, 2, -3, 4}, {1, 2, 1, 2, -3, 4, -3, 4}},
      {44100, 1, {1, -2, 3}, {1, 1, -2, -2, 3, 3}},
      {44100, 2, {1, 2, -3, 4}, {1, 2, -3, 4}},
  };
  for (const Case& c : cases) {
    RateConverter converter(c.rate, c.channels);
    std::vector<int16_t> out = {7, 7};
    converter.Convert(c.in, out);
    converter.Finish(out);
    std::vector<int16_t> expected = {7, 7};
    expected.insert(expected.end(), c.out.begin(), c.out.end());
    EXPECT_EQ(out, expected) << c.rate << " Hz, " << c.channels << " channels";
  }
}

TEST(RateConverter, ResamplesAMonoToneToTheSameToneOnBothSides) {
  RateConverter converter(48000, 1);
  const std::vector<int16_t> out = ConvertWhole(converter, Sine(48000, 1, 48000, 1000), 1);
  EXPECT_NEAR(static_cast<double>(out.size()) / 2, 44100, 2);
  EXPECT_NEAR(test::RisingZeroCrossings(out), 1000, 1);
  for (size_t i = 0; i < out.size(); i += 2) ASSERT_EQ(out[i], out[i + 1]) << i;
  // Full level, as on the repeated rates: no 3 dB mono pan.
  EXPECT_NEAR(*std::max_element(out.begin(), out.end()), 16384, 300);
}

TEST(RateConverter, StartsAfreshAfterResetAndAfterFinish) {
  const std::vector<int16_t> first = Sine(48000, 2, 3000, 700);
  const std::vector<int16_t> second = Sine(48000, 2, 5000, 1300);
  RateConverter fresh(48000, 2);
  const std::vector<int16_t> expected = ConvertWhole(fresh, second, 2);

  RateConverter reset(48000, 2);
  std::vector<int16_t> dropped;
  reset.Convert(first, dropped);
  reset.Reset();
  EXPECT_EQ(ConvertWhole(reset, second, 2), expected);

  RateConverter finished(48000, 2);
  ConvertWhole(finished, first, 2);
  EXPECT_EQ(ConvertWhole(finished, second, 2), expected);
}

TEST(RateConverter, RefusesFormatsNoSoundFileShouldHaveAndHalfFrames) {
  for (const auto& [rate, channels] :
       {std::pair{48000, 0}, std::pair{48000, 3}, std::pair{0, 2}, std::pair{-8000, 1},
        std::pair{7999, 1}, std::pair{384001, 2}}) {
    EXPECT_THROW(RateConverter(rate, channels), base::FormatError) << rate << " " << channels;
  }
  std::vector<int16_t> out;
  const int16_t oneAndAHalf[] = {1, 2, 3};
  EXPECT_THROW(RateConverter(22050, 2).Convert(oneAndAHalf, out), std::invalid_argument);
}

TEST(RateConverter, ConvertsRealFilesToTheirDurationAt44100) {
  // 48000 Hz mono, 96000 Hz stereo, 8000 Hz mono.
  for (const char* name :
       {"audio-test-signal.oga", "camera-shutter.oga", "phone-outgoing-busy.oga"}) {
    const auto file = base::ReadWholeFile(test::FreedesktopSound(name));
    if (!file) GTEST_SKIP() << "sound-theme-freedesktop is not installed";
    const test::DecodedOgg decoded = test::DecodeOgg(*file);
    RateConverter converter(decoded.rate, decoded.channels);
    const std::vector<int16_t> out = ConvertWhole(converter, decoded.samples, decoded.channels);
    const double seconds =
        static_cast<double>(decoded.samples.size()) / decoded.channels / decoded.rate;
    EXPECT_NEAR(static_cast<double>(out.size()) / 2, seconds * 44100, 2) << name;
  }
}

}  // namespace
}  // namespace mavu::shell
