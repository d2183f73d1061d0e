#include "shell/system/standard_dialogs.h"

#include "resource/message_table.h"

namespace mavu::shell {
namespace {

using base::DialogDescription;
using base::DialogKind;
using base::DialogService;

constexpr std::string_view kAppMark = "%%%app";

// The dialogs' own texts (CP932), shown where a given text is empty.
constexpr std::string_view kConfirmCaption = "\x8A\x6D\x94\x46";  // 確認
constexpr std::string_view kConfirmLabel =
    "\x8B\x58\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";  // 宜しいですか？
constexpr std::string_view kYes = "Yes";
constexpr std::string_view kNo = "No";
constexpr std::string_view kOk = "\x82\x6E\x82\x6A";  // ＯＫ
constexpr std::string_view kExitCaption =
    "\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81\x48";  // 終了しますか？
// 現在のゲーム内容が失われますがよろしいですか？
constexpr std::string_view kExitLabel =
    "\x8C\xBB\x8D\xDD\x82\xCC\x83\x51\x81\x5B\x83\x80\x93\xE0\x97\x65\x82\xAA\x8E\xB8\x82\xED\x82"
    "\xEA\x82\xDC\x82\xB7\x82\xAA\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";
constexpr std::string_view kExit = "Yes";
constexpr std::string_view kCancel = "Cancel";
constexpr std::string_view kReset = "No";

constexpr int32_t kYesAnswer = 1;
constexpr int32_t kNoAnswer = 0;
constexpr size_t kExitCancelButton = 1;

}  // namespace

int32_t StandardDialogs::ShowConfirm(std::string_view title, std::string_view text,
                                     std::string_view yesText, std::string_view noText) {
  if (text.empty()) return kYesAnswer;
  return Ask({.kind = DialogKind::kConfirm,
              .caption = Caption(title, kConfirmCaption),
              .text = Shown(text, kConfirmLabel),
              .buttons = {{Shown(yesText, kYes), kYesAnswer}, {Shown(noText, kNo), kNoAnswer}},
              .focus = 0,
              .closedValue = kNoAnswer});
}

void StandardDialogs::ShowNotice(std::string_view title, std::string_view text,
                                 std::string_view okText) {
  if (text.empty()) return;
  Ask({.kind = DialogKind::kNotice,
       .caption = Caption(title, kConfirmCaption),
       .text = Shown(text, {}),
       .buttons = {{Shown(okText, kOk), kYesAnswer}},
       .focus = 0,
       .closedValue = kNoAnswer});
}

int32_t StandardDialogs::ShowExitChoice(std::string_view title, std::string_view text,
                                        std::string_view exitText, std::string_view cancelText,
                                        std::string_view resetText) {
  if (text.empty()) return DialogService::kExitGame;
  return Ask({.kind = DialogKind::kExitChoice,
              .caption = Caption(title, kExitCaption),
              .text = Shown(text, kExitLabel),
              .buttons = {{Shown(resetText, kReset), DialogService::kReturnToTitle},
                          {Shown(cancelText, kCancel), DialogService::kCancelExit},
                          {Shown(exitText, kExit), DialogService::kExitGame}},
              .focus = kExitCancelButton,
              .closedValue = DialogService::kCancelExit});
}

std::string StandardDialogs::Shown(std::string_view text, std::string_view fallback) const {
  const std::string& appTitle = resource::ApplicationTitle();
  std::string shown = resource::DialogDisplayText(text, appTitle);
  return shown.empty() ? resource::DialogDisplayText(fallback, appTitle) : shown;
}

std::string StandardDialogs::Caption(std::string_view title, std::string_view ownCaption) const {
  return Shown(title.empty() ? kAppMark : title, ownCaption);
}

int32_t StandardDialogs::Ask(const DialogDescription& dialog) {
  return dialog.AnswerOf(presenter_.ShowModal(dialog));
}

}  // namespace mavu::shell
