#include "script/headless_services.h"

namespace mavu::script {

int32_t THeadlessServices::ChannelState(int32_t channel) const {
  auto it = channelStates.find(channel);
  return it == channelStates.end() ? kStopped : it->second;
}

int32_t THeadlessServices::PositionMs(int32_t channel) const {
  auto it = positions.find(channel);
  return it == positions.end() ? 0 : it->second;
}

void THeadlessServices::ResetSounds() {
  channelStates.clear();
  positions.clear();
  voicePlaying = false;
  ++soundResets;
}

bool THeadlessServices::HasWaitMotion(std::string_view name) const {
  return waitMotions.find(name) != waitMotions.end();
}

bool THeadlessServices::InMovieRect(int32_t x, int32_t y) const {
  return x >= movieLeft && x < movieRight && y >= movieTop && y < movieBottom;
}

}  // namespace mavu::script
