#include "shell/input/key_table.h"

#include "script/interpreter/system_vocabulary.h"

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
      return pressed && (input.modifiers & kModifierCtrl);
    case KeyTable::kAltPressed:
      return pressed && (input.modifiers & kModifierAlt);
    case KeyTable::kKeyRepeat:
      return input.keyRepeat[key] && !pressed;
    default:
      return false;
  }
}

// Held past the repeat delay: the poll of the press itself does not count.
bool Repeating(const ButtonState& button) {
  return button.repeat && !button.pressed;
}

}  // namespace

bool KeyTable::Matches(int32_t code, const InputSnapshot& input) {
  switch (code) {
    case 0:
      return false;
    case kLeftClick:
      return input.Button(MouseButton::kLeft).click;
    case kRightClick:
      return input.Button(MouseButton::kRight).click;
    case kMiddleClick:
      return input.Button(MouseButton::kMiddle).click;
    case kWheelForward:
      return input.wheel > 0;
    case kWheelBackward:
      return input.wheel < 0;
    case kLeftRepeat:
      return Repeating(input.Button(MouseButton::kLeft));
    case kRightRepeat:
      return Repeating(input.Button(MouseButton::kRight));
    case kMiddleRepeat:
      return Repeating(input.Button(MouseButton::kMiddle));
    default:
      return code > 0 && KeyMatches(code, input);
  }
}

// A later match replaces an earlier one even when it names no action, so an
// unknown name at the end hides a real action before it.
std::string KeyTable::MappedAction(const InputSnapshot& input) const {
  const resource::KeyBinding* last = nullptr;
  for (const resource::KeyBinding& binding : bindings_) {
    if (!binding.Name.empty() && Matches(binding.Code, input)) last = &binding;
  }
  if (last == nullptr || script::ActionFromName(last->Name) == script::SystemAction::kNone) {
    return {};
  }
  return last->Name;
}

}  // namespace mavu::shell
