#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "shell/app/headless_input.h"
#include "shell/input/key_table.h"

namespace mavu::shell {

// What the interpreter reads of the input in one frame.
struct FrameInput {
  int32_t pointerX = 0;
  int32_t pointerY = 0;
  std::string action;  // empty: no action
};

// Plays an input file into the frames of a headless run. Pointer positions
// are kept inside the screen. Keys stay down from "key" to "keyup"; a key
// pressed and let go within one frame still counts as pressed in it. A click
// and an "action" line name their action directly (a click is a click at its
// position); the other events go through the game's key table. When one
// frame holds several of them, the last direct action wins over the key table.
class HeadlessInputPlayer {
 public:
  static constexpr uint64_t kRepeatDelayMs = 1000;
  static constexpr int32_t kCtrlKey = 0x11;
  static constexpr int32_t kAltKey = 0x12;
  static constexpr int32_t kLeftCtrlKey = 0xA2;
  static constexpr int32_t kRightCtrlKey = 0xA3;
  static constexpr int32_t kLeftAltKey = 0xA4;
  static constexpr int32_t kRightAltKey = 0xA5;

  HeadlessInputPlayer(HeadlessInputScript script, KeyTable keys, int32_t screenWidth,
                      int32_t screenHeight);

  // The input of `frame` (1-based) at simulated time `nowMs`.
  FrameInput Play(int64_t frame, uint64_t nowMs);
  int64_t LastFrame() const { return script_.LastFrame(); }

 private:
  void Apply(const InputEvent& event, uint64_t nowMs, InputSnapshot& snapshot,
             std::string& directAction);
  void MovePointer(int32_t x, int32_t y);
  bool Down(int32_t key) const { return down_[key]; }

  HeadlessInputScript script_;
  KeyTable keys_;
  int32_t width_;
  int32_t height_;
  int32_t pointerX_ = 0;
  int32_t pointerY_ = 0;
  std::array<bool, InputSnapshot::kKeys> down_{};
  std::array<uint64_t, InputSnapshot::kKeys> holdStart_{};
};

}  // namespace mavu::shell
