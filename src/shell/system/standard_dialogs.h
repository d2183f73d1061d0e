#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/dialog_presenter.h"
#include "base/dialog_service.h"

namespace mavu::shell {

// The rules the three standard dialogs share, whatever shows them: texts get
// their placeholders filled in and become UTF-8, a missing title or button
// text takes its default, an empty text asks nothing, and each button carries
// the answer it gives. The presenter then only draws and waits.
//
// Display order and focus: confirmation "yes" "no" (focus on yes); notice "ok";
// exit choice "return to title" "cancel" "exit" (focus on cancel).
class StandardDialogs : public base::DialogService {
 public:
  explicit StandardDialogs(base::DialogPresenter& presenter) : presenter_(presenter) {}

  int32_t ShowConfirm(std::string_view title, std::string_view text, std::string_view yesText,
                      std::string_view noText) override;
  void ShowNotice(std::string_view title, std::string_view text, std::string_view okText) override;
  int32_t ShowExitChoice(std::string_view title, std::string_view text, std::string_view exitText,
                         std::string_view cancelText, std::string_view resetText) override;

 private:
  // `text` as shown, or `fallback` as shown when `text` comes out empty.
  std::string Shown(std::string_view text, std::string_view fallback) const;
  // The caption from the title, an empty title meaning the application title.
  std::string Caption(std::string_view title, std::string_view ownCaption) const;
  // The presenter's choice as an answer.
  int32_t Ask(const base::DialogDescription& dialog);

  base::DialogPresenter& presenter_;
};

}  // namespace mavu::shell
