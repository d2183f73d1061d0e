#include "shell/sound/volume_ramp.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mavu::shell {

namespace {

constexpr int64_t kMaxLevel = 2 * VolumeRamp::kUnit;
constexpr int64_t kSilentLevel = VolumeRamp::kUnit / 100;
// current / kGainDivisor is the level in 256ths.
constexpr int64_t kGainDivisor = 2822400;
constexpr int32_t kUnityGain = 65536;
constexpr int32_t kClampedPeak = 32766;
constexpr double kFramesPerSecond = 44100;
constexpr double kInstantSeconds = 0.01;

}  // namespace

void VolumeRamp::FadeTo(int32_t volume, int32_t ms) {
  const double level = std::clamp(volume / 255.0, 0.0, 2.0);
  target_ = std::min(static_cast<int64_t>(level * static_cast<double>(kUnit)), kMaxLevel);
  const double seconds = ms / 1000.0;
  if (seconds < kInstantSeconds) {
    current_ = target_;
    step_ = 0;
    return;
  }
  step_ = std::llround(static_cast<double>(target_ - current_) / (seconds * kFramesPerSecond));
  if (step_ == 0) current_ = target_;
}

bool VolumeRamp::Silent() const {
  return current_ < kSilentLevel && target_ < kSilentLevel;
}

int32_t VolumeRamp::TargetVolume() const {
  return static_cast<int32_t>(std::lround(static_cast<double>(target_) * 255.0 / kUnit));
}

int32_t VolumeRamp::CurrentVolume() const {
  return static_cast<int32_t>(std::lround(static_cast<double>(current_) * 255.0 / kUnit));
}

void VolumeRamp::StepOneFrame() {
  if (current_ == target_) return;
  if (std::llabs(target_ - current_) <= std::llabs(step_)) {
    current_ = target_;
  } else {
    current_ += step_;
  }
}

// The gain keeps the integer steps of the arithmetic the sound was mixed
// with: a class level of 255 at level 1.0 gives 254/256, not unity.
void VolumeRamp::Apply(std::span<int16_t> frames, int32_t ownGain, int32_t classLevel) {
  const int32_t classGain = std::clamp(ownGain, 0, 255) * std::clamp(classLevel, 0, 255) / 256;
  for (size_t i = 0; i + 1 < frames.size(); i += 2) {
    StepOneFrame();
    const int32_t gain = classGain * static_cast<int32_t>(current_ / kGainDivisor);
    const int32_t factor = gain / 256;
    for (size_t side = 0; side < 2; ++side) {
      int32_t s = factor * frames[i + side] / 256;
      if (gain >= kUnityGain) s = std::clamp(s, -kClampedPeak, kClampedPeak);
      frames[i + side] = static_cast<int16_t>(s);
    }
  }
}

}  // namespace mavu::shell
