#pragma once

#include <bitset>
#include <cstdint>
#include <optional>

#include "shell/input/input.h"
#include "shell/input/pad_config.h"

namespace mavu::shell {

// The game pads at one poll, the first two merged: the stick of larger
// deflection on each axis and the buttons of both.
struct PadState {
  static constexpr int32_t kAxisMin = -32768;
  static constexpr int32_t kAxisMax = 32767;

  int32_t x = 0;                             // positive: right
  int32_t y = 0;                             // positive: down
  std::bitset<PadConfig::kButtons> buttons;  // button n at bit n - 1

  static PadState Merge(const PadState& a, const PadState& b);
};

// Turns game pads into mouse and keyboard input: the stick moves the pointer
// and each pad button does what its code in the pad configuration says. It
// drives the game's own input path, the event methods of `TInput`, so pads
// and mouse mix freely. The platform back end reads the pads every
// kPollIntervalMs or so and calls Step.
class PadToPointer {
 public:
  static constexpr uint64_t kPollIntervalMs = 15;
  static constexpr uint64_t kMaxStepMs = 1000;

  PadToPointer(TInput& input, const PadConfig& config) : input_(input), config_(config) {}

  // A new configuration, as the pad window writes it.
  void SetConfig(const PadConfig& config) { config_ = config; }

  // One pass at `nowMs`: the pointer moves by the time since the previous
  // pass (none on the first, at most kMaxStepMs), and the buttons that went
  // down or up since then send their events.
  void Step(const PadState& pads, uint64_t nowMs);

  // The axis value with the dead zone (percent) cut out of its middle and the
  // rest stretched back over the whole range.
  static int32_t ApplyDeadZone(int32_t value, int32_t percent);
  // Pixels per second for an axis value at `speed` (pixels per second at full
  // deflection), rounded to the nearest, halves to even.
  static int32_t AxisSpeed(int32_t value, int32_t speed);

 private:
  // Whole pixels for `pixelsPerSecond` over `ms`; the fraction carries over to
  // the next pass, so a slightly tilted stick still creeps.
  int32_t Travel(int32_t pixelsPerSecond, uint64_t ms, int64_t& carry) const;
  void MovePointer(const PadState& pads, uint64_t ms);
  void Press(int32_t code);
  void Release(int32_t code);

  TInput& input_;
  PadConfig config_;
  std::optional<uint64_t> lastStep_;
  std::bitset<PadConfig::kButtons> previous_;
  int64_t carryX_ = 0;  // thousandths of a pixel
  int64_t carryY_ = 0;
};

}  // namespace mavu::shell
