#pragma once

#include <cstdint>

#include "script/interpreter/interpreter_services.h"

namespace mavu::shell {

// Sound channels that stay silent and a movie player that never plays: what
// a headless run has, and what a window has until its sound device and movie
// decoder are attached.
class SilentMedia : public script::SoundService, public script::MoviePlayer {
 public:
  static constexpr int32_t kChannels = 8;

  // SoundService: every channel is stopped.
  int32_t ChannelCount() const override { return kChannels; }
  int32_t DirectChannelCount() const override { return kChannels; }
  int32_t ChannelState(int32_t) const override { return kStopped; }
  int32_t PositionMs(int32_t) const override { return 0; }
  bool VoicePlaying() const override { return false; }
  void FadeOut(int32_t, int32_t) override {}
  void ResetSounds() override {}

  // MoviePlayer: no movie ever plays.
  int32_t MovieState() const override { return 0; }
  int32_t MoviePlayedMs() const override { return 0; }
  bool InMovieRect(int32_t, int32_t) const override { return false; }
  void StopMovie() override {}
  void DrawMovie() override {}
  void ResetMovie() override {}
};

}  // namespace mavu::shell
