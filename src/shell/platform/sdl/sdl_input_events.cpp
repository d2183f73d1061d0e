#include "shell/platform/sdl/sdl_input_events.h"

#include <optional>

#include "shell/platform/sdl/sdl_keys.h"

namespace mavu::shell {
namespace {

std::optional<MouseButton> ButtonOf(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return MouseButton::kLeft;
    case SDL_BUTTON_RIGHT:
      return MouseButton::kRight;
    case SDL_BUTTON_MIDDLE:
      return MouseButton::kMiddle;
    default:
      return std::nullopt;
  }
}

void FeedButton(const SDL_MouseButtonEvent& event, TInput& input) {
  const std::optional<MouseButton> button = ButtonOf(event.button);
  if (!button) return;
  if (event.type == SDL_MOUSEBUTTONDOWN) {
    input.MouseDown(*button, event.x, event.y);
  } else {
    input.MouseUp(*button, event.x, event.y);
  }
}

void FeedWheel(const SDL_MouseWheelEvent& event, TInput& input) {
  const int32_t notches = event.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.y : event.y;
  if (notches != 0) input.MouseWheel(notches * kWheelNotch);
}

void FeedKey(const SDL_KeyboardEvent& event, TInput& input) {
  const uint8_t vk = VirtualKeyOf(event.keysym);
  if (vk == 0) return;
  if (event.type == SDL_KEYDOWN) {
    input.KeyDown(vk);
  } else {
    input.KeyUp(vk);
  }
}

void FeedWindow(const SDL_WindowEvent& event, TInput& input) {
  if (event.event == SDL_WINDOWEVENT_FOCUS_GAINED) input.SetWindowActive(true);
  if (event.event == SDL_WINDOWEVENT_FOCUS_LOST) input.SetWindowActive(false);
}

}  // namespace

void FeedInputEvent(const SDL_Event& event, TInput& input) {
  switch (event.type) {
    case SDL_MOUSEMOTION:
      return input.MouseMove(event.motion.x, event.motion.y);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return FeedButton(event.button, input);
    case SDL_MOUSEWHEEL:
      return FeedWheel(event.wheel, input);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return FeedKey(event.key, input);
    case SDL_WINDOWEVENT:
      return FeedWindow(event.window, input);
    default:
      return;
  }
}

}  // namespace mavu::shell
