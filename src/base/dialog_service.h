#pragma once

#include <string_view>

namespace mavu::base {

// The three standard dialogs, shown modally over the game. Texts are CP932.
class DialogService {
 public:
  virtual ~DialogService() = default;
  // 1 for yes, 0 for no or closed.
  virtual int ShowConfirm(std::string_view title, std::string_view text, std::string_view yesText,
                          std::string_view noText) = 0;
  virtual void ShowNotice(std::string_view title, std::string_view text,
                          std::string_view okText) = 0;
  // 1 exit, 0 return to title, -1 cancel.
  virtual int ShowExitChoice(std::string_view title, std::string_view text,
                             std::string_view exitText, std::string_view cancelText,
                             std::string_view resetText) = 0;
};

}  // namespace mavu::base
