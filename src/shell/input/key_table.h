#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "resource/game_settings.h"
#include "shell/input/input_snapshot.h"

namespace mavu::shell {

// The game's 32 key bindings: each names the system action that a key, a key
// with Ctrl or Alt, a click, the wheel or a held button triggers. When several
// bindings match, the last one wins, so a game lists plain keys before their
// combinations.
class KeyTable {
 public:
  using Bindings = std::array<resource::KeyBinding, resource::kKeyBindingCount>;

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

  KeyTable() = default;
  explicit KeyTable(const Bindings& bindings) : bindings_(bindings) {}

  // The action of the last binding whose input is present, lower case; empty
  // when none is, or when the last one names no system action.
  std::string MappedAction(const InputSnapshot& input) const;

  // Whether the input that `code` names is present.
  static bool Matches(int32_t code, const InputSnapshot& input);

 private:
  Bindings bindings_;
};

}  // namespace mavu::shell
