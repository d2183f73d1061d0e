#include "shell/input/key_table.h"

#include <gtest/gtest.h>

namespace mavu::shell {
namespace {

using Bindings = std::array<resource::KeyBinding, resource::kKeyBindingCount>;

constexpr int kKeyS = 0x53;

KeyTable Table(std::initializer_list<resource::KeyBinding> entries) {
  Bindings bindings;
  size_t i = 0;
  for (const auto& entry : entries) bindings[i++] = entry;
  return KeyTable(bindings);
}

InputSnapshot Pressed(int key) {
  InputSnapshot input;
  input.keyPressed[key] = true;
  return input;
}

TEST(KeyTable, NothingMatchesWithoutInput) {
  EXPECT_EQ(Table({{13, "keyclick"}, {-1, "click"}}).MappedAction({}), "");
}

TEST(KeyTable, APressedKeyGivesItsAction) {
  const KeyTable table = Table({{13, "keyclick"}, {27, "menu"}});
  EXPECT_EQ(table.MappedAction(Pressed(13)), "keyclick");
  EXPECT_EQ(table.MappedAction(Pressed(27)), "menu");
  EXPECT_EQ(table.MappedAction(Pressed(32)), "");
}

TEST(KeyTable, TheLastMatchingEntryWins) {
  // The plain S matches Ctrl+S too, so the order of the entries decides.
  InputSnapshot ctrlS = Pressed(kKeyS);
  ctrlS.ctrl = true;
  EXPECT_EQ(Table({{kKeyS, "save"}, {0x100 + kKeyS, "quicksave"}}).MappedAction(ctrlS),
            "quicksave");
  EXPECT_EQ(Table({{0x100 + kKeyS, "quicksave"}, {kKeyS, "save"}}).MappedAction(ctrlS), "save");
  EXPECT_EQ(Table({{kKeyS, "save"}, {0x100 + kKeyS, "quicksave"}}).MappedAction(Pressed(kKeyS)),
            "save");
}

TEST(KeyTable, AltCombinationsNeedAlt) {
  const KeyTable table = Table({{0x200 + 13, "screen"}});
  EXPECT_EQ(table.MappedAction(Pressed(13)), "");
  InputSnapshot altEnter = Pressed(13);
  altEnter.alt = true;
  EXPECT_EQ(table.MappedAction(altEnter), "screen");
  altEnter.keyPressed[13] = false;
  EXPECT_EQ(table.MappedAction(altEnter), "");
}

TEST(KeyTable, RepeatCodesFireOnlyAfterTheFirstFrame) {
  const KeyTable table = Table({{0xF00 + 17, "skipclick"}});
  InputSnapshot held;
  held.keyRepeating[17] = true;
  EXPECT_EQ(table.MappedAction(held), "skipclick");
  held.keyPressed[17] = true;  // the frame of the press itself
  EXPECT_EQ(table.MappedAction(held), "");
}

TEST(KeyTable, MouseCodes) {
  InputSnapshot input;
  input.clicked[InputSnapshot::kLeft] = true;
  EXPECT_TRUE(KeyTable::Matches(-1, input));
  EXPECT_FALSE(KeyTable::Matches(-2, input));
  input.clicked = {false, true, false};
  EXPECT_TRUE(KeyTable::Matches(-2, input));
  input.clicked = {false, false, true};
  EXPECT_TRUE(KeyTable::Matches(-3, input));
  input.wheel = 3;
  EXPECT_TRUE(KeyTable::Matches(-6, input));
  EXPECT_FALSE(KeyTable::Matches(-7, input));
  input.wheel = -1;
  EXPECT_FALSE(KeyTable::Matches(-6, input));
  EXPECT_TRUE(KeyTable::Matches(-7, input));
  input.repeating = {true, false, false};
  EXPECT_TRUE(KeyTable::Matches(-8, input));
  EXPECT_FALSE(KeyTable::Matches(-9, input));
  input.repeating = {false, true, true};
  EXPECT_TRUE(KeyTable::Matches(-9, input));
  EXPECT_TRUE(KeyTable::Matches(-10, input));
}

TEST(KeyTable, OtherCodesMatchNothing) {
  InputSnapshot everything;
  everything.clicked.fill(true);
  everything.repeating.fill(true);
  everything.keyPressed.fill(true);
  everything.keyRepeating.fill(true);
  everything.ctrl = everything.alt = true;
  everything.wheel = 1;
  for (int32_t code :
       {0, -4, -5, -11, -0x100, 0x300 + 13, 0xE00 + 13, 0x1000 + 13, 176, 0xFF, 0x100 + 200}) {
    EXPECT_FALSE(KeyTable::Matches(code, everything)) << code;
  }
  EXPECT_TRUE(KeyTable::Matches(175, everything));
}

TEST(KeyTable, EntriesWithoutANameAreSkipped) {
  EXPECT_EQ(Table({{13, "menu"}, {13, ""}}).MappedAction(Pressed(13)), "menu");
}

}  // namespace
}  // namespace mavu::shell
