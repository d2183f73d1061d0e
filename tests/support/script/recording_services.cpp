#include "support/script/recording_services.h"

namespace mavu::script {

int32_t RecordingServices::ChannelState(int32_t channel) const {
  auto it = channelStates.find(channel);
  return it == channelStates.end() ? kStopped : it->second;
}

int32_t RecordingServices::PositionMs(int32_t channel) const {
  auto it = positions.find(channel);
  return it == positions.end() ? 0 : it->second;
}

void RecordingServices::ResetSounds() {
  channelStates.clear();
  positions.clear();
  voicePlaying = false;
  ++soundResets;
}

bool RecordingServices::InMovieRect(int32_t x, int32_t y) const {
  return x >= movieLeft && x < movieRight && y >= movieTop && y < movieBottom;
}

}  // namespace mavu::script
