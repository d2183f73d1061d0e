#include "dialogs/dialog_window.h"

#include <imgui.h>

#include <algorithm>
#include <array>
#include <string>

namespace mavu::dialogs {
namespace {

constexpr float kTextWidth = 409;
constexpr float kTextHeight = 65;
constexpr float kMargin = 8;
constexpr float kButtonWidth = 97;
constexpr float kButtonHeight = 25;
constexpr float kFocusFrame = 2;

constexpr ImGuiWindowFlags kWindowFlags =
    ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoCollapse |
    ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_AlwaysAutoResize |
    ImGuiWindowFlags_NoNav;  // ImGui's own focus would be a second one

// The game controller's D-pad left, right, up, down, then A and B.
constexpr std::array<ImGuiNavInput, 6> kPadInputs = {
    ImGuiNavInput_DpadLeft, ImGuiNavInput_DpadRight, ImGuiNavInput_DpadUp,
    ImGuiNavInput_DpadDown, ImGuiNavInput_Activate,  ImGuiNavInput_Cancel};
constexpr std::array<int, 4> kPadSteps = {-1, 1, -1, 1};
constexpr size_t kPadChoose = 4;
constexpr size_t kPadClose = 5;

float ButtonWidth(const std::string& text) {
  const float padding = ImGui::GetStyle().FramePadding.x;
  return std::max(kButtonWidth, ImGui::CalcTextSize(text.c_str()).x + 2 * padding);
}

}  // namespace

DialogWindow::DialogWindow(const base::DialogDescription& dialog)
    : dialog_(dialog), focus_(std::min(dialog.focus, dialog.buttons.size() - 1)) {}

void DialogWindow::HandleEvent(const SDL_Event& event) {
  if (event.type == SDL_KEYDOWN) HandleKey(event.key);
}

void DialogWindow::HandleKey(const SDL_KeyboardEvent& key) {
  switch (key.keysym.sym) {
    case SDLK_LEFT:
    case SDLK_UP:
      return MoveFocus(-1);
    case SDLK_RIGHT:
    case SDLK_DOWN:
      return MoveFocus(1);
    case SDLK_TAB:
      return MoveFocus((key.keysym.mod & KMOD_SHIFT) ? -1 : 1);
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
      // A key held since before the dialog opened repeats; it is no answer.
      if (!key.repeat) Choose(focus_);
      return;
    case SDLK_ESCAPE:
      return Close();
    default:
      return;
  }
}

void DialogWindow::Build() {
  ReadGamepad();
  if (done_) return;
  ImGui::SetNextWindowPos(ImGui::GetMainViewport()->GetCenter(), ImGuiCond_Always,
                          ImVec2(0.5f, 0.5f));
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(kMargin, 0));
  bool open = true;
  // The ID after "###" keeps the window one and the same whatever its caption.
  const bool shown = ImGui::Begin((dialog_.caption + "###dialog").c_str(), &open, kWindowFlags);
  ImGui::PopStyleVar();
  if (shown) {
    BuildText();
    BuildButtons();
  }
  ImGui::End();
  if (!open) Close();
}

void DialogWindow::ReadGamepad() {
  const ImGuiIO& io = ImGui::GetIO();
  uint32_t down = 0;
  for (size_t i = 0; i < kPadInputs.size(); ++i) {
    if (io.NavInputs[kPadInputs[i]] > 0) down |= 1u << i;
  }
  const uint32_t pressed = down & ~padDown_.value_or(down);
  padDown_ = down;
  for (size_t i = 0; i < kPadInputs.size(); ++i) {
    if (!(pressed & (1u << i))) continue;
    if (i == kPadChoose) return Choose(focus_);
    if (i == kPadClose) return Close();
    MoveFocus(kPadSteps[i]);
  }
}

void DialogWindow::BuildText() {
  const char* text = dialog_.text.c_str();
  const float top = ImGui::GetCursorPosY();
  const float height = ImGui::CalcTextSize(text, nullptr, false, kTextWidth).y;
  ImGui::SetCursorPosY(top + std::max(0.0f, (kTextHeight - height) / 2));
  ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + kTextWidth);
  ImGui::TextUnformatted(text);
  ImGui::PopTextWrapPos();
  ImGui::SetCursorPosY(top + std::max(kTextHeight, height));
  ImGui::Dummy(ImVec2(kTextWidth, 0));
}

void DialogWindow::BuildButtons() {
  const float spacing = ImGui::GetStyle().ItemSpacing.x;
  float rowWidth = -spacing;
  for (const base::DialogButton& button : dialog_.buttons) {
    rowWidth += ButtonWidth(button.text) + spacing;
  }
  ImGui::SetCursorPosX(ImGui::GetCursorPosX() + std::max(0.0f, (kTextWidth - rowWidth) / 2));
  for (size_t i = 0; i < dialog_.buttons.size(); ++i) {
    const std::string& text = dialog_.buttons[i].text;
    if (i > 0) ImGui::SameLine();
    ImGui::PushID(static_cast<int>(i));  // two buttons may read alike
    if (ImGui::Button(text.c_str(), ImVec2(ButtonWidth(text), kButtonHeight))) Choose(i);
    if (i == focus_) FrameFocusedButton();
    ImGui::PopID();
  }
  ImGui::Dummy(ImVec2(0, kMargin - ImGui::GetStyle().ItemSpacing.y));
}

void DialogWindow::FrameFocusedButton() {
  const ImVec2 min = ImGui::GetItemRectMin();
  const ImVec2 max = ImGui::GetItemRectMax();
  ImGui::GetWindowDrawList()->AddRect(ImVec2(min.x - kFocusFrame, min.y - kFocusFrame),
                                      ImVec2(max.x + kFocusFrame, max.y + kFocusFrame),
                                      ImGui::GetColorU32(ImGuiCol_NavHighlight),
                                      ImGui::GetStyle().FrameRounding, 0, kFocusFrame);
}

void DialogWindow::MoveFocus(int step) {
  const int count = static_cast<int>(dialog_.buttons.size());
  focus_ = static_cast<size_t>((static_cast<int>(focus_) + step + count) % count);
}

void DialogWindow::Choose(size_t button) {
  choice_ = button;
  done_ = true;
}

void DialogWindow::Close() {
  choice_.reset();
  done_ = true;
}

}  // namespace mavu::dialogs
