#include "shell/input/key_table.h"

namespace mavu::shell {
namespace {

constexpr int32_t kKeyMask = 0xFF;

bool KeyMatches(int32_t code, const TInputSnapshot& input) {
  const int32_t key = code & kKeyMask;
  if (key >= TInputSnapshot::kKeys) return false;
  const bool pressed = input.keyPressed[key];
  switch (code & ~kKeyMask) {
    case TKeyTable::kPressed:
      return pressed;
    case TKeyTable::kCtrlPressed:
      return pressed && input.ctrl;
    case TKeyTable::kAltPressed:
      return pressed && input.alt;
    case TKeyTable::kKeyRepeat:
      return input.keyRepeating[key] && !pressed;
    default:
      return false;
  }
}

}  // namespace

bool TKeyTable::Matches(int32_t code, const TInputSnapshot& input) {
  switch (code) {
    case 0:
      return false;
    case kLeftClick:
      return input.clicked[TInputSnapshot::kLeft];
    case kRightClick:
      return input.clicked[TInputSnapshot::kRight];
    case kMiddleClick:
      return input.clicked[TInputSnapshot::kMiddle];
    case kWheelForward:
      return input.wheel > 0;
    case kWheelBackward:
      return input.wheel < 0;
    case kLeftRepeat:
      return input.repeating[TInputSnapshot::kLeft];
    case kRightRepeat:
      return input.repeating[TInputSnapshot::kRight];
    case kMiddleRepeat:
      return input.repeating[TInputSnapshot::kMiddle];
    default:
      return code > 0 && KeyMatches(code, input);
  }
}

std::string TKeyTable::MappedAction(const TInputSnapshot& input) const {
  std::string action;
  for (const resource::TKeyBinding& binding : bindings_) {
    if (!binding.Name.empty() && Matches(binding.Code, input)) action = binding.Name;
  }
  return action;
}

}  // namespace mavu::shell
