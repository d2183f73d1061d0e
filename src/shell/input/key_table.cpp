#include "shell/input/key_table.h"

namespace mavu::shell {
namespace {

constexpr int32_t kKeyMask = 0xFF;

bool KeyMatches(int32_t code, const InputSnapshot& input) {
  const int32_t key = code & kKeyMask;
  if (key >= InputSnapshot::kKeys) return false;
  const bool pressed = input.keyPressed[key];
  switch (code & ~kKeyMask) {
    case KeyTable::kPressed:
      return pressed;
    case KeyTable::kCtrlPressed:
      return pressed && input.ctrl;
    case KeyTable::kAltPressed:
      return pressed && input.alt;
    case KeyTable::kKeyRepeat:
      return input.keyRepeating[key] && !pressed;
    default:
      return false;
  }
}

}  // namespace

bool KeyTable::Matches(int32_t code, const InputSnapshot& input) {
  switch (code) {
    case 0:
      return false;
    case kLeftClick:
      return input.clicked[InputSnapshot::kLeft];
    case kRightClick:
      return input.clicked[InputSnapshot::kRight];
    case kMiddleClick:
      return input.clicked[InputSnapshot::kMiddle];
    case kWheelForward:
      return input.wheel > 0;
    case kWheelBackward:
      return input.wheel < 0;
    case kLeftRepeat:
      return input.repeating[InputSnapshot::kLeft];
    case kRightRepeat:
      return input.repeating[InputSnapshot::kRight];
    case kMiddleRepeat:
      return input.repeating[InputSnapshot::kMiddle];
    default:
      return code > 0 && KeyMatches(code, input);
  }
}

std::string KeyTable::MappedAction(const InputSnapshot& input) const {
  std::string action;
  for (const resource::KeyBinding& binding : bindings_) {
    if (!binding.Name.empty() && Matches(binding.Code, input)) action = binding.Name;
  }
  return action;
}

}  // namespace mavu::shell
