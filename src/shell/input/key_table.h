#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "resource/game_settings.h"

namespace mavu::shell {

// The input of one frame as the key table looks at it.
struct InputSnapshot {
  // Virtual keys 0-175 are read; codes above match nothing.
  static constexpr int kKeys = 176;
  enum Button { kLeft = 0, kRight = 1, kMiddle = 2, kButtons = 3 };

  std::array<bool, kButtons> clicked{};
  // Held longer than the repeat delay (the first frame of a press excluded).
  std::array<bool, kButtons> repeating{};
  int32_t wheel = 0;                       // positive: moved forward
  std::array<bool, kKeys> keyPressed{};    // went down this frame
  std::array<bool, kKeys> keyRepeating{};  // held longer than the repeat delay
  bool ctrl = false;
  bool alt = false;
};

// The game's 32 key bindings: each names the system action that a key, a key
// with Ctrl or Alt, a click, the wheel or a held button triggers. When several
// bindings match, the last one wins, so a game lists plain keys before their
// combinations.
class KeyTable {
 public:
  // Code forms: negative codes for the mouse, else the high part selects the
  // condition and the low byte names the key.
  static constexpr int32_t kLeftClick = -1;
  static constexpr int32_t kRightClick = -2;
  static constexpr int32_t kMiddleClick = -3;
  static constexpr int32_t kWheelForward = -6;
  static constexpr int32_t kWheelBackward = -7;
  static constexpr int32_t kLeftRepeat = -8;
  static constexpr int32_t kRightRepeat = -9;
  static constexpr int32_t kMiddleRepeat = -10;
  static constexpr int32_t kPressed = 0x000;
  static constexpr int32_t kCtrlPressed = 0x100;
  static constexpr int32_t kAltPressed = 0x200;
  static constexpr int32_t kKeyRepeat = 0xF00;

  explicit KeyTable(const std::array<resource::KeyBinding, resource::kKeyBindingCount>& bindings)
      : bindings_(bindings) {}

  // The action name of the last binding whose input is present; empty for none.
  std::string MappedAction(const InputSnapshot& input) const;

  // Whether the input that `code` names is present.
  static bool Matches(int32_t code, const InputSnapshot& input);

 private:
  std::array<resource::KeyBinding, resource::kKeyBindingCount> bindings_;
};

}  // namespace mavu::shell
