#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shell/display/display.h"

namespace mavu::shell {

// The game window: frames go into a buffer in the window's pixel format (32
// bits, or 16-bit 5-6-5 in high-colour mode), changed rectangles are uploaded
// to a streaming texture, and each flush draws the texture scaled to the
// window with the aspect kept (black bars), so the player may enlarge the
// window or go full screen (the desktop's own mode; nothing is switched).
// Pointer events from SDL arrive in frame coordinates.
class SdlDisplay final : public Display {
 public:
  static constexpr int kStartWidth = 640;
  static constexpr int kStartHeight = 480;

  // Throws std::runtime_error with SDL's message when no window can be made.
  SdlDisplay();
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  bool ApplyScreenMode(const ScreenMode& mode) override;
  const ScreenMode& CurrentMode() const override { return mode_; }
  void Flush() override;
  void SetCaption(std::string_view utf8) override;
  void SetIcon(const imaging::TARGB8888& picture) override;
  bool Active() const override;
  bool TakeContentsLost() override;

  bool Lock(imaging::PixelSurface& memory) override;
  void Unlock() override {}
  void ShowBackBuffer() override;
  void CopyToWindow(const imaging::TARGB8888& picture, const imaging::RectI& rect) override;

  // Window and renderer events the event loop hands over.
  void HandleEvent(const SDL_Event& event);
  SDL_Window* Window() const { return window_; }
  SDL_Renderer* Renderer() const { return renderer_; }
  // Draws the current frame without flushing it (dialogs draw over it).
  void DrawFrame();

 private:
  void CreateTexture();
  void Upload(const imaging::RectI& rect);
  imaging::PixelSurface FrameSurface();
  int BytesPerPixel() const { return mode_.fullColour ? 4 : 2; }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  ScreenMode mode_{kStartWidth, kStartHeight, false, true};
  std::vector<uint8_t> frame_;
  bool dirty_ = true;
  bool contentsLost_ = false;
};

}  // namespace mavu::shell
