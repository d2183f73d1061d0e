#pragma once

#include <cstdint>
#include <string_view>

#include "imaging/argb8888.h"
#include "imaging/display_surface.h"

namespace mavu::shell {

// The player's screen settings as the display applies them.
struct ScreenMode {
  // Game screens larger than this are shown at this size.
  static constexpr int32_t kMaxWidth = 1024;
  static constexpr int32_t kMaxHeight = 768;

  int32_t width = 800;
  int32_t height = 600;
  bool fullScreen = false;
  // A 32-bit back buffer; otherwise 16-bit 5-6-5, which keeps the banding
  // of a high-colour display.
  bool fullColour = true;

  // Sizes outside 1..kMax are taken as kMax.
  ScreenMode Limited() const;
  bool operator==(const ScreenMode&) const = default;
};

// Where frames are shown: a window, or its stand-in in a headless run. The
// compositor's presenters write into it as a surface; the system object
// flushes each frame to the screen and asks the window the rest.
class Display : public imaging::DisplaySurface {
 public:
  virtual bool ApplyScreenMode(const ScreenMode& mode) = 0;
  virtual const ScreenMode& CurrentMode() const = 0;
  // Shows what the presenters wrote since the last flush.
  virtual void Flush() = 0;
  virtual void SetCaption(std::string_view utf8) = 0;
  virtual void SetIcon(const imaging::TARGB8888& picture) = 0;
  // Whether the window has the player's attention (the input focus).
  virtual bool Active() const = 0;
  // True once after the window system lost what the window showed: the next
  // present must be a full one.
  virtual bool TakeContentsLost() = 0;

  void ToggleScreenMode() {
    ScreenMode mode = CurrentMode();
    mode.fullScreen = !mode.fullScreen;
    ApplyScreenMode(mode);
  }
};

}  // namespace mavu::shell
