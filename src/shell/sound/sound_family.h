#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "shell/sound/sound_records.h"

namespace mavu::shell {

// The volume classes of a family: 0 music, 1 voice, 2 effects, the rest free
// for scripts; 255 each until the player's settings arrive.
class ClassLevels {
 public:
  ClassLevels() { levels_.fill(255); }
  void Set(int32_t soundClass, int32_t level) {
    if (soundClass >= 0 && soundClass < 256) levels_[static_cast<size_t>(soundClass)] = level;
  }
  // Classes outside the table play at full level.
  int32_t Level(int32_t soundClass) const {
    return soundClass >= 0 && soundClass < 256 ? levels_[static_cast<size_t>(soundClass)] : 255;
  }

 private:
  std::array<int32_t, 256> levels_;
};

// What a channel was last told to load, play and sound like. Commands always
// note it; while a no-load scene skip is shown they only note it, and the end
// of the skip replays the channels whose note changed.
struct DeferredSlot {
  std::string file;
  int32_t soundClass = 0;
  int32_t parameter = 0;
  PlayState state = PlayState::kNoFile;
  int32_t volume = 255;
  bool touched = false;
};

inline bool IsPlaying(PlayState state) {
  return state == PlayState::kPlayingOnce || state == PlayState::kPlayingLooped;
}

}  // namespace mavu::shell
