#pragma once

#include <cstdint>

#include "base/sound_player.h"

namespace mavu::imaging {

class TARGB8888CellDraw;
class TKelLogData;

// What every layer shares with the stage it stands on: the compositor it
// posts to, the sound its motions play, the channel counts its channel
// numbers must lie within, the player's message settings, the backlog the
// message windows write to, and the deferral switch under which loads,
// motions and showing are only recorded (to be carried out together later).
struct LayerContext {
  static constexpr int32_t kDefaultChannels = 8;

  TARGB8888CellDraw& compositor;
  base::SoundPlayer* sound = nullptr;
  int32_t soundChannels = kDefaultChannels;
  int32_t directChannels = kDefaultChannels;
  int32_t messageOpacity = 255;  // "MessageAlpha"
  int32_t messageSpeed = 50;     // "MessageSpeed": ms per character
  int32_t autoPlayWaitTime = 0;  // "AutoPlayWaitTime"
  TKelLogData* backlog = nullptr;
  // What windows that count auto-mode time added since it was last taken.
  int64_t autoWaitGained = 0;
  bool deferring = false;
};

// Lifts the deferral for a scope, for loads that must happen at once: a
// saved layer restored, a screen transition started.
class DeferralPause {
 public:
  explicit DeferralPause(LayerContext& context) : context_(context), was_(context.deferring) {
    context_.deferring = false;
  }
  ~DeferralPause() { context_.deferring = was_; }
  DeferralPause(const DeferralPause&) = delete;
  DeferralPause& operator=(const DeferralPause&) = delete;

 private:
  LayerContext& context_;
  bool was_;
};

}  // namespace mavu::imaging
