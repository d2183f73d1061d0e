#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/dialog_presenter.h"

namespace mavu::shell {

// A dialog a headless run showed, for the dump.
struct DialogRecord {
  int64_t frame = 0;
  base::DialogKind kind = base::DialogKind::kNotice;
  std::string caption;               // UTF-8
  std::string text;                  // UTF-8
  std::vector<std::string> buttons;  // UTF-8, in display order
  int32_t answer = 0;                // the value the dialog gave

  bool operator==(const DialogRecord&) const = default;
};

// Answers dialogs from the input file's "answer" lines and records them. An
// answer given for frame F goes to the next dialog shown at frame F or later,
// answers in the order given; it chooses the button with that value, and a
// value no button has closes the dialog. A dialog without a pending answer
// gets its first button.
class ScriptedDialogs : public base::DialogPresenter {
 public:
  // Answers must be added in the order of their frames.
  void AddAnswer(int64_t frame, int32_t value) { answers_.push_back({frame, value}); }
  // The frame dialogs are shown in from now on.
  void SetFrame(int64_t frame) { frame_ = frame; }

  std::optional<size_t> ShowModal(const base::DialogDescription& dialog) override;

  const std::vector<DialogRecord>& Records() const { return records_; }

 private:
  struct Answer {
    int64_t frame;
    int32_t value;
  };

  // The index chosen by the first answer due, or nothing when it closes the dialog.
  std::optional<size_t> TakeAnswer(const base::DialogDescription& dialog);

  std::deque<Answer> answers_;
  int64_t frame_ = 0;
  std::vector<DialogRecord> records_;
};

}  // namespace mavu::shell
