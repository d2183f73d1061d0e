#pragma once

#include <SDL.h>

#include <optional>

namespace mavu::dialogs {

// What drawing on an SDL renderer may change of the engine's settings: the
// target, the draw colour and blend mode, and for the window (and for the
// target texture, when there is one) the logical size, scale, viewport and
// clip rectangle. Captured before a dialog draws and put back after it.
class RendererState {
 public:
  static RendererState Capture(SDL_Renderer* renderer);
  void Restore(SDL_Renderer* renderer) const;

 private:
  // The part of the state SDL keeps once for the window and once for a target.
  struct View {
    SDL_bool integerScale = SDL_FALSE;
    int logicalWidth = 0;
    int logicalHeight = 0;
    float scaleX = 1;
    float scaleY = 1;
    SDL_Rect viewport{};
    bool clipped = false;
    SDL_Rect clip{};
  };

  static View CaptureView(SDL_Renderer* renderer);
  // Sets only what differs, since SDL reports viewport and clip in logical
  // units rounded down, and setting them again could move them by a pixel.
  static void ApplyView(SDL_Renderer* renderer, const View& view);

  SDL_Texture* target_ = nullptr;
  View window_;
  std::optional<View> targetView_;
  SDL_Color colour_{};
  SDL_BlendMode blendMode_ = SDL_BLENDMODE_NONE;
};

// Draws to the window in plain window pixels: no target, logical size, scale or clip.
void ResetRendererView(SDL_Renderer* renderer);

}  // namespace mavu::dialogs
