#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "shell/input/pad_to_pointer.h"

namespace mavu::shell {

// Game pads through SDL's game-controller API: controllers come and go while
// the game runs, and the first two attached drive the pointer through
// `PadToPointer`. SDL numbers the buttons of every controller alike; the pad
// settings' Button1 ... Button16 are A, B, X, Y, left and right shoulder,
// Back, Start, left and right stick press, d-pad up, down, left and right,
// and the left and right triggers pressed past half-way. The left stick moves
// the pointer.
//
// Runs on the main thread: the platform loop passes SDL's events and calls
// Poll every pass.
class SdlPads {
 public:
  static constexpr int kPads = 2;
  static constexpr int32_t kTriggerPressed = 16384;

  // Starts SDL's game-controller subsystem and opens the controllers already
  // attached. Without the subsystem there are no pads, and nothing else fails.
  explicit SdlPads(PadToPointer& pointer);
  ~SdlPads();
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;

  bool Started() const { return started_; }
  int Count() const { return static_cast<int>(pads_.size()); }

  // Opens an added controller and closes a removed one; other events pass.
  void HandleEvent(const SDL_Event& event);
  // Reads the first two controllers and steps the pointer, at most once per
  // PadToPointer::kPollIntervalMs. A pad taken away lets go of its buttons.
  void Poll(uint64_t nowMs);

  // One controller's stick and buttons as the pad settings number them.
  static PadState Read(SDL_GameController* pad);

 private:
  void Open(int deviceIndex);
  void Close(SDL_JoystickID id);
  static SDL_JoystickID IdOf(SDL_GameController* pad);

  PadToPointer& pointer_;
  bool started_;
  std::vector<SDL_GameController*> pads_;  // in the order they came
  std::optional<uint64_t> lastPoll_;
};

}  // namespace mavu::shell
