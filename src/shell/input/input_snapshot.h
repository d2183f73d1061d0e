#pragma once

#include <array>
#include <cstdint>

#include "shell/input/virtual_keys.h"

namespace mavu::shell {

enum class MouseButton : uint8_t { kLeft, kRight, kMiddle };
inline constexpr int kMouseButtons = 3;

// Bits of InputSnapshot::modifiers.
inline constexpr uint8_t kModifierShift = 1;
inline constexpr uint8_t kModifierAlt = 2;
inline constexpr uint8_t kModifierCtrl = 4;
inline constexpr uint8_t kModifierLeftHeld = 8;
inline constexpr uint8_t kModifierRightHeld = 16;
inline constexpr uint8_t kModifierMiddleHeld = 32;

// One mouse button as one poll saw it.
struct ButtonState {
  bool held = false;
  bool pressed = false;   // went down since the previous poll
  bool released = false;  // went up since the previous poll
  bool repeat = false;    // pressed, or held longer than the repeat delay
  bool click = false;     // released near its press, with no other press in between
};

// The mouse and keyboard of one poll: what the key table and the system
// object read. Pressed, released, click and the wheel last one poll.
struct InputSnapshot {
  static constexpr int kKeys = kVirtualKeyCount;

  std::array<ButtonState, kMouseButtons> buttons{};
  int32_t wheel = 0;      // positive: moved forward
  uint8_t modifiers = 0;  // kModifier... bits
  std::array<bool, kKeys> keyDown{};
  std::array<bool, kKeys> keyPressed{};  // went down since the previous poll
  std::array<bool, kKeys> keyRepeat{};   // pressed, or held longer than the repeat delay

  const ButtonState& Button(MouseButton button) const { return buttons[static_cast<int>(button)]; }
  ButtonState& Button(MouseButton button) { return buttons[static_cast<int>(button)]; }
};

}  // namespace mavu::shell
