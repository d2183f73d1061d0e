#include "shell/sound/sound.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "base/error_log.h"
#include "base/steady_clock.h"
#include "support/mounted_game.h"
#include "support/sound/ogg_maker.h"
#include "support/sound/signal.h"

namespace mavu::shell {
namespace {

using script::SoundFamily;
using script::SoundService;

constexpr size_t kStreamLength = 65536;
constexpr int32_t kHalfBufferMs = 186;  // the stream buffer's first half plays silence

std::string Ogg(const test::ToneSpec& spec) {
  const base::Bytes bytes = test::MakeOgg(spec);
  return std::string(bytes.begin(), bytes.end());
}

std::string Chained() {
  std::string file = Ogg({.seconds = 0.3});
  return file + Ogg({.rate = 22050, .seconds = 0.3, .serial = 2});
}

class SoundTest : public ::testing::Test {
 protected:
  // Renders in 10 ms callbacks, moving the clock along as a sound card would.
  std::vector<int16_t> Render(int32_t ms) {
    std::vector<int16_t> out;
    std::vector<int16_t> chunk(441 * 2);
    for (int32_t t = 0; t < ms; t += 10) {
      clock_.Advance(10);
      sound_.Device().Render(chunk);
      out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
  }
  double Amplitude(const std::vector<int16_t>& out, size_t fromFrame, size_t toFrame) {
    return test::ToneAmplitude(out, 0, 1000, fromFrame, toFrame);
  }
  double EffectAmplitude(int32_t volume) {
    clock_.Advance(TDSound::kRestartGuardMs);
    sound_.SetSoundVolume(SoundFamily::kEffect, 0, volume, 0);
    sound_.PlaySound(SoundFamily::kEffect, 0, true);
    return Amplitude(Render(100), 0, 4410);
  }
  int32_t State(SoundFamily family, int32_t channel) { return sound_.SoundState(family, channel); }

  test::MountedGame game_{{{"bgm\\music.ogg", Ogg({.seconds = 5, .frequency = 1000})},
                           {"se\\tone.ogg", Ogg({.seconds = 1, .frequency = 1000})},
                           {"voice\\v1.ogg", Ogg({.seconds = 2, .frequency = 1000})},
                           {"bgm\\chained.ogg", Chained()}}};
  base::SimulatedClock clock_;
  TSound sound_{clock_, kStreamLength};
};

TEST_F(SoundTest, EffectVolumeAndClassLevelAreHundredthsOfADecibel) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kEffect, 0, "se\\tone.ogg"), "");
  const double full = EffectAmplitude(255);
  EXPECT_NEAR(test::Decibels(full, 0.5 * 32767), 0, 0.3);
  EXPECT_NEAR(test::Decibels(EffectAmplitude(128), full), -15.24, 0.05);
  sound_.SetClassLevel(2, 128);
  EXPECT_NEAR(test::Decibels(EffectAmplitude(255), full), -15.24, 0.05);
  sound_.SetEffectLevels(128);  // heard at once on a playing effect
  EXPECT_NEAR(test::Decibels(Amplitude(Render(100), 0, 4410), full), -15.24, 0.05);
  sound_.SetClassLevel(2, 0);
  EXPECT_LT(EffectAmplitude(255), 1.0);
}

// Off, nothing sounds and the music holds its place; on, the music goes on
// and effects stay stopped.
TEST_F(SoundTest, InactiveSoundHoldsTheMusicAndStopsEffects) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 0, "bgm\\music.ogg"), "");
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kEffect, 0, "se\\tone.ogg"), "");
  sound_.PlaySound(SoundFamily::kStream, 0, true);
  sound_.PlaySound(SoundFamily::kEffect, 0, true);
  Render(1000);
  const int32_t before = sound_.PositionMs(0);
  sound_.SetSoundActive(false);
  EXPECT_EQ(test::Peak(Render(1000), 0, 44100), 0);
  EXPECT_EQ(State(SoundFamily::kEffect, 0), SoundService::kStopped);
  sound_.SetSoundActive(true);
  const std::vector<int16_t> after = Render(500);
  EXPECT_GT(test::Peak(after, 0, 22050), 10000);
  EXPECT_EQ(State(SoundFamily::kEffect, 0), SoundService::kStopped);
  EXPECT_NEAR(sound_.PositionMs(0), before + 500, 200);
}

TEST_F(SoundTest, AnEffectStartsOnceWithinTwentyMillisecondsAndTakesVolumeAtItsStart) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kEffect, 3, "se\\tone.ogg"), "");
  sound_.PlaySound(SoundFamily::kEffect, 3, false);
  clock_.Advance(19);
  sound_.StopSound(SoundFamily::kEffect, 3);
  sound_.PlaySound(SoundFamily::kEffect, 3, false);
  EXPECT_EQ(State(SoundFamily::kEffect, 3), SoundService::kStopped);
  clock_.Advance(1);
  sound_.PlaySound(SoundFamily::kEffect, 3, true);
  EXPECT_EQ(State(SoundFamily::kEffect, 3), SoundService::kPlayingLooped);
  sound_.SetSoundVolume(SoundFamily::kEffect, 3, 0, 0);
  EXPECT_GT(test::Peak(Render(50), 0, 2205), 10000);
  EXPECT_EQ(sound_.SoundVolume(SoundFamily::kEffect, 3), 0);
}

TEST_F(SoundTest, AStreamPositionCountsWhatHasBeenHeardAndItsLevelFollowsTheSound) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 2, "bgm\\music.ogg"), "");
  EXPECT_EQ(State(SoundFamily::kStream, 2), SoundService::kStopped);
  sound_.PlaySound(SoundFamily::kStream, 2, true);
  const std::vector<int16_t> out = Render(2000);
  EXPECT_NEAR(sound_.PositionMs(2), 2000 - kHalfBufferMs, 15);
  EXPECT_EQ(test::Peak(out, 0, 8000), 0);
  EXPECT_NEAR(test::Decibels(Amplitude(out, 44100, 88200), 0.5 * 32767), 0, 0.3);
  EXPECT_NEAR(sound_.ChannelLevel(2), 16384 >> 7, 8);
  EXPECT_EQ(sound_.ChannelLevel(3), 0);
}

TEST_F(SoundTest, ClassLevelsReachPlayingStreamsAtOnce) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 0, "bgm\\music.ogg"), "");
  sound_.PlaySound(SoundFamily::kStream, 0, true);
  const double full = Amplitude(Render(1000), 22050, 44100);
  sound_.SetClassLevel(0, 128);
  sound_.ApplyClassLevels();
  EXPECT_NEAR(test::Decibels(Amplitude(Render(1000), 22050, 44100), full), -6.0, 0.2);
}

// The output may mix between a start at volume 0 and the fade in that
// follows it; only the frame's update stops a silent channel.
TEST_F(SoundTest, AFadeInAfterAStartAtSilencePlays) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 0, "bgm\\music.ogg"), "");
  sound_.SetSoundVolume(SoundFamily::kStream, 0, 0, 0);
  sound_.PlaySound(SoundFamily::kStream, 0, true);
  Render(500);
  sound_.SetSoundVolume(SoundFamily::kStream, 0, 255, 100);
  sound_.UpdateSounds();
  EXPECT_GT(test::Peak(Render(1000), 22050, 44100), 10000);
  sound_.SetSoundVolume(SoundFamily::kStream, 0, 0, 100);
  Render(1000);
  sound_.UpdateSounds();
  EXPECT_EQ(State(SoundFamily::kStream, 0), SoundService::kStopped);
}

TEST_F(SoundTest, ASceneSkipNotesCommandsAndReplaysTheirFinalState) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 2, "bgm\\music.ogg"), "");
  sound_.PlaySound(SoundFamily::kStream, 2, true);
  Render(500);
  sound_.BeginDeferral();
  sound_.LoadSound(SoundFamily::kStream, 0, "bgm\\music.ogg");
  sound_.PlaySound(SoundFamily::kStream, 0, true);
  sound_.SetSoundVolume(SoundFamily::kStream, 0, 100, 1000);
  sound_.LoadSound(SoundFamily::kStream, 1, "voice\\v1.ogg");
  sound_.SetSoundClass(1, 1);
  sound_.PlaySound(SoundFamily::kStream, 1, false);
  sound_.LoadSound(SoundFamily::kEffect, 0, "se\\tone.ogg");
  sound_.PlaySound(SoundFamily::kEffect, 0, false);
  EXPECT_EQ(State(SoundFamily::kStream, 0), SoundService::kNoFile);
  EXPECT_EQ(State(SoundFamily::kEffect, 0), SoundService::kNoFile);
  const int32_t untouched = sound_.PositionMs(2);
  sound_.EndDeferral();
  EXPECT_EQ(State(SoundFamily::kStream, 0), SoundService::kPlayingLooped);
  EXPECT_EQ(sound_.SoundVolume(SoundFamily::kStream, 0), 100);
  EXPECT_EQ(State(SoundFamily::kStream, 1), SoundService::kStopped);  // a voice is not replayed
  EXPECT_EQ(State(SoundFamily::kEffect, 0), SoundService::kStopped);
  EXPECT_EQ(State(SoundFamily::kStream, 2), SoundService::kPlayingLooped);
  EXPECT_EQ(sound_.PositionMs(2), untouched);
}

TEST_F(SoundTest, SavedStateIsTheRecordsAndBringsMusicBackWhereItWasFadingIn) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 0, "bgm\\music.ogg"), "");
  sound_.SetSoundVolume(SoundFamily::kStream, 0, 200, 0);
  sound_.PlaySound(SoundFamily::kStream, 0, true);
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kEffect, 1, "se\\tone.ogg"), "");
  sound_.SetSoundVolume(SoundFamily::kEffect, 1, 90, 0);
  sound_.PlaySound(SoundFamily::kEffect, 1, true);
  sound_.PlayDecoded(2, sound_.Decode(test::MakeOgg({.seconds = 0.5})), 255);
  Render(1500);
  const int32_t savedAt = sound_.PositionMs(0);

  base::ByteWriter out;
  sound_.SaveState(out);
  const base::Bytes& bytes = out.Data();
  ASSERT_EQ(bytes.size(), 15 * EffectRecord::kSize + 8 * StreamRecord::kSize);
  EXPECT_EQ(bytes[142 + 128], 90);
  EXPECT_EQ(bytes[142 + 132], 3);
  EXPECT_EQ(std::count(bytes.begin() + 284, bytes.begin() + 426, 0), 142);  // built from memory
  EXPECT_EQ(State(SoundFamily::kEffect, 2), SoundService::kNoFile);
  const size_t stream0 = 15 * EffectRecord::kSize;
  EXPECT_EQ(bytes[stream0 + 128], 200);
  EXPECT_EQ(bytes[stream0 + 144], 3);

  base::SimulatedClock laterClock;
  TSound later(laterClock, kStreamLength);
  base::ByteReader in(bytes);
  later.RestoreState(in);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(later.SoundState(SoundFamily::kStream, 0), SoundService::kPlayingLooped);
  EXPECT_EQ(later.SoundVolume(SoundFamily::kStream, 0), 200);
  EXPECT_EQ(later.SoundState(SoundFamily::kEffect, 1), SoundService::kPlayingLooped);
  std::vector<int16_t> heard(44100 * 3 * 2);
  for (size_t at = 0; at < heard.size(); at += 882) {
    laterClock.Advance(10);
    later.Device().Render(std::span(heard).subspan(at, 882));
  }
  EXPECT_NEAR(later.PositionMs(0), savedAt + 3000 - kHalfBufferMs, 20);
  const double early = test::ToneAmplitude(heard, 0, 1000, 8192, 8192 + 4410);
  const double settled = test::ToneAmplitude(heard, 0, 1000, 44100 * 5 / 2, 44100 * 3);
  EXPECT_LT(early, settled / 4);
}

// Saved music whose file has gone comes back as an empty channel, so a save
// made then restores to the same.
TEST_F(SoundTest, SavedMusicWhoseFileIsGoneRestoresToAnEmptyChannel) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 3, "bgm\\music.ogg"), "");
  sound_.PlaySound(SoundFamily::kStream, 3, true);
  base::ByteWriter out;
  sound_.SaveState(out);
  base::Bytes saved = out.Take();
  const size_t name = 15 * EffectRecord::kSize + 3 * StreamRecord::kSize + 1;
  saved[name] = 'X';  // "Xgm\music.ogg": no such file
  base::ByteReader in(saved);
  sound_.RestoreState(in);
  EXPECT_EQ(State(SoundFamily::kStream, 3), SoundService::kNoFile);
  base::ByteWriter once;
  sound_.SaveState(once);
  base::ByteReader again(once.Data());
  sound_.RestoreState(again);
  base::ByteWriter twice;
  sound_.SaveState(twice);
  EXPECT_EQ(twice.Data(), once.Data());
  EXPECT_EQ(once.Data()[name - 1], 0);  // no name kept
}

TEST_F(SoundTest, ACutSavedStateIsRefusedBeforeAnythingChanges) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 0, "bgm\\music.ogg"), "");
  base::ByteWriter out;
  sound_.SaveState(out);
  base::Bytes cut = out.Take();
  cut.pop_back();
  base::ByteReader in(cut);
  EXPECT_THROW(sound_.RestoreState(in), base::FormatError);
  EXPECT_EQ(State(SoundFamily::kStream, 0), SoundService::kStopped);
}

TEST_F(SoundTest, ASwapBeyondTheLastChannelSwapsWithTheLast) {
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 0, "bgm\\music.ogg"), "");
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kEffect, 2, "se\\tone.ogg"), "");
  sound_.PlaySound(SoundFamily::kEffect, 2, true);
  sound_.SwapSounds(SoundFamily::kStream, 0, 9);
  sound_.SwapSounds(SoundFamily::kEffect, 2, 20);
  EXPECT_EQ(State(SoundFamily::kStream, 0), SoundService::kNoFile);
  EXPECT_EQ(State(SoundFamily::kStream, 7), SoundService::kStopped);
  EXPECT_NE(sound_.SoundFile(SoundFamily::kStream, 7).find("music.ogg"), std::string::npos);
  EXPECT_EQ(State(SoundFamily::kEffect, 2), SoundService::kNoFile);
  EXPECT_EQ(State(SoundFamily::kEffect, 14), SoundService::kPlayingLooped);
}

TEST_F(SoundTest, AMarkedVoicePlaysAtItsSpeakersVolumeAndFadesWithTheMessage) {
  VoiceSettings voices;
  voices.volumes.fill(255);
  voices.volumes[3] = 128;
  voices.speakers.Speakers[3] = {"Alice"};
  sound_.SetVoiceSettings(voices);
  sound_.MarkVoice("voice\\v1.ogg", "Alice", true);
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 1, "voice\\v1.ogg"), "");
  sound_.SetSoundClass(1, 1);
  sound_.PlaySound(SoundFamily::kStream, 1, false);
  EXPECT_TRUE(sound_.VoicePlaying());
  EXPECT_NEAR(test::Decibels(Amplitude(Render(600), 11025, 22050), 0.5 * 32767), -6.0, 0.3);
  sound_.FadeOutSpeakerVoices("Bob", 500);
  sound_.FadeOutSpeakerVoices("Alice", 500);
  Render(1000);
  sound_.UpdateSounds();
  EXPECT_EQ(State(SoundFamily::kStream, 1), SoundService::kStopped);
  EXPECT_FALSE(sound_.VoicePlaying());
}

TEST_F(SoundTest, AStreamThatFailsWhilePlayingIsReportedAndCleared) {
  base::ClearErrors();
  ASSERT_EQ(sound_.LoadSound(SoundFamily::kStream, 4, "bgm\\chained.ogg"), "");
  sound_.PlaySound(SoundFamily::kStream, 4, true);
  Render(1000);
  sound_.UpdateSounds();
  EXPECT_EQ(State(SoundFamily::kStream, 4), SoundService::kNoFile);
  ASSERT_EQ(base::TheErrorLog().Errors().size(), 1u);
  EXPECT_NE(base::TheErrorLog().Errors()[0].find("chained.ogg"), std::string::npos);
  EXPECT_NE(sound_.LoadSound(SoundFamily::kStream, 4, "bgm\\none.ogg"), "");
  EXPECT_EQ(sound_.SoundFile(SoundFamily::kStream, 4), "bgm\\none.ogg");
}

}  // namespace
}  // namespace mavu::shell

namespace mavu::shell {
namespace {

// The output pulls on its own thread while the main thread drives every
// channel: nothing may deadlock, tear or crash (run under ThreadSanitizer too).
TEST_F(SoundTest, TheOutputThreadAndTheCommandsShareTheChannelsSafely) {
  base::SteadyClock clock;  // read by both threads, as in a window
  TSound sound(clock, kStreamLength);
  std::atomic<bool> running = true;
  std::atomic<int32_t> loudest = 0;
  std::thread output([&] {
    std::vector<int16_t> chunk(1024 * 2);
    while (running) {
      sound.Device().Render(chunk);
      loudest = std::max<int32_t>(loudest, test::Peak(chunk, 0, 1024));
    }
  });
  for (int round = 0; round < 40; ++round) {
    const int32_t channel = round % TSSound::kChannels;
    sound.LoadSound(SoundFamily::kStream, channel,
                    round % 3 == 0 ? "voice\\v1.ogg" : "bgm\\music.ogg");
    sound.PlaySound(SoundFamily::kStream, channel, true);
    sound.EqualizeSound(channel, std::vector<int32_t>{255, 128, 64, 255}, 50);
    sound.SetSoundVolume(SoundFamily::kStream, channel, 200, 30);
    sound.LoadSound(SoundFamily::kEffect, round % 4, "se\\tone.ogg");
    sound.PlaySound(SoundFamily::kEffect, round % 4, true);
    sound.SwapSounds(SoundFamily::kStream, channel, channel + 3);
    sound.SwapSounds(SoundFamily::kEffect, round % 4, 14 - round % 4);
    sound.SeekSound(channel, 700);
    base::ByteWriter saved;
    sound.SaveState(saved);
    if (round % 10 == 9) {
      base::ByteReader in(saved.Data());
      sound.RestoreState(in);
    }
    sound.FreeSound(SoundFamily::kStream, (channel + 5) % TSSound::kChannels);
    sound.UpdateSounds();
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  running = false;
  output.join();
  EXPECT_GT(loudest.load(), 10000);
}

}  // namespace
}  // namespace mavu::shell
