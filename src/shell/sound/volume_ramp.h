#pragma once

#include <cstdint>
#include <span>

namespace mavu::shell {

// A stream channel's loudness: a level of 0..2 held in fixed point (level ×
// 44100 × 16384) that moves toward its target by a step per output frame, and
// the integer gain arithmetic that applies it with the class level.
class VolumeRamp {
 public:
  static constexpr int64_t kUnit = int64_t{44100} * 16384;  // level 1.0
  static constexpr int32_t kFullVolume = 255;

  // Fades to volume / 255 (limited to 0..2) over `ms`; under 10 ms at once.
  void FadeTo(int32_t volume, int32_t ms);
  void SetNow(int32_t volume) { FadeTo(volume, 0); }

  // Both the level and where it is going are below 1 %: the channel is silent.
  bool Silent() const;
  // The target as a volume of 0..510, rounded.
  int32_t TargetVolume() const;
  // The level now on a 0..255 scale.
  int32_t CurrentVolume() const;

  // Scales interleaved stereo frames in place, moving the ramp one step per
  // frame. Both gains are 0..255: the channel's own (the speaker's voice
  // volume for voices, else 255) and its class level.
  void Apply(std::span<int16_t> frames, int32_t ownGain, int32_t classLevel);

 private:
  void StepOneFrame();

  int64_t current_ = kUnit;
  int64_t target_ = kUnit;
  int64_t step_ = 0;
};

}  // namespace mavu::shell
