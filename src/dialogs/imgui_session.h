#pragma once

#include <SDL.h>

#include <functional>
#include <string_view>
#include <vector>

#include "dialogs/dialog_font.h"
#include "dialogs/renderer_state.h"

struct ImGuiContext;

namespace mavu::dialogs {

// What a modal run shows and how it reacts.
class ModalContent {
 public:
  virtual ~ModalContent() = default;

  // Every event that arrives while it is shown, after ImGui has seen it.
  virtual void HandleEvent(const SDL_Event& event) = 0;
  // This frame's windows, between ImGui::NewFrame and ImGui::Render.
  virtual void Build() = 0;
  virtual bool Done() const = 0;
};

// An ImGui context on the game's window and renderer, for modal windows
// drawn over the frozen game picture. While one is shown, its own loop waits
// for events (no busy loop), draws the frozen picture through the engine's
// callback, dims it and draws the content on top; the engine's renderer
// settings, cursor and window events are its own again afterwards.
class ImGuiSession {
 public:
  // Draws the frozen game picture with the renderer as the engine left it.
  using FrameDrawer = std::function<void()>;

  ImGuiSession(SDL_Window* window, SDL_Renderer* renderer, FrameDrawer drawFrozenFrame);
  ~ImGuiSession();
  ImGuiSession(const ImGuiSession&) = delete;
  ImGuiSession& operator=(const ImGuiSession&) = delete;

  // Shows `content` until it is done; false when the window was closed first
  // (the close box, or a quit request). `texts` holds every character the
  // content shows, as UTF-8, so that the font can hold them.
  bool RunModal(ModalContent& content, std::string_view texts);

 private:
  void DrawFrame(ModalContent& content, const RendererState& engine);
  // Passes on the events that arrive within one frame's wait; false when
  // the window is to close. Events the engine must still see afterwards
  // (window and device changes) are kept in `forEngine`.
  bool PumpEvents(ModalContent& content, std::vector<SDL_Event>& forEngine);
  bool ClosesWindow(const SDL_Event& event) const;

  SDL_Window* window_;
  SDL_Renderer* renderer_;
  FrameDrawer drawFrozenFrame_;
  ImGuiContext* context_;
  DialogFont font_;
};

}  // namespace mavu::dialogs
