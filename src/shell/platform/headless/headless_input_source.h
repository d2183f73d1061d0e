#pragma once

#include <cstdint>

#include "shell/app/headless_input.h"
#include "shell/input/input.h"

namespace mavu::shell {

// Plays a headless run's input file into the input state, one frame at a
// time, as a window would report the same events: "click" and "rclick" move
// the pointer and press and release the left or right button there, "move"
// moves, "wheel" turns the wheel, "key" and "keyup" press and release a
// virtual key, and "action" names an action for the frame. A "click" also
// names the action "click", so a click acts as one even in a game whose key
// table binds no mouse button. The input state keeps the pointer inside the
// screen. Feed a frame's events before the poll of that frame.
class HeadlessInputSource {
 public:
  static constexpr std::string_view kClickAction = "click";

  explicit HeadlessInputSource(HeadlessInputScript script) : script_(std::move(script)) {}

  // The events of `frame` (1 is the first), in file order.
  void Feed(int64_t frame, TInput& input) const;
  // The frame of the last event; 0 without events.
  int64_t LastFrame() const { return script_.LastFrame(); }

 private:
  HeadlessInputScript script_;
};

}  // namespace mavu::shell
