#include "shell/platform/headless/scripted_dialogs.h"

#include <algorithm>

namespace mavu::shell {

std::optional<size_t> ScriptedDialogs::ShowModal(const base::DialogDescription& dialog) {
  const std::optional<size_t> chosen = TakeAnswer(dialog);
  DialogRecord record{frame_,      dialog.kind, dialog.caption,
                      dialog.text, {},          dialog.AnswerOf(chosen)};
  for (const base::DialogButton& button : dialog.buttons) record.buttons.push_back(button.text);
  records_.push_back(std::move(record));
  return chosen;
}

std::optional<size_t> ScriptedDialogs::TakeAnswer(const base::DialogDescription& dialog) {
  if (answers_.empty() || answers_.front().frame > frame_) return size_t{0};
  const int32_t value = answers_.front().value;
  answers_.pop_front();
  const auto button =
      std::find_if(dialog.buttons.begin(), dialog.buttons.end(),
                   [value](const base::DialogButton& b) { return b.value == value; });
  if (button == dialog.buttons.end()) return std::nullopt;
  return static_cast<size_t>(button - dialog.buttons.begin());
}

}  // namespace mavu::shell
