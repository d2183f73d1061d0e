#pragma once

#include <SDL.h>

#include "shell/input/input.h"

namespace mavu::shell {

// One notch of a mouse wheel, in the units key tables and scripts count.
inline constexpr int32_t kWheelNotch = 120;

// Hands SDL's mouse, keyboard and focus events to the input state; other
// events pass. Pointer positions arrive in frame coordinates already (the
// renderer's logical size maps them), so a scaled or letterboxed window
// needs nothing more here.
void FeedInputEvent(const SDL_Event& event, TInput& input);

}  // namespace mavu::shell
