#include "shell/app/headless_input_player.h"

#include <gtest/gtest.h>

#include <string>

namespace mavu::shell {
namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr uint64_t kFrameMs = 25;

class HeadlessInputPlayerTest : public ::testing::Test {
 protected:
  void Load(std::string_view text, std::initializer_list<resource::KeyBinding> bindings = {}) {
    std::array<resource::KeyBinding, resource::kKeyBindingCount> table;
    size_t i = 0;
    for (const auto& binding : bindings) table[i++] = binding;
    player_.emplace(
        HeadlessInputScript::Parse({reinterpret_cast<const uint8_t*>(text.data()), text.size()}),
        KeyTable(table), kWidth, kHeight);
  }

  FrameInput Play(int64_t frame) { return player_->Play(frame, frame * kFrameMs); }
  std::string Action(int64_t frame) { return Play(frame).action; }

  std::optional<HeadlessInputPlayer> player_;
};

TEST_F(HeadlessInputPlayerTest, AClickIsAClickAtItsPositionForOneFrame) {
  Load("2 click 100 200\n");
  EXPECT_EQ(Action(1), "");
  const FrameInput input = Play(2);
  EXPECT_EQ(input.action, "click");
  EXPECT_EQ(input.pointerX, 100);
  EXPECT_EQ(input.pointerY, 200);
  const FrameInput after = Play(3);
  EXPECT_EQ(after.action, "");
  EXPECT_EQ(after.pointerX, 100);
  EXPECT_EQ(after.pointerY, 200);
}

TEST_F(HeadlessInputPlayerTest, ThePointerStaysOnTheScreen) {
  Load("1 move -10 9999\n2 move 800 -1\n3 move 799 599\n");
  FrameInput input = Play(1);
  EXPECT_EQ(input.pointerX, 0);
  EXPECT_EQ(input.pointerY, kHeight - 1);
  input = Play(2);
  EXPECT_EQ(input.pointerX, kWidth - 1);
  EXPECT_EQ(input.pointerY, 0);
  input = Play(3);
  EXPECT_EQ(input.pointerX, 799);
  EXPECT_EQ(input.pointerY, 599);
}

TEST_F(HeadlessInputPlayerTest, KeysGoThroughTheKeyTableWhenTheyGoDown) {
  Load("1 key 27\n2 keyup 27\n3 key 27\n", {{27, "exit"}});
  EXPECT_EQ(Action(1), "exit");
  EXPECT_EQ(Action(2), "");
  EXPECT_EQ(Action(3), "exit");
}

TEST_F(HeadlessInputPlayerTest, AKeyHeldDownIsPressedOnlyOnItsFirstFrame) {
  Load("1 key 13\n", {{13, "keyclick"}});
  EXPECT_EQ(Action(1), "keyclick");
  EXPECT_EQ(Action(2), "");
  EXPECT_EQ(Action(3), "");
}

TEST_F(HeadlessInputPlayerTest, AKeyTappedWithinOneFrameCounts) {
  Load("4 key 13\n4 keyup 13\n", {{13, "keyclick"}});
  EXPECT_EQ(Action(4), "keyclick");
  EXPECT_EQ(Action(5), "");
}

TEST_F(HeadlessInputPlayerTest, HeldKeysRepeatAfterASecond) {
  // Pressed at 25 ms: repeating once more than 1000 ms have passed, at 1050 ms.
  Load("1 key 17\n", {{0xF00 + 17, "skipclick"}});
  EXPECT_EQ(Action(1), "");
  EXPECT_EQ(Action(41), "");  // 1025 ms: exactly 1000 ms held
  EXPECT_EQ(Action(42), "skipclick");
}

TEST_F(HeadlessInputPlayerTest, CtrlAndAltComeFromTheHeldModifierKeys) {
  Load("1 key 162\n2 key 83\n3 keyup 162\n3 keyup 83\n4 key 83\n5 key 18\n5 keyup 83\n6 key 83\n",
       {{83, "save"}, {0x100 + 83, "quicksave"}, {0x200 + 83, "load"}});
  EXPECT_EQ(Action(1), "");
  EXPECT_EQ(Action(2), "quicksave");
  EXPECT_EQ(Action(3), "");
  EXPECT_EQ(Action(4), "save");
  EXPECT_EQ(Action(5), "");
  EXPECT_EQ(Action(6), "load");
}

TEST_F(HeadlessInputPlayerTest, RightClicksAndTheWheelGoThroughTheKeyTable) {
  Load("1 rclick 5 6\n2 wheel 120\n3 wheel -120\n4 wheel 0\n",
       {{-2, "menu"}, {-6, "log"}, {-7, "keyclick"}});
  const FrameInput input = Play(1);
  EXPECT_EQ(input.action, "menu");
  EXPECT_EQ(input.pointerX, 5);
  EXPECT_EQ(input.pointerY, 6);
  EXPECT_EQ(Action(2), "log");
  EXPECT_EQ(Action(3), "keyclick");
  EXPECT_EQ(Action(4), "");
}

TEST_F(HeadlessInputPlayerTest, DirectActionsWinOverTheKeyTableAndTheLastOneCounts) {
  Load("1 key 27\n1 action skip\n2 action auto\n2 click 3 4\n3 click 3 4\n3 action view\n",
       {{27, "exit"}});
  EXPECT_EQ(Action(1), "skip");
  EXPECT_EQ(Action(2), "click");
  EXPECT_EQ(Action(3), "view");
}

TEST_F(HeadlessInputPlayerTest, WithoutBindingsKeysDoNothing) {
  Load("1 key 13\n1 rclick 1 1\n1 wheel 3\n");
  EXPECT_EQ(Action(1), "");
}

}  // namespace
}  // namespace mavu::shell
