#pragma once

#include <cstddef>
#include <optional>

#include "base/dialog_presenter.h"
#include "dialogs/imgui_session.h"

namespace mavu::dialogs {

// Shows the standard dialogs inside the game window with Dear ImGui, over the
// frozen and dimmed game picture (see DialogWindow for the look and the keys).
// Made once on the engine's window and renderer (SDL's video started; both
// outlive it), with the engine's function that draws the frozen game picture;
// the Japanese font is loaded when the first dialog opens.
class ImGuiDialogs : public base::DialogPresenter {
 public:
  ImGuiDialogs(SDL_Window* window, SDL_Renderer* renderer,
               ImGuiSession::FrameDrawer drawFrozenFrame)
      : session_(window, renderer, std::move(drawFrozenFrame)) {}

  std::optional<size_t> ShowModal(const base::DialogDescription& dialog) override;

 private:
  ImGuiSession session_;
};

}  // namespace mavu::dialogs
