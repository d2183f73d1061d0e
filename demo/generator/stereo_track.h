#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace mavu::demo {

// Sound being made: one float buffer per side at one rate, full scale ±1.
class StereoTrack {
 public:
  StereoTrack(int32_t rate, double seconds);

  int32_t Rate() const { return rate_; }
  size_t Frames() const { return left_.size(); }
  std::span<float> Left() { return left_; }
  std::span<float> Right() { return right_; }
  std::span<const float> Left() const { return left_; }
  std::span<const float> Right() const { return right_; }

  // Adds a mono sound from `seconds` on, `pan` from -1 (left) to 1 (right)
  // at equal power; what falls outside the track is left out.
  void Mix(std::span<const float> mono, double seconds, float gain, float pan);
  // Scales the track so that its largest sample is `peak`.
  void Normalize(float peak);
  float Peak() const;

 private:
  int32_t rate_;
  std::vector<float> left_;
  std::vector<float> right_;
};

}  // namespace mavu::demo
