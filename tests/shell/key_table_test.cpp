#include "shell/input/key_table.h"

#include <gtest/gtest.h>

namespace mavu::shell {
namespace {

using Bindings = std::array<resource::TKeyBinding, resource::kKeyBindingCount>;

constexpr int kKeyS = 0x53;

TKeyTable Table(std::initializer_list<resource::TKeyBinding> entries) {
  Bindings bindings;
  size_t i = 0;
  for (const auto& entry : entries) bindings[i++] = entry;
  return TKeyTable(bindings);
}

TInputSnapshot Pressed(int key) {
  TInputSnapshot input;
  input.keyPressed[key] = true;
  return input;
}

TEST(KeyTable, NothingMatchesWithoutInput) {
  EXPECT_EQ(Table({{13, "keyclick"}, {-1, "click"}}).MappedAction({}), "");
}

TEST(KeyTable, APressedKeyGivesItsAction) {
  const TKeyTable table = Table({{13, "keyclick"}, {27, "menu"}});
  EXPECT_EQ(table.MappedAction(Pressed(13)), "keyclick");
  EXPECT_EQ(table.MappedAction(Pressed(27)), "menu");
  EXPECT_EQ(table.MappedAction(Pressed(32)), "");
}

TEST(KeyTable, TheLastMatchingEntryWins) {
  // The plain S matches Ctrl+S too, so the order of the entries decides.
  TInputSnapshot ctrlS = Pressed(kKeyS);
  ctrlS.ctrl = true;
  EXPECT_EQ(Table({{kKeyS, "save"}, {0x100 + kKeyS, "quicksave"}}).MappedAction(ctrlS),
            "quicksave");
  EXPECT_EQ(Table({{0x100 + kKeyS, "quicksave"}, {kKeyS, "save"}}).MappedAction(ctrlS), "save");
  EXPECT_EQ(Table({{kKeyS, "save"}, {0x100 + kKeyS, "quicksave"}}).MappedAction(Pressed(kKeyS)),
            "save");
}

TEST(KeyTable, AltCombinationsNeedAlt) {
  const TKeyTable table = Table({{0x200 + 13, "screen"}});
  EXPECT_EQ(table.MappedAction(Pressed(13)), "");
  TInputSnapshot altEnter = Pressed(13);
  altEnter.alt = true;
  EXPECT_EQ(table.MappedAction(altEnter), "screen");
  altEnter.keyPressed[13] = false;
  EXPECT_EQ(table.MappedAction(altEnter), "");
}

TEST(KeyTable, RepeatCodesFireOnlyAfterTheFirstFrame) {
  const TKeyTable table = Table({{0xF00 + 17, "skipclick"}});
  TInputSnapshot held;
  held.keyRepeating[17] = true;
  EXPECT_EQ(table.MappedAction(held), "skipclick");
  held.keyPressed[17] = true;  // the frame of the press itself
  EXPECT_EQ(table.MappedAction(held), "");
}

TEST(KeyTable, MouseCodes) {
  TInputSnapshot input;
  input.clicked[TInputSnapshot::kLeft] = true;
  EXPECT_TRUE(TKeyTable::Matches(-1, input));
  EXPECT_FALSE(TKeyTable::Matches(-2, input));
  input.clicked = {false, true, false};
  EXPECT_TRUE(TKeyTable::Matches(-2, input));
  input.clicked = {false, false, true};
  EXPECT_TRUE(TKeyTable::Matches(-3, input));
  input.wheel = 3;
  EXPECT_TRUE(TKeyTable::Matches(-6, input));
  EXPECT_FALSE(TKeyTable::Matches(-7, input));
  input.wheel = -1;
  EXPECT_FALSE(TKeyTable::Matches(-6, input));
  EXPECT_TRUE(TKeyTable::Matches(-7, input));
  input.repeating = {true, false, false};
  EXPECT_TRUE(TKeyTable::Matches(-8, input));
  EXPECT_FALSE(TKeyTable::Matches(-9, input));
  input.repeating = {false, true, true};
  EXPECT_TRUE(TKeyTable::Matches(-9, input));
  EXPECT_TRUE(TKeyTable::Matches(-10, input));
}

TEST(KeyTable, OtherCodesMatchNothing) {
  TInputSnapshot everything;
  everything.clicked.fill(true);
  everything.repeating.fill(true);
  everything.keyPressed.fill(true);
  everything.keyRepeating.fill(true);
  everything.ctrl = everything.alt = true;
  everything.wheel = 1;
  for (int32_t code :
       {0, -4, -5, -11, -0x100, 0x300 + 13, 0xE00 + 13, 0x1000 + 13, 176, 0xFF, 0x100 + 200}) {
    EXPECT_FALSE(TKeyTable::Matches(code, everything)) << code;
  }
  EXPECT_TRUE(TKeyTable::Matches(175, everything));
}

TEST(KeyTable, EntriesWithoutANameAreSkipped) {
  EXPECT_EQ(Table({{13, "menu"}, {13, ""}}).MappedAction(Pressed(13)), "menu");
}

}  // namespace
}  // namespace mavu::shell
