#include "shell/sound/ogg_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/sound/ogg_maker.h"
#include "support/sound/signal.h"

namespace mavu::shell {
namespace {

constexpr size_t kBlockFrames = 4410;  // 0.1 s

std::vector<int16_t> Decode(TOggData& data, size_t frames) {
  std::vector<int16_t> out(frames * 2);
  data.DecodeBlock(out, 0);
  return out;
}

// Decodes 0.1 s blocks and notes the time after each.
std::vector<double> TimesAfterBlocks(TOggData& data, int blocks) {
  std::vector<double> times;
  for (int i = 0; i < blocks; ++i) {
    Decode(data, kBlockFrames);
    times.push_back(data.TimeSeconds());
  }
  return times;
}

// Jumps back to the loop target (an end of the file goes back to 0).
int Jumps(const std::vector<double>& times) {
  int jumps = 0;
  for (size_t i = 1; i < times.size(); ++i) jumps += times[i] < times[i - 1] && times[i] > 0.4;
  return jumps;
}

TEST(OggData, PlaysEveryRateAtItsPitchAndLevel) {
  for (const auto& [rate, channels] :
       {std::pair{22050, 1}, {22050, 2}, {44100, 1}, {48000, 2}, {8000, 1}}) {
    TOggData data(65536);
    ASSERT_EQ(data.Open(test::MakeOgg(
                  {.rate = rate, .channels = channels, .seconds = 1.2, .frequency = 1000})),
              "");
    data.Play(false);
    const std::vector<int16_t> second = Decode(data, 44100);
    EXPECT_NEAR(test::RisingZeroCrossings(second, 0), 1000, 3) << rate;
    EXPECT_NEAR(test::RisingZeroCrossings(second, 1), 1000, 3) << rate;
    const double amplitude = test::ToneAmplitude(second, 0, 1000, 4410, 39690);
    EXPECT_NEAR(test::Decibels(amplitude, 0.5 * 32767), 0, 0.5) << rate;
  }
}

TEST(OggData, ALoopPointJumpsItsCountThenLetsTheMusicPassUntilPlayedBackBeforeIt) {
  const std::vector<test::LoopEntry> loops = {{0.5f, 2.0f, 2}};
  TOggData data(65536);
  ASSERT_EQ(data.Open(test::WithLoopHeader(loops, test::MakeOgg({.seconds = 3}))), "");
  data.Play(false);
  std::vector<double> times = TimesAfterBlocks(data, 20);
  EXPECT_NEAR(times[19], 0.5, 0.001);  // the block from 1.9 s ends at the trigger and jumps
  times = TimesAfterBlocks(data, 50);
  EXPECT_EQ(Jumps(times), 1);
  EXPECT_FALSE(data.Playing());  // the third pass ran past 2.0 s to the end
  data.Seek(1.5);
  data.Play(false);
  EXPECT_EQ(Jumps(TimesAfterBlocks(data, 8)), 1);
}

TEST(OggData, AFadeToSilenceStopsTheChannelWhereItIs) {
  TOggData data(65536);
  ASSERT_EQ(data.Open(test::MakeOgg({.seconds = 3})), "");
  data.Play(true);
  data.FadeTo(0, 100);
  TimesAfterBlocks(data, 1);  // the fade ends with the block
  const double stoppedAt = data.TimeSeconds();
  Decode(data, kBlockFrames);  // silent, it holds its place
  EXPECT_EQ(data.TimeSeconds(), stoppedAt);
  EXPECT_TRUE(data.Playing());
  EXPECT_TRUE(data.StopIfSilent());
  EXPECT_FALSE(data.Playing());
  data.FadeTo(255, 0);
  data.Play(true);
  const std::vector<int16_t> resumed = Decode(data, kBlockFrames);
  EXPECT_GT(test::Peak(resumed, 0, kBlockFrames), 10000);
  EXPECT_NEAR(data.TimeSeconds(), stoppedAt + 0.1, 0.001);
}

TEST(OggData, EndsOrWrapsAtTheEndOfTheFile) {
  TOggData data(65536);
  ASSERT_EQ(data.Open(test::MakeOgg({.seconds = 0.25})), "");
  data.Play(false);
  const std::vector<int16_t> block = Decode(data, 22050);
  EXPECT_FALSE(data.Playing());
  EXPECT_EQ(test::Peak(block, 11500, 22050), 0);
  EXPECT_EQ(data.TimeSeconds(), 0);
  data.Play(true);
  const std::vector<int16_t> looped = Decode(data, 22050);
  EXPECT_TRUE(data.Playing());
  EXPECT_GT(test::Peak(looped, 11500, 22050), 10000);
}

TEST(OggData, SkipsLeadingSilenceToJustBeforeTheSound) {
  TOggData data(65536);
  ASSERT_EQ(data.Open(test::MakeOgg({.seconds = 1, .leadingSilence = 1.0})), "");
  data.SkipLeadingSilence(100);
  EXPECT_NEAR(data.TimeSeconds(), 0.8, 0.01);
  ASSERT_EQ(data.Open(test::MakeOgg({.seconds = 1, .frequency = 0})), "");
  data.Seek(0.5);
  data.SkipLeadingSilence(100);
  EXPECT_EQ(data.TimeSeconds(), 0);
}

// A chained file whose second part changes the rate cannot be played on: the
// channel stops and says so once.
TEST(OggData, AStreamThatChangesFormatStopsWithADecodeError) {
  base::Bytes chained = test::MakeOgg({.seconds = 0.2});
  const base::Bytes second = test::MakeOgg({.rate = 22050, .seconds = 0.2, .serial = 2});
  chained.insert(chained.end(), second.begin(), second.end());
  TOggData data(65536);
  ASSERT_EQ(data.Open(chained), "");
  data.Play(true);
  Decode(data, 44100);
  EXPECT_FALSE(data.Playing());
  EXPECT_TRUE(data.TakeDecodeError());
  EXPECT_FALSE(data.TakeDecodeError());
}

TEST(OggData, DamagedFilesAreRefusedOrEndWithoutHarm) {
  const base::Bytes good = test::MakeOgg({.seconds = 1});
  base::Bytes cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2));
  base::Bytes scrambled = good;
  for (size_t i = good.size() / 3; i < good.size() / 3 + 400; ++i) scrambled[i] ^= 0x5A;
  const std::vector<test::LoopEntry> wild = {{1e9f, 0.3f, -1}, {0.0f, 0.0f, -1}};
  const base::Bytes wildLoops = test::WithLoopHeader(wild, good);
  EXPECT_NE(TOggData(65536).Open({}), "");
  EXPECT_NE(TOggData(65536).Open(base::Bytes(500, 0x4F)), "");
  for (const base::Bytes& file : {cut, scrambled, wildLoops}) {
    TOggData data(65536);
    if (!data.Open(file).empty()) continue;
    data.Play(false);
    for (int i = 0; i < 40 && data.Playing(); ++i) Decode(data, kBlockFrames);
    EXPECT_FALSE(data.Playing());
    EXPECT_LE(data.TimeSeconds(), data.TotalSeconds());
  }
}

// A short tone whose setup header has one codebook spoiled: the headers read,
// but libvorbis cannot build the decoder.
base::Bytes SpoiledCodebook() {
  constexpr size_t kCodebookByte = 913;
  base::Bytes ogg = test::MakeOgg({.seconds = 0.3});
  if (ogg[kCodebookByte] != 169) ADD_FAILURE() << "the encoder's output moved; spoil another byte";
  ogg[kCodebookByte] = 85;
  test::RepairPageChecksums(ogg);
  return ogg;
}

// `ogg` as a later link of a chained stream: its own serial number on every page.
base::Bytes Relinked(base::Bytes ogg, uint32_t serial) {
  for (size_t at = 0; at + 18 <= ogg.size(); ++at) {
    if (std::memcmp(ogg.data() + at, "OggS", 4) == 0) std::memcpy(ogg.data() + at + 14, &serial, 4);
  }
  test::RepairPageChecksums(ogg);
  return ogg;
}

TEST(OggData, RefusesAtOpenAStreamWhoseDecoderCannotBeBuilt) {
  TOggData decoder(65536);
  EXPECT_EQ(decoder.Open(SpoiledCodebook()), "damaged sound data");
  EXPECT_FALSE(decoder.IsOpen());
}

// libvorbis builds a failed link's decoder on top of the half-made codebooks
// of the first attempt (a division by zero); the channel must not try again.
TEST(OggData, AfterALinkFailsToDecodeStaysSilentThroughStopAndReplay) {
  base::Bytes chained = test::MakeOgg({.seconds = 0.3});
  const base::Bytes spoiled = Relinked(SpoiledCodebook(), 2);
  chained.insert(chained.end(), spoiled.begin(), spoiled.end());
  TOggData decoder(65536);
  ASSERT_EQ(decoder.Open(chained), "");
  std::vector<int16_t> block(65536 / 2);
  for (int round = 0; round < 2; ++round) {
    decoder.Play(false);
    for (int half = 0; half < 2; ++half) decoder.DecodeBlock(block, half);
    EXPECT_TRUE(decoder.TakeDecodeError()) << round;
    decoder.Stop();
  }
}

}  // namespace
}  // namespace mavu::shell
