#pragma once

#include <cstdint>
#include <string_view>

#include "base/clock.h"
#include "imaging/argb8888.h"
#include "imaging/argb8888_font.h"
#include "shell/display/display.h"

namespace mavu::shell {

// The start-up picture with its progress bar, drawn in a 640 x 480 window
// while the engine comes up: "system\startup\WakeUp.png" from the game's
// data, or mid-grey when the game has none (or it does not load), with the
// step's text and percentage in a black strip at the bottom.
class StartupSplash {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kStripTop = 456;
  static constexpr uint32_t kNoPicture = 0xFF888888;
  static constexpr uint32_t kStepPauseMs = 100;
  static constexpr uint32_t kCompletePauseMs = 500;

  // Shows the window at the splash size.
  StartupSplash(Display& display, base::Clock& clock);

  // Draws the step and pauses, so a player can read it.
  void Step(std::string_view text, int percent);
  // "System Initialize Complete !" at 100 %, twice, and a longer pause.
  void Complete();

 private:
  void LoadPicture();

  Display& display_;
  base::Clock& clock_;
  imaging::TARGB8888 picture_;
  imaging::TARGB8888 canvas_;
  imaging::TARGB8888Font font_;
};

}  // namespace mavu::shell
