#include "shell/platform/sdl/sdl_pads.h"

#include <algorithm>

namespace mavu::shell {
namespace {

// Button n of the pad settings is entry n - 1.
constexpr SDL_GameControllerButton kButtons[] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,
    SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};
constexpr SDL_GameControllerAxis kTriggers[] = {SDL_CONTROLLER_AXIS_TRIGGERLEFT,
                                                SDL_CONTROLLER_AXIS_TRIGGERRIGHT};
static_assert(std::size(kButtons) + std::size(kTriggers) == PadConfig::kButtons);

}  // namespace

SdlPads::SdlPads(PadToPointer& pointer)
    : pointer_(pointer), started_(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
  if (!started_) return;
  for (int i = 0; i < SDL_NumJoysticks(); ++i) Open(i);
}

SdlPads::~SdlPads() {
  for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlPads::HandleEvent(const SDL_Event& event) {
  if (event.type == SDL_CONTROLLERDEVICEADDED) Open(event.cdevice.which);     // a device index
  if (event.type == SDL_CONTROLLERDEVICEREMOVED) Close(event.cdevice.which);  // an instance id
}

void SdlPads::Poll(uint64_t nowMs) {
  if (lastPoll_ && nowMs - *lastPoll_ < PadToPointer::kPollIntervalMs) return;
  lastPoll_ = nowMs;
  if (started_) SDL_GameControllerUpdate();
  PadState merged;
  for (size_t i = 0; i < pads_.size() && i < kPads; ++i) {
    merged = PadState::Merge(merged, Read(pads_[i]));
  }
  pointer_.Step(merged, nowMs);
}

PadState SdlPads::Read(SDL_GameController* pad) {
  PadState state;
  state.x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  state.y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
  size_t n = 0;
  for (SDL_GameControllerButton button : kButtons) {
    state.buttons[n++] = SDL_GameControllerGetButton(pad, button) != 0;
  }
  for (SDL_GameControllerAxis trigger : kTriggers) {
    state.buttons[n++] = SDL_GameControllerGetAxis(pad, trigger) >= kTriggerPressed;
  }
  return state;
}

// The added event of a controller that was opened at start comes too.
void SdlPads::Open(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (std::any_of(pads_.begin(), pads_.end(), [id](auto* pad) { return IdOf(pad) == id; })) {
    return;
  }
  if (SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex)) pads_.push_back(pad);
}

void SdlPads::Close(SDL_JoystickID id) {
  const auto it =
      std::find_if(pads_.begin(), pads_.end(), [id](auto* pad) { return IdOf(pad) == id; });
  if (it == pads_.end()) return;
  SDL_GameControllerClose(*it);
  pads_.erase(it);
}

SDL_JoystickID SdlPads::IdOf(SDL_GameController* pad) {
  return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
}

}  // namespace mavu::shell
