#pragma once

#include <cstdint>
#include <string_view>

namespace mavu::base {

// The engine's three modal questions and notices. Every text is CP932 engine
// text, usually straight from the message table; "%%%app" in it stands for the
// application title and "%%%n" for a line break. An empty title means the
// application title; an empty button text keeps that button's own label.
class DialogService {
 public:
  // Answers of ShowExitChoice.
  static constexpr int32_t kExitGame = 1;
  static constexpr int32_t kReturnToTitle = 0;
  static constexpr int32_t kCancelExit = -1;

  virtual ~DialogService() = default;

  // 1 for yes; 0 for no or when the dialog is closed. An empty text asks
  // nothing and counts as yes.
  virtual int32_t ShowConfirm(std::string_view title, std::string_view text,
                              std::string_view yesText, std::string_view noText) = 0;
  // An empty text shows nothing.
  virtual void ShowNotice(std::string_view title, std::string_view text,
                          std::string_view okText) = 0;
  // kExitGame, kReturnToTitle or kCancelExit (also when the dialog is closed).
  // An empty text asks nothing and counts as kExitGame.
  virtual int32_t ShowExitChoice(std::string_view title, std::string_view text,
                                 std::string_view exitText, std::string_view cancelText,
                                 std::string_view resetText) = 0;
};

}  // namespace mavu::base
