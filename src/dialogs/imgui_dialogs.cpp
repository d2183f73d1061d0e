#include "dialogs/imgui_dialogs.h"

#include <string>

#include "dialogs/dialog_window.h"

namespace mavu::dialogs {

std::optional<size_t> ImGuiDialogs::ShowModal(const base::DialogDescription& dialog) {
  std::string texts = dialog.caption + dialog.text;
  for (const base::DialogButton& button : dialog.buttons) texts += button.text;
  DialogWindow window(dialog);
  if (!session_.RunModal(window, texts)) return std::nullopt;
  return window.Choice();
}

}  // namespace mavu::dialogs
