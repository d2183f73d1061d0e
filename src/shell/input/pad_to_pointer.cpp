#include "shell/input/pad_to_pointer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mavu::shell {
namespace {

constexpr int64_t kMsPerSecond = 1000;
constexpr int32_t kFullDeflection = 32768;
constexpr int32_t kPercent = 100;

std::optional<MouseButton> MouseButtonOf(int32_t code) {
  switch (code) {
    case PadConfig::kLeftButton:
      return MouseButton::kLeft;
    case PadConfig::kRightButton:
      return MouseButton::kRight;
    case PadConfig::kMiddleButton:
      return MouseButton::kMiddle;
    default:
      return std::nullopt;
  }
}

// The modifier keys a positive code holds, in the order they go down and up.
constexpr struct {
  int32_t bit;
  uint8_t vk;
} kModifierKeys[] = {
    {PadConfig::kCtrlBit, kVkControl},
    {PadConfig::kAltBit, kVkAlt},
    {PadConfig::kShiftBit, kVkShift},
};

int32_t StrongerAxis(int32_t a, int32_t b) {
  return std::abs(b) > std::abs(a) ? b : a;
}

}  // namespace

PadState PadState::Merge(const PadState& a, const PadState& b) {
  return {StrongerAxis(a.x, b.x), StrongerAxis(a.y, b.y), a.buttons | b.buttons};
}

int32_t PadToPointer::ApplyDeadZone(int32_t value, int32_t percent) {
  if (percent >= kPercent) return 0;
  if (percent <= 0) return value;
  const int64_t low = int64_t{PadState::kAxisMin} * percent / kPercent;
  const int64_t high = int64_t{PadState::kAxisMax} * percent / kPercent;
  if (value >= low && value <= high) return 0;
  const int64_t edge = value < 0 ? low : high;
  return static_cast<int32_t>((value - edge) * kPercent / (kPercent - percent));
}

int32_t PadToPointer::AxisSpeed(int32_t value, int32_t speed) {
  return static_cast<int32_t>(std::nearbyint(double(value) * speed / kFullDeflection));
}

void PadToPointer::Step(const PadState& pads, uint64_t nowMs) {
  const uint64_t elapsed =
      lastStep_ && nowMs > *lastStep_ ? std::min(nowMs - *lastStep_, kMaxStepMs) : 0;
  lastStep_ = nowMs;
  MovePointer(pads, elapsed);
  for (int n = 0; n < PadConfig::kButtons; ++n) {
    if (pads.buttons[n] == previous_[n]) continue;
    if (pads.buttons[n]) {
      Press(config_.Buttons[n]);
    } else {
      Release(config_.Buttons[n]);
    }
  }
  previous_ = pads.buttons;
}

void PadToPointer::MovePointer(const PadState& pads, uint64_t ms) {
  const int32_t x = ApplyDeadZone(pads.x, config_.DeadZone);
  const int32_t y = ApplyDeadZone(pads.y, config_.DeadZone);
  // A stick at rest drops the fraction, so the pointer never drifts.
  if (x == 0) carryX_ = 0;
  if (y == 0) carryY_ = 0;
  const int32_t dx = Travel(AxisSpeed(x, config_.Speed), ms, carryX_);
  const int32_t dy = Travel(AxisSpeed(y, config_.Speed), ms, carryY_);
  if (dx != 0 || dy != 0) input_.MouseMove(input_.PointerX() + dx, input_.PointerY() + dy);
}

int32_t PadToPointer::Travel(int32_t pixelsPerSecond, uint64_t ms, int64_t& carry) const {
  carry += int64_t{pixelsPerSecond} * static_cast<int64_t>(ms);
  const int64_t pixels = carry / kMsPerSecond;
  carry -= pixels * kMsPerSecond;
  return static_cast<int32_t>(pixels);
}

void PadToPointer::Press(int32_t code) {
  if (const auto button = MouseButtonOf(code)) {
    input_.MouseDown(*button, input_.PointerX(), input_.PointerY());
  } else if (code == PadConfig::kWheelForward) {
    input_.MouseWheel(1);
  } else if (code == PadConfig::kWheelBackward) {
    input_.MouseWheel(-1);
  } else if (code > 0) {
    for (const auto& modifier : kModifierKeys) {
      if (code & modifier.bit) input_.KeyDown(modifier.vk);
    }
    input_.KeyDown(static_cast<uint8_t>(code & PadConfig::kKeyMask));
  }
}

void PadToPointer::Release(int32_t code) {
  if (const auto button = MouseButtonOf(code)) {
    input_.MouseUp(*button, input_.PointerX(), input_.PointerY());
  } else if (code > 0) {
    for (const auto& modifier : kModifierKeys) {
      if (code & modifier.bit) input_.KeyUp(modifier.vk);
    }
    input_.KeyUp(static_cast<uint8_t>(code & PadConfig::kKeyMask));
  }
}

}  // namespace mavu::shell
