#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "script/interpreter/interpreter_services.h"
#include "shell/input/input_snapshot.h"
#include "shell/input/key_table.h"
#include "shell/system/system_input.h"

namespace mavu::shell {

// The mouse and the keyboard as the game sees them. A platform back end (or
// the headless input file) reports events through the event methods as they
// come; `Poll`, once per frame, turns what came since the previous poll into
// the frame's state, which stays until the next poll.
//
// Edges are latched: a button pressed and released between two polls is
// pressed, released and (near its press) clicked in the next poll, and a key
// pressed and released between two polls is down and pressed in it, so quick
// taps are never lost.
//
// Used on the main thread only.
class TInput : public script::InputState, public SystemInput {
 public:
  static constexpr int32_t kClickTolerance = 16;  // pixels, exclusive, on each axis
  static constexpr uint64_t kRepeatDelayMs = 1000;

  // The pointer stays inside the frame of the given size.
  TInput(base::Clock& clock, KeyTable keys, int32_t frameWidth, int32_t frameHeight);

  // The game's key table and frame, once its settings are read.
  void Configure(KeyTable keys, int32_t frameWidth, int32_t frameHeight);

  // --- Events, in the order they happen; ignored while the window is inactive.

  // Frame coordinates; moving the pointer shows the cursor.
  void MouseMove(int32_t x, int32_t y);
  // The pointer moves to (x, y) first. A press counts towards the click
  // bookkeeping: a release is a click only when exactly one press came since
  // the previous release and the pointer is within the tolerance of it.
  void MouseDown(MouseButton button, int32_t x, int32_t y);
  // Any button's release lets go of all three, as on the platform the games
  // were written for.
  void MouseUp(MouseButton button, int32_t x, int32_t y);
  // Positive = forward. The last event before a poll gives that poll's wheel.
  void MouseWheel(int32_t delta);
  // Virtual keys (virtual_keys.h); codes from kVirtualKeyCount on are ignored.
  // A key down while the key is down already (auto-repeat) is no new press.
  void KeyDown(uint8_t vk);
  void KeyUp(uint8_t vk);
  // An action named directly (letter case ignored) for the next poll only; it
  // takes the place of the key table's action there.
  void InjectAction(std::string_view name);
  // While the window is inactive, events are ignored and polls give a quiet
  // state: nothing held, pressed or clicked, and no action. Deactivating lets
  // go of every button and key, whose releases would go to another window.
  void SetWindowActive(bool active);

  // --- The frame.

  // Takes the events since the previous poll at the clock's time. Also
  // advances the cursor's idle time by the time since the previous poll.
  void Poll() override;

  const InputSnapshot& State() const { return state_; }
  bool Clicked(MouseButton button) const { return state_.Button(button).click; }
  // A left, right or middle click in this poll.
  bool AnyClick() const override;
  int32_t Wheel() const { return state_.wheel; }
  uint8_t Modifiers() const { return state_.modifiers; }
  // The action of this poll, lower case: the injected one, else the key
  // table's; empty for none.
  const std::string& MappedKeyAction() const { return action_; }

  // --- The cursor: hidden once the pointer has not moved for the hide delay.

  bool CursorHidden() const { return cursorHidden_; }
  // 0 (or less) never hides and shows the cursor at once.
  void SetCursorHideDelay(int32_t ms) override;

  // --- script::InputState
  int32_t PointerX() const override { return x_; }
  int32_t PointerY() const override { return y_; }
  std::string ActiveAction() const override { return action_; }

 private:
  struct PendingButton {
    bool down = false;
    bool pressEdge = false;
    bool releaseEdge = false;
    bool click = false;
  };

  void PollButtons(uint64_t now);
  void PollKeys(uint64_t now);
  void PollCursor(uint64_t elapsedMs);
  uint8_t CurrentModifiers() const;
  void LetGoOfEverything();
  PendingButton& Pending(MouseButton button) { return buttons_[static_cast<int>(button)]; }

  base::Clock& clock_;
  KeyTable keys_;
  int32_t width_ = 1;
  int32_t height_ = 1;
  bool active_ = true;

  int32_t x_ = 0;
  int32_t y_ = 0;
  std::array<PendingButton, kMouseButtons> buttons_{};
  std::array<uint64_t, kMouseButtons> buttonHoldStart_{};
  int32_t pressX_ = 0;
  int32_t pressY_ = 0;
  int32_t pressCount_ = 0;  // presses since the last release
  int32_t wheelPending_ = 0;
  std::array<bool, kVirtualKeyCount> keyDown_{};
  std::array<bool, kVirtualKeyCount> keyPressEdge_{};
  std::array<uint64_t, kVirtualKeyCount> keyHoldStart_{};
  std::string injected_;

  uint64_t lastPoll_;
  int32_t cursorHideDelay_ = kCursorHideMs;
  int32_t idleMs_ = 0;
  bool cursorHidden_ = false;

  InputSnapshot state_;
  std::string action_;
};

}  // namespace mavu::shell
