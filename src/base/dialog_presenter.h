#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mavu::base {

enum class DialogKind : uint8_t { kConfirm, kNotice, kExitChoice };

struct DialogButton {
  std::string text;   // UTF-8
  int32_t value = 0;  // what choosing this button answers

  bool operator==(const DialogButton&) const = default;
};

// A dialog with every text resolved, ready to draw: nothing is left for a
// presenter to decide but the layout.
struct DialogDescription {
  DialogKind kind = DialogKind::kNotice;
  std::string caption;                // UTF-8, the window title
  std::string text;                   // UTF-8, lines separated by "\n"
  std::vector<DialogButton> buttons;  // in display order, never empty
  size_t focus = 0;                   // the button that has the focus when it opens
  int32_t closedValue = 0;            // the answer when it is closed without a button

  bool operator==(const DialogDescription&) const = default;

  // What choosing button `chosen` answers, or closing the dialog (nothing, or
  // an index it does not have).
  int32_t AnswerOf(std::optional<size_t> chosen) const {
    return chosen && *chosen < buttons.size() ? buttons[*chosen].value : closedValue;
  }
};

// Shows a described dialog modally: a window toolkit, or a script in headless runs.
class DialogPresenter {
 public:
  virtual ~DialogPresenter() = default;

  // The index of the button chosen, or nothing when the dialog was closed
  // another way (its close box, Escape, the window closing).
  virtual std::optional<size_t> ShowModal(const DialogDescription& dialog) = 0;
};

}  // namespace mavu::base
