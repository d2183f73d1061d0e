#include "stereo_track.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mavu::demo {

StereoTrack::StereoTrack(int32_t rate, double seconds)
    : rate_(rate), left_(static_cast<size_t>(std::lround(seconds * rate))), right_(left_.size()) {}

void StereoTrack::Mix(std::span<const float> mono, double seconds, float gain, float pan) {
  const double angle = (pan + 1) * std::numbers::pi / 4;
  const auto toLeft = static_cast<float>(gain * std::cos(angle));
  const auto toRight = static_cast<float>(gain * std::sin(angle));
  const int64_t first = std::lround(seconds * rate_);
  for (size_t i = 0; i < mono.size(); ++i) {
    const int64_t at = first + static_cast<int64_t>(i);
    if (at < 0) continue;
    if (at >= static_cast<int64_t>(Frames())) break;
    left_[static_cast<size_t>(at)] += toLeft * mono[i];
    right_[static_cast<size_t>(at)] += toRight * mono[i];
  }
}

float StereoTrack::Peak() const {
  float peak = 0;
  for (const std::vector<float>* side : {&left_, &right_}) {
    for (float s : *side) peak = std::max(peak, std::abs(s));
  }
  return peak;
}

void StereoTrack::Normalize(float peak) {
  const float now = Peak();
  if (now == 0) return;
  for (std::vector<float>* side : {&left_, &right_}) {
    for (float& s : *side) s *= peak / now;
  }
}

}  // namespace mavu::demo
