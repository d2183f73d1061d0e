#include "shell/input/key_table.h"

#include <gtest/gtest.h>

#include "support/shell/input_fixture.h"

namespace mavu::shell {
namespace {

using test::MakeKeyTable;

constexpr int kKeyS = 0x53;

InputSnapshot Pressed(int key) {
  InputSnapshot input;
  input.keyPressed[key] = true;
  return input;
}

TEST(KeyTable, NothingMatchesWithoutInput) {
  EXPECT_EQ(MakeKeyTable({{13, "keyclick"}, {-1, "click"}}).MappedAction({}), "");
}

TEST(KeyTable, APressedKeyGivesItsAction) {
  const KeyTable table = MakeKeyTable({{13, "keyclick"}, {27, "menu"}});
  EXPECT_EQ(table.MappedAction(Pressed(13)), "keyclick");
  EXPECT_EQ(table.MappedAction(Pressed(27)), "menu");
  EXPECT_EQ(table.MappedAction(Pressed(32)), "");
}

TEST(KeyTable, TheLastMatchingEntryWins) {
  // The plain S matches Ctrl+S too, so the order of the entries decides.
  InputSnapshot ctrlS = Pressed(kKeyS);
  ctrlS.modifiers = kModifierCtrl;
  EXPECT_EQ(MakeKeyTable({{kKeyS, "save"}, {0x100 + kKeyS, "quicksave"}}).MappedAction(ctrlS),
            "quicksave");
  EXPECT_EQ(MakeKeyTable({{0x100 + kKeyS, "quicksave"}, {kKeyS, "save"}}).MappedAction(ctrlS),
            "save");
  EXPECT_EQ(
      MakeKeyTable({{kKeyS, "save"}, {0x100 + kKeyS, "quicksave"}}).MappedAction(Pressed(kKeyS)),
      "save");
}

TEST(KeyTable, ALaterMatchNamingNoActionHidesAnEarlierOne) {
  EXPECT_EQ(MakeKeyTable({{13, "menu"}, {13, "nosuchaction"}}).MappedAction(Pressed(13)), "");
  EXPECT_EQ(MakeKeyTable({{13, "menu"}, {13, ""}}).MappedAction(Pressed(13)), "menu");
}

TEST(KeyTable, AltCombinationsNeedAlt) {
  const KeyTable table = MakeKeyTable({{0x200 + 13, "screen"}});
  EXPECT_EQ(table.MappedAction(Pressed(13)), "");
  InputSnapshot altEnter = Pressed(13);
  altEnter.modifiers = kModifierAlt;
  EXPECT_EQ(table.MappedAction(altEnter), "screen");
  altEnter.keyPressed[13] = false;
  EXPECT_EQ(table.MappedAction(altEnter), "");
}

TEST(KeyTable, RepeatCodesFireOnlyAfterTheFirstPoll) {
  InputSnapshot held;
  held.keyRepeat[17] = true;
  held.Button(MouseButton::kRight).repeat = true;
  EXPECT_TRUE(KeyTable::Matches(0xF00 + 17, held));
  EXPECT_TRUE(KeyTable::Matches(KeyTable::kRightRepeat, held));
  held.keyPressed[17] = true;  // the poll of the press itself
  held.Button(MouseButton::kRight).pressed = true;
  EXPECT_FALSE(KeyTable::Matches(0xF00 + 17, held));
  EXPECT_FALSE(KeyTable::Matches(KeyTable::kRightRepeat, held));
}

TEST(KeyTable, MouseCodes) {
  InputSnapshot input;
  input.Button(MouseButton::kLeft).click = true;
  EXPECT_TRUE(KeyTable::Matches(-1, input));
  EXPECT_FALSE(KeyTable::Matches(-2, input));
  input.buttons = {};
  input.Button(MouseButton::kRight).click = true;
  EXPECT_TRUE(KeyTable::Matches(-2, input));
  input.buttons = {};
  input.Button(MouseButton::kMiddle).click = true;
  EXPECT_TRUE(KeyTable::Matches(-3, input));
  input.wheel = 3;
  EXPECT_TRUE(KeyTable::Matches(-6, input));
  EXPECT_FALSE(KeyTable::Matches(-7, input));
  input.wheel = -1;
  EXPECT_FALSE(KeyTable::Matches(-6, input));
  EXPECT_TRUE(KeyTable::Matches(-7, input));
  input.buttons = {};
  input.Button(MouseButton::kLeft).repeat = true;
  EXPECT_TRUE(KeyTable::Matches(-8, input));
  EXPECT_FALSE(KeyTable::Matches(-9, input));
  input.Button(MouseButton::kRight).repeat = true;
  input.Button(MouseButton::kMiddle).repeat = true;
  EXPECT_TRUE(KeyTable::Matches(-9, input));
  EXPECT_TRUE(KeyTable::Matches(-10, input));
}

TEST(KeyTable, OtherCodesMatchNothing) {
  InputSnapshot everything;
  everything.buttons.fill({true, false, true, true, true});
  everything.keyPressed.fill(true);
  everything.keyRepeat.fill(true);
  everything.modifiers = 0xFF;
  everything.wheel = 1;
  for (int32_t code :
       {0, -4, -5, -11, -0x100, 0x300 + 13, 0xE00 + 13, 0x1000 + 13, 176, 0xFF, 0x100 + 200}) {
    EXPECT_FALSE(KeyTable::Matches(code, everything)) << code;
  }
  EXPECT_TRUE(KeyTable::Matches(175, everything));
}

}  // namespace
}  // namespace mavu::shell
