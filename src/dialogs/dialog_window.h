#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/dialog_presenter.h"
#include "dialogs/imgui_session.h"

namespace mavu::dialogs {

// One standard dialog as an ImGui window, centred: the caption as its title,
// the text left-aligned and vertically centred in a 409 x 65 area (it grows
// for longer texts), the buttons in a row below. One button has the focus and
// wears a frame. Keys: arrows and Tab (Shift+Tab back) move the focus, Enter
// or Space choose the focused button, Escape closes the dialog. A game
// controller's D-pad, A and B do the same. The mouse chooses any button; the
// close box closes.
//
// The keys are read from SDL's events rather than through ImGui's keyboard
// navigation: ImGui 1.86 neither tabs between buttons nor presses them with
// Enter, and it reads the keys once a frame, missing presses shorter than that.
class DialogWindow : public ModalContent {
 public:
  explicit DialogWindow(const base::DialogDescription& dialog);

  void HandleEvent(const SDL_Event& event) override;
  void Build() override;
  bool Done() const override { return done_; }

  // The button chosen, or nothing when the dialog was closed.
  std::optional<size_t> Choice() const { return choice_; }

 private:
  void HandleKey(const SDL_KeyboardEvent& key);
  void ReadGamepad();
  void BuildText();
  void BuildButtons();
  void FrameFocusedButton();
  void MoveFocus(int step);
  void Choose(size_t button);
  void Close();

  const base::DialogDescription& dialog_;
  size_t focus_;
  std::optional<size_t> choice_;
  bool done_ = false;
  // The pad inputs held at the last frame, one bit each; none read yet at the
  // first, so that inputs held when the dialog opens wait to be let go.
  std::optional<uint32_t> padDown_;
};

}  // namespace mavu::dialogs
