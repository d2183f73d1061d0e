#pragma once

#include <cstdint>
#include <map>
#include <set>
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

  // SoundService
  int32_t ChannelCount() const override { return channels; }
  int32_t DirectChannelCount() const override { return directChannels; }
  int32_t ChannelState(int32_t channel) const override;
  int32_t PositionMs(int32_t channel) const override;
  bool VoicePlaying() const override { return voicePlaying; }
  void FadeOut(int32_t channel, int32_t ms) override { fades.push_back({channel, ms}); }
  void ResetSounds() override;

  // MoviePlayer
  int32_t MovieState() const override { return movieState; }
  int32_t MoviePlayedMs() const override { return moviePlayedMs; }
  bool InMovieRect(int32_t x, int32_t y) const override;
  void StopMovie() override { movieState = 0; }
  void DrawMovie() override { ++movieDraws; }
  void ResetMovie() override { movieState = 0; }

  // InterpreterNotices
  void ShowWarning(const std::string& text) override { warnings.push_back(text); }
  void ShowKeyedNotice(std::string_view textKey, std::string_view) override {
    notices.emplace_back(textKey);
  }

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
