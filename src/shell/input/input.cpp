#include "shell/input/input.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "base/cp932.h"

namespace mavu::shell {
namespace {

// A generic modifier key and its left and right keys.
struct ModifierFamily {
  uint8_t either;
  uint8_t left;
  uint8_t right;
  uint8_t bit;
};

constexpr ModifierFamily kModifierFamilies[] = {
    {kVkShift, kVkLeftShift, kVkRightShift, kModifierShift},
    {kVkControl, kVkLeftControl, kVkRightControl, kModifierCtrl},
    {kVkAlt, kVkLeftAlt, kVkRightAlt, kModifierAlt},
};

constexpr uint8_t kHeldBits[kMouseButtons] = {kModifierLeftHeld, kModifierRightHeld,
                                              kModifierMiddleHeld};

bool Repeats(uint64_t holdStart, uint64_t now, bool pressed) {
  return pressed || holdStart + TInput::kRepeatDelayMs < now;
}

}  // namespace

TInput::TInput(base::Clock& clock, KeyTable keys, int32_t frameWidth, int32_t frameHeight)
    : clock_(clock), lastPoll_(clock.NowMs()) {
  Configure(std::move(keys), frameWidth, frameHeight);
}

void TInput::Configure(KeyTable keys, int32_t frameWidth, int32_t frameHeight) {
  keys_ = std::move(keys);
  width_ = std::max(frameWidth, 1);
  height_ = std::max(frameHeight, 1);
  x_ = std::min(x_, width_ - 1);
  y_ = std::min(y_, height_ - 1);
}

void TInput::MouseMove(int32_t x, int32_t y) {
  if (!active_) return;
  x = std::clamp(x, 0, width_ - 1);
  y = std::clamp(y, 0, height_ - 1);
  if (x == x_ && y == y_) return;
  x_ = x;
  y_ = y;
  idleMs_ = 0;
  cursorHidden_ = false;
}

void TInput::MouseDown(MouseButton button, int32_t x, int32_t y) {
  if (!active_) return;
  MouseMove(x, y);
  PendingButton& pending = Pending(button);
  if (pending.down) return;
  pending.down = true;
  pending.pressEdge = true;
  pressX_ = x_;
  pressY_ = y_;
  ++pressCount_;
}

void TInput::MouseUp(MouseButton, int32_t x, int32_t y) {
  if (!active_) return;
  MouseMove(x, y);
  const bool anyDown =
      std::any_of(buttons_.begin(), buttons_.end(), [](const PendingButton& b) { return b.down; });
  if (!anyDown) return;
  const bool click = pressCount_ == 1 && std::abs(pressX_ - x_) < kClickTolerance &&
                     std::abs(pressY_ - y_) < kClickTolerance;
  for (PendingButton& pending : buttons_) {
    if (!pending.down) continue;
    pending.down = false;
    pending.releaseEdge = true;
    pending.click = pending.click || click;
  }
  pressCount_ = 0;
}

void TInput::MouseWheel(int32_t delta) {
  if (active_) wheelPending_ = delta;
}

void TInput::KeyDown(uint8_t vk) {
  if (!active_ || vk >= kVirtualKeyCount) return;
  if (!keyDown_[vk]) keyPressEdge_[vk] = true;
  keyDown_[vk] = true;
}

void TInput::KeyUp(uint8_t vk) {
  if (active_ && vk < kVirtualKeyCount) keyDown_[vk] = false;
}

void TInput::InjectAction(std::string_view name) {
  if (active_) injected_ = base::LowerName(name);
}

void TInput::SetWindowActive(bool active) {
  if (active_ && !active) LetGoOfEverything();
  active_ = active;
}

void TInput::LetGoOfEverything() {
  buttons_ = {};
  pressCount_ = 0;
  wheelPending_ = 0;
  keyDown_ = {};
  keyPressEdge_ = {};
  injected_.clear();
}

void TInput::Poll() {
  const uint64_t now = clock_.NowMs();
  const uint64_t elapsed = now - lastPoll_;
  lastPoll_ = now;
  if (!active_) {
    state_ = {};
    action_.clear();
    return;
  }
  PollButtons(now);
  state_.wheel = std::exchange(wheelPending_, 0);
  PollCursor(elapsed);
  PollKeys(now);
  state_.modifiers = CurrentModifiers();
  action_ = injected_.empty() ? keys_.MappedAction(state_) : std::exchange(injected_, {});
}

bool TInput::AnyClick() const {
  return std::any_of(state_.buttons.begin(), state_.buttons.end(),
                     [](const ButtonState& b) { return b.click; });
}

void TInput::PollButtons(uint64_t now) {
  for (int b = 0; b < kMouseButtons; ++b) {
    PendingButton& pending = buttons_[b];
    ButtonState& state = state_.buttons[b];
    const bool wasHeld = state.held;
    state.held = pending.down;
    state.pressed = std::exchange(pending.pressEdge, false);
    state.released = std::exchange(pending.releaseEdge, false);
    state.click = std::exchange(pending.click, false);
    if (state.pressed || !(wasHeld && state.held)) buttonHoldStart_[b] = now;
    state.repeat = Repeats(buttonHoldStart_[b], now, state.pressed);
  }
}

// A key tapped since the previous poll counts as down in this one. The
// generic Shift, Ctrl and Alt keys are down while either of their sides is.
void TInput::PollKeys(uint64_t now) {
  std::array<bool, kVirtualKeyCount> down;
  for (int k = 0; k < kVirtualKeyCount; ++k) down[k] = keyDown_[k] || keyPressEdge_[k];
  for (const ModifierFamily& family : kModifierFamilies) {
    down[family.either] = down[family.either] || down[family.left] || down[family.right];
    keyPressEdge_[family.either] =
        keyPressEdge_[family.either] || (down[family.either] && !state_.keyDown[family.either]);
  }
  for (int k = 0; k < kVirtualKeyCount; ++k) {
    const bool wasDown = state_.keyDown[k];
    const bool pressed = std::exchange(keyPressEdge_[k], false);
    if (pressed || !(wasDown && down[k])) keyHoldStart_[k] = now;
    state_.keyDown[k] = down[k];
    state_.keyPressed[k] = pressed;
    state_.keyRepeat[k] = Repeats(keyHoldStart_[k], now, pressed);
  }
}

void TInput::PollCursor(uint64_t elapsedMs) {
  if (cursorHideDelay_ < 1) {
    cursorHidden_ = false;
    return;
  }
  const auto step = static_cast<int32_t>(std::min<uint64_t>(elapsedMs, cursorHideDelay_));
  idleMs_ = std::min(idleMs_ + step, cursorHideDelay_);
  cursorHidden_ = idleMs_ >= cursorHideDelay_;
}

uint8_t TInput::CurrentModifiers() const {
  uint8_t modifiers = 0;
  for (const ModifierFamily& family : kModifierFamilies) {
    if (state_.keyDown[family.either]) modifiers |= family.bit;
  }
  for (int b = 0; b < kMouseButtons; ++b) {
    if (state_.buttons[b].held) modifiers |= kHeldBits[b];
  }
  return modifiers;
}

void TInput::SetCursorHideDelay(int32_t ms) {
  cursorHideDelay_ = std::max(ms, 0);
  idleMs_ = std::min(idleMs_, cursorHideDelay_);
  if (cursorHideDelay_ == 0) cursorHidden_ = false;
}

}  // namespace mavu::shell
