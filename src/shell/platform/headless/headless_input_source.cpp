#include "shell/platform/headless/headless_input_source.h"

namespace mavu::shell {
namespace {

void Click(TInput& input, MouseButton button, int32_t x, int32_t y) {
  input.MouseDown(button, x, y);
  input.MouseUp(button, x, y);
}

void Apply(const InputEvent& event, TInput& input) {
  switch (event.type) {
    case InputEvent::Type::kClick:
      Click(input, MouseButton::kLeft, event.x, event.y);
      input.InjectAction(HeadlessInputSource::kClickAction);
      return;
    case InputEvent::Type::kRightClick:
      Click(input, MouseButton::kRight, event.x, event.y);
      return;
    case InputEvent::Type::kMove:
      input.MouseMove(event.x, event.y);
      return;
    case InputEvent::Type::kWheel:
      input.MouseWheel(event.value);
      return;
    case InputEvent::Type::kKey:
      input.KeyDown(static_cast<uint8_t>(event.value));
      return;
    case InputEvent::Type::kKeyUp:
      input.KeyUp(static_cast<uint8_t>(event.value));
      return;
    case InputEvent::Type::kAction:
      input.InjectAction(event.action);
      return;
    default:  // lines for the dialogs, not input
      return;
  }
}

}  // namespace

void HeadlessInputSource::Feed(int64_t frame, TInput& input) const {
  for (const InputEvent& event : script_.EventsOf(frame)) Apply(event, input);
}

}  // namespace mavu::shell
