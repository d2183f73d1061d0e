#include "support/sound/ogg_maker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "shell/sound/loop_header.h"

namespace mavu::test {
namespace {

int16_t Peak(std::span<const int16_t> samples) {
  int16_t peak = 0;
  for (int16_t s : samples) peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(s)));
  return peak;
}

TEST(OggMaker, DecodesToTheRateChannelsAndLengthAskedFor) {
  for (const auto& [rate, channels] : {std::pair{22050, 1}, std::pair{48000, 2}}) {
    const DecodedOgg decoded =
        DecodeOgg(MakeOgg({.rate = rate, .channels = channels, .seconds = 0.5}));
    EXPECT_EQ(decoded.rate, rate);
    EXPECT_EQ(decoded.channels, channels);
    EXPECT_EQ(decoded.samples.size(), static_cast<size_t>(rate / 2 * channels)) << rate;
  }
}

TEST(OggMaker, PutsTheToneAfterTheSilenceAtItsAmplitude) {
  const DecodedOgg decoded = DecodeOgg(
      MakeOgg({.channels = 1, .seconds = 0.5, .frequency = 1000, .leadingSilence = 0.25}));
  const std::span<const int16_t> samples(decoded.samples);
  EXPECT_LT(Peak(samples.first(44100 / 5)), 300);
  EXPECT_NEAR(Peak(samples.subspan(44100 * 3 / 10)), 16384, 1600);
}

TEST(OggMaker, PutsTheLoopBlockInFrontOfTheFile) {
  const base::Bytes ogg = MakeOgg({.seconds = 0.1});
  const LoopEntry entries[] = {{1.5f, 3.25f, -1}, {0.0f, 2.0f, 4}};
  const base::Bytes file = WithLoopHeader(entries, ogg);
  const shell::LoopHeader header = shell::ReadLoopHeader(file);
  ASSERT_EQ(header.dataOffset, 200u);
  EXPECT_EQ(base::Bytes(file.begin() + 200, file.end()), ogg);
  EXPECT_FLOAT_EQ(header.points[0].target, 1.5f);
  EXPECT_FLOAT_EQ(header.points[0].trigger, 3.25f);
  EXPECT_EQ(header.points[0].count, -1);
  EXPECT_EQ(header.points[1].count, 4);
  EXPECT_EQ(header.points[2].count, 0);
  EXPECT_EQ(header.points[15].trigger, 0.0f);
}

}  // namespace
}  // namespace mavu::test
