#include "shell/system/standard_dialogs.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "resource/message_table.h"

namespace mavu::shell {
namespace {

using base::DialogDescription;
using base::DialogKind;

// Keeps what it was asked to show and answers with a fixed choice.
class RecordingPresenter : public base::DialogPresenter {
 public:
  std::optional<size_t> ShowModal(const DialogDescription& dialog) override {
    shown.push_back(dialog);
    return choice;
  }

  std::vector<DialogDescription> shown;
  std::optional<size_t> choice;
};

class StandardDialogsTest : public ::testing::Test {
 protected:
  // The application title is process-wide: each test starts from the default.
  ~StandardDialogsTest() override { resource::SetApplicationTitle(kDefaultTitle); }

  static constexpr std::string_view kDefaultTitle = "Mavu";

  // The answers of one kind of dialog for the first button, the second, ... and
  // for closing it.
  template <typename Show>
  std::vector<int32_t> Answers(size_t buttons, Show show) {
    std::vector<int32_t> answers;
    for (size_t i = 0; i <= buttons; ++i) {
      presenter_.choice = i < buttons ? std::optional<size_t>(i) : std::nullopt;
      answers.push_back(show());
    }
    return answers;
  }

  RecordingPresenter presenter_;
  StandardDialogs dialogs_{presenter_};
};

TEST_F(StandardDialogsTest, ConfirmationOffersYesThenNoWithTheFocusOnYes) {
  dialogs_.ShowConfirm("Save", "Overwrite?", "Sure", "Rather not");
  const DialogDescription expected{.kind = DialogKind::kConfirm,
                                   .caption = "Save",
                                   .text = "Overwrite?",
                                   .buttons = {{"Sure", 1}, {"Rather not", 0}},
                                   .focus = 0,
                                   .closedValue = 0};
  ASSERT_EQ(presenter_.shown.size(), 1u);
  EXPECT_EQ(presenter_.shown[0], expected);
  EXPECT_EQ(Answers(2, [&] { return dialogs_.ShowConfirm("", "?", "", ""); }),
            (std::vector<int32_t>{1, 0, 0}));
}

TEST_F(StandardDialogsTest, ExitChoiceOffersTitleCancelExitWithTheFocusOnCancel) {
  dialogs_.ShowExitChoice("Bye", "Quit?", "Quit", "Stay", "Title");
  const DialogDescription expected{.kind = DialogKind::kExitChoice,
                                   .caption = "Bye",
                                   .text = "Quit?",
                                   .buttons = {{"Title", 0}, {"Stay", -1}, {"Quit", 1}},
                                   .focus = 1,
                                   .closedValue = -1};
  ASSERT_EQ(presenter_.shown.size(), 1u);
  EXPECT_EQ(presenter_.shown[0], expected);
  EXPECT_EQ(Answers(3, [&] { return dialogs_.ShowExitChoice("", "?", "", "", ""); }),
            (std::vector<int32_t>{0, -1, 1, -1}));
}

TEST_F(StandardDialogsTest, NoticeHasOneButton) {
  dialogs_.ShowNotice("Note", "Saved.", "Fine");
  const DialogDescription expected{.kind = DialogKind::kNotice,
                                   .caption = "Note",
                                   .text = "Saved.",
                                   .buttons = {{"Fine", 1}},
                                   .focus = 0,
                                   .closedValue = 0};
  ASSERT_EQ(presenter_.shown.size(), 1u);
  EXPECT_EQ(presenter_.shown[0], expected);
}

TEST_F(StandardDialogsTest, AnEmptyTextAsksNothing) {
  presenter_.choice = std::nullopt;
  EXPECT_EQ(dialogs_.ShowConfirm("t", "", "y", "n"), 1);
  EXPECT_EQ(dialogs_.ShowExitChoice("t", "", "e", "c", "r"), 1);
  dialogs_.ShowNotice("t", "", "ok");
  EXPECT_TRUE(presenter_.shown.empty());
}

TEST_F(StandardDialogsTest, PlaceholdersAreFilledInEveryTextAsUtf8) {
  resource::SetApplicationTitle("\x83\x51\x81\x5B\x83\x80");  // ゲーム
  dialogs_.ShowConfirm("%%%app!", "\x95\x5C%%%nend", "%%%app", "no%%%n");
  dialogs_.ShowNotice("", "n", "");
  ASSERT_EQ(presenter_.shown.size(), 2u);
  const DialogDescription& confirm = presenter_.shown[0];
  EXPECT_EQ(confirm.caption, "ゲーム!");
  EXPECT_EQ(confirm.text, "表\nend");
  EXPECT_EQ(confirm.buttons[0].text, "ゲーム");
  EXPECT_EQ(confirm.buttons[1].text, "no\n");
  EXPECT_EQ(presenter_.shown[1].caption, "ゲーム");
}

TEST_F(StandardDialogsTest, EmptyButtonTextsKeepTheDefaults) {
  dialogs_.ShowConfirm("", "c", "", "");
  dialogs_.ShowNotice("", "n", "");
  dialogs_.ShowExitChoice("", "e", "", "", "");
  ASSERT_EQ(presenter_.shown.size(), 3u);
  EXPECT_EQ(presenter_.shown[0].buttons, (std::vector<base::DialogButton>{{"Yes", 1}, {"No", 0}}));
  EXPECT_EQ(presenter_.shown[1].buttons, (std::vector<base::DialogButton>{{"ＯＫ", 1}}));
  EXPECT_EQ(presenter_.shown[2].buttons,
            (std::vector<base::DialogButton>{{"No", 0}, {"Cancel", -1}, {"Yes", 1}}));
  EXPECT_EQ(presenter_.shown[0].caption, "Mavu");
}

// Only an empty application title can make a caption or a label come out empty.
TEST_F(StandardDialogsTest, TextsThatComeOutEmptyShowTheDialogsOwn) {
  resource::SetApplicationTitle("");
  dialogs_.ShowConfirm("", "%%%app", "%%%app", "");
  dialogs_.ShowExitChoice("%%%app", "%%%app", "", "", "");
  dialogs_.ShowNotice("", "%%%app", "");
  ASSERT_EQ(presenter_.shown.size(), 3u);
  EXPECT_EQ(presenter_.shown[0].caption, "確認");
  EXPECT_EQ(presenter_.shown[0].text, "宜しいですか？");
  EXPECT_EQ(presenter_.shown[0].buttons[0].text, "Yes");
  EXPECT_EQ(presenter_.shown[1].caption, "終了しますか？");
  EXPECT_EQ(presenter_.shown[1].text, "現在のゲーム内容が失われますがよろしいですか？");
  EXPECT_EQ(presenter_.shown[2].caption, "確認");
  EXPECT_EQ(presenter_.shown[2].text, "");
}

}  // namespace
}  // namespace mavu::shell
