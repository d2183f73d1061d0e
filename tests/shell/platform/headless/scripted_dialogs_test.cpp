#include "shell/platform/headless/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace mavu::shell {
namespace {

using base::DialogDescription;
using base::DialogKind;

const DialogDescription kConfirm{.kind = DialogKind::kConfirm,
                                 .caption = "Mavu",
                                 .text = "Save?",
                                 .buttons = {{"Yes", 1}, {"No", 0}}};
const DialogDescription kExit{.kind = DialogKind::kExitChoice,
                              .caption = "Mavu",
                              .text = "Quit?",
                              .buttons = {{"Title", 0}, {"Cancel", -1}, {"Exit", 1}},
                              .focus = 1,
                              .closedValue = -1};

TEST(ScriptedDialogs, AnAnswerGoesToTheNextDialogFromItsFrameOn) {
  ScriptedDialogs dialogs;
  dialogs.AddAnswer(3, 0);
  dialogs.AddAnswer(3, -1);
  dialogs.AddAnswer(9, 1);
  std::vector<std::optional<size_t>> chosen;
  for (int64_t frame : {2, 4, 4, 8, 12}) {
    dialogs.SetFrame(frame);
    chosen.push_back(dialogs.ShowModal(kExit));
  }
  // Frame 2 is before any answer: the first button.
  EXPECT_EQ(chosen, (std::vector<std::optional<size_t>>{0, 0, 1, 0, 2}));
}

TEST(ScriptedDialogs, AValueNoButtonHasClosesTheDialog) {
  ScriptedDialogs dialogs;
  dialogs.AddAnswer(1, -1);
  dialogs.SetFrame(1);
  EXPECT_EQ(dialogs.ShowModal(kConfirm), std::nullopt);
  ASSERT_EQ(dialogs.Records().size(), 1u);
  EXPECT_EQ(dialogs.Records()[0].answer, 0);
}

TEST(ScriptedDialogs, RecordsEveryDialogShown) {
  ScriptedDialogs dialogs;
  dialogs.AddAnswer(5, 0);
  dialogs.SetFrame(5);
  dialogs.ShowModal(kConfirm);
  dialogs.SetFrame(6);
  dialogs.ShowModal(kExit);
  const std::vector<DialogRecord> expected = {
      {5, DialogKind::kConfirm, "Mavu", "Save?", {"Yes", "No"}, 0},
      {6, DialogKind::kExitChoice, "Mavu", "Quit?", {"Title", "Cancel", "Exit"}, 0}};
  EXPECT_EQ(dialogs.Records(), expected);
}

}  // namespace
}  // namespace mavu::shell
