#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "script/interpreter/interpreter_services.h"

namespace mavu::script {

// The interpreter's services without a window, sound device or movie decoder:
// plain state that a headless run or a test sets, and a record of what the
// interpreter asked for. Time is simulated.
class RecordingServices : public InputState,
                          public SoundService,
                          public MoviePlayer,
                          public InterpreterNotices {
 public:
  static constexpr int32_t kDefaultChannels = 8;

  InterpreterServices Services() { return {*this, *this, *this, *this, clock}; }

  // InputState
  int32_t PointerX() const override { return pointerX; }
  int32_t PointerY() const override { return pointerY; }
  std::string ActiveAction() const override { return action; }

  // SoundService: stream states and positions as the test sets them; every
  // command is noted as "family verb channel args" in soundCalls.
  int32_t ChannelCount() const override { return channels; }
  int32_t DirectChannelCount() const override { return directChannels; }
  std::string LoadSound(SoundFamily family, int32_t channel, std::string_view file) override;
  void FreeSound(SoundFamily family, int32_t channel) override { Note(family, "i", channel); }
  void PlaySound(SoundFamily family, int32_t channel, bool loop) override {
    Note(family, "p", channel, {loop ? 1 : 0});
  }
  void StopSound(SoundFamily family, int32_t channel) override { Note(family, "s", channel); }
  void SetSoundVolume(SoundFamily family, int32_t channel, int32_t volume, int32_t ms) override {
    Note(family, "v", channel, {volume, ms});
  }
  int32_t SoundVolume(SoundFamily, int32_t) const override { return soundVolume; }
  int32_t SoundState(SoundFamily family, int32_t channel) const override;
  std::string SoundFile(SoundFamily, int32_t) const override { return soundFile; }
  void SetSoundClass(int32_t channel, int32_t soundClass) override {
    Note(SoundFamily::kStream, "t", channel, {soundClass});
  }
  void SeekSound(int32_t channel, int32_t ms) override {
    Note(SoundFamily::kStream, "sk", channel, {ms});
  }
  void SkipSilence(int32_t channel, int32_t threshold) override {
    Note(SoundFamily::kStream, "sv", channel, {threshold});
  }
  void EqualizeSound(int32_t channel, std::span<const int32_t> bands, int32_t ms) override;
  void SwapSounds(SoundFamily family, int32_t channel, int32_t other) override {
    Note(family, "sw", channel, {other});
  }
  void SetEffectLevels(int32_t level) override { Note(SoundFamily::kEffect, "mv", 0, {level}); }
  void MarkVoice(std::string_view file, std::string_view speaker, bool stop) override {
    soundCalls.push_back("voice " + std::string(file) + " " + std::string(speaker) +
                         (stop ? " 1" : " 0"));
  }
  int32_t PositionMs(int32_t channel) const override;
  bool VoicePlaying() const override { return voicePlaying; }
  void FadeOut(int32_t channel, int32_t ms) override { fades.push_back({channel, ms}); }
  void UpdateSounds() override {}
  void BeginDeferral() override { soundCalls.push_back("defer"); }
  void EndDeferral() override { soundCalls.push_back("replay"); }
  void ResetSounds() override;
  // The stream channels' states, one int32 each.
  size_t StateBytes() const override { return static_cast<size_t>(channels) * 4; }
  void SaveState(base::ByteWriter& out) override;
  void RestoreState(base::ByteReader& in) override;

  // MoviePlayer
  int32_t MovieState() const override { return movieState; }
  int32_t MoviePlayedMs() const override { return moviePlayedMs; }
  bool InMovieRect(int32_t x, int32_t y) const override;
  void StopMovie() override { movieState = 0; }
  void DrawMovie() override { ++movieDraws; }
  void ResetMovie() override { movieState = 0; }
  void SaveMovie(base::ByteWriter& out) const override;
  void RestoreMovie(base::ByteReader& in) override;

  // InterpreterNotices
  void ShowWarning(const std::string& text) override { warnings.push_back(text); }
  void ShowKeyedNotice(std::string_view textKey, std::string_view) override {
    notices.emplace_back(textKey);
  }

  void Note(SoundFamily family, std::string_view verb, int32_t channel,
            std::initializer_list<int32_t> values = {});

  struct Fade {
    int32_t channel;
    int32_t ms;
  };

  base::SimulatedClock clock;
  // Input.
  int32_t pointerX = 0;
  int32_t pointerY = 0;
  std::string action;
  // Sound.
  int32_t channels = kDefaultChannels;
  int32_t directChannels = kDefaultChannels;
  std::map<int32_t, int32_t> channelStates;
  std::map<int32_t, int32_t> positions;
  bool voicePlaying = false;
  std::vector<Fade> fades;
  int soundResets = 0;
  std::vector<std::string> soundCalls;
  std::string loadError;  // what every load answers
  int32_t soundVolume = 0;
  std::string soundFile;
  // Movie.
  int32_t movieState = 0;
  int32_t moviePlayedMs = 0;
  int32_t movieLeft = 0;
  int32_t movieTop = 0;
  int32_t movieRight = 0;
  int32_t movieBottom = 0;
  int movieDraws = 0;
  // Notices.
  std::vector<std::string> warnings;
  std::vector<std::string> notices;
};

}  // namespace mavu::script
