#include "shell/input/input.h"

#include <gtest/gtest.h>

#include "support/shell/input_fixture.h"

namespace mavu::shell {
namespace {

using test::InputFixture;

constexpr uint8_t kKeyS = kVkA + ('S' - 'A');

class InputTest : public InputFixture {};

TEST_F(InputTest, AButtonIsPressedHeldRepeatedAndReleased) {
  Input().MouseDown(MouseButton::kLeft, 100, 100);
  Frame();
  EXPECT_TRUE(Left().held);
  EXPECT_TRUE(Left().pressed);
  EXPECT_TRUE(Left().repeat);
  EXPECT_FALSE(Left().released);
  Frame(1000);  // held exactly 1000 ms: not yet repeating
  EXPECT_TRUE(Left().held);
  EXPECT_FALSE(Left().pressed);
  EXPECT_FALSE(Left().repeat);
  Frame(1);
  EXPECT_TRUE(Left().repeat);
  Frame();
  EXPECT_TRUE(Left().repeat);
  Input().MouseUp(MouseButton::kLeft, 100, 100);
  Frame();
  EXPECT_FALSE(Left().held);
  EXPECT_TRUE(Left().released);
  EXPECT_TRUE(Left().click);  // however long it was held
}

TEST_F(InputTest, AClickIsAReleaseWithinSixteenPixelsOfThePress) {
  for (const auto& [dx, dy, clicks] :
       {std::tuple{10, 0, true}, {0, -15, true}, {16, 0, false}, {0, 16, false}, {-16, 3, false}}) {
    Input().MouseDown(MouseButton::kLeft, 300, 300);
    Frame();
    Input().MouseUp(MouseButton::kLeft, 300 + dx, 300 + dy);
    Frame();
    EXPECT_EQ(Input().Clicked(MouseButton::kLeft), clicks) << dx << "," << dy;
    Frame();
    EXPECT_FALSE(Input().AnyClick());
  }
}

TEST_F(InputTest, TwoPressesBeforeAReleaseGiveNoClickAndAnyReleaseLetsGoOfAll) {
  Input().MouseDown(MouseButton::kLeft, 5, 5);
  Frame();
  Input().MouseDown(MouseButton::kRight, 5, 5);
  Frame();
  EXPECT_EQ(Input().Modifiers(), kModifierLeftHeld | kModifierRightHeld);
  Input().MouseUp(MouseButton::kRight, 5, 5);
  Frame();
  EXPECT_TRUE(Left().released);
  EXPECT_TRUE(State().Button(MouseButton::kRight).released);
  EXPECT_FALSE(Input().AnyClick());
  EXPECT_EQ(Input().Modifiers(), 0);
}

TEST_F(InputTest, TapsBetweenTwoPollsAreNotLost) {
  Input().MouseDown(MouseButton::kMiddle, 50, 60);
  Input().MouseUp(MouseButton::kMiddle, 50, 60);
  Input().KeyDown(kVkReturn);
  Input().KeyUp(kVkReturn);
  Frame();
  const ButtonState& middle = State().Button(MouseButton::kMiddle);
  EXPECT_TRUE(middle.pressed);
  EXPECT_TRUE(middle.released);
  EXPECT_TRUE(middle.click);
  EXPECT_FALSE(middle.held);
  EXPECT_TRUE(State().keyPressed[kVkReturn]);
  EXPECT_TRUE(State().keyDown[kVkReturn]);
  Frame();
  EXPECT_FALSE(Input().AnyClick());
  EXPECT_FALSE(State().keyPressed[kVkReturn]);
  EXPECT_FALSE(State().keyDown[kVkReturn]);
  // A release and a new press between two polls: the click and the press both count.
  Input().MouseDown(MouseButton::kLeft, 50, 60);
  Frame();
  Input().MouseUp(MouseButton::kLeft, 50, 60);
  Input().MouseDown(MouseButton::kLeft, 50, 60);
  Frame();
  EXPECT_TRUE(Left().click);
  EXPECT_TRUE(Left().pressed);
  EXPECT_TRUE(Left().held);
}

TEST_F(InputTest, TheWheelIsTakenByOnePoll) {
  Input().MouseWheel(1);
  Input().MouseWheel(-2);
  Frame();
  EXPECT_EQ(Input().Wheel(), -2);
  Frame();
  EXPECT_EQ(Input().Wheel(), 0);
}

TEST_F(InputTest, ModifiersComeFromEitherSideAndTheHeldButtons) {
  Input().KeyDown(kVkRightControl);
  Input().KeyDown(kVkLeftShift);
  Input().MouseDown(MouseButton::kMiddle, 0, 0);
  Frame();
  EXPECT_EQ(Input().Modifiers(), kModifierCtrl | kModifierShift | kModifierMiddleHeld);
  EXPECT_TRUE(State().keyDown[kVkControl]);
  EXPECT_TRUE(State().keyPressed[kVkControl]);
  Input().KeyUp(kVkRightControl);
  Input().KeyUp(kVkLeftShift);
  Input().KeyDown(kVkAlt);
  Frame();
  EXPECT_EQ(Input().Modifiers(), kModifierAlt | kModifierMiddleHeld);
  EXPECT_FALSE(State().keyDown[kVkControl]);
}

TEST_F(InputTest, AHeldKeyRepeatsOnceTheDelayHasPassed) {
  Input().KeyDown(kKeyS);
  Frame();
  EXPECT_TRUE(State().keyPressed[kKeyS]);
  EXPECT_TRUE(State().keyRepeat[kKeyS]);
  Input().KeyDown(kKeyS);  // the platform's own auto-repeat is no new press
  Frame(1000);
  EXPECT_FALSE(State().keyPressed[kKeyS]);
  EXPECT_FALSE(State().keyRepeat[kKeyS]);
  Frame(1);
  EXPECT_TRUE(State().keyRepeat[kKeyS]);
  Frame();
  EXPECT_TRUE(State().keyRepeat[kKeyS]);
  Input().KeyUp(kKeyS);
  Frame();
  EXPECT_FALSE(State().keyDown[kKeyS]);
  EXPECT_FALSE(State().keyRepeat[kKeyS]);
}

TEST_F(InputTest, TheCursorHidesAfterTheDelayWithoutMovement) {
  Frame(9999);
  EXPECT_FALSE(Input().CursorHidden());
  Frame(1);
  EXPECT_TRUE(Input().CursorHidden());
  Input().MouseMove(1, 1);
  EXPECT_FALSE(Input().CursorHidden());
  Frame(6000);
  Input().SetCursorHideDelay(5000);  // the idle time is cut to the new delay
  Frame(0);
  EXPECT_TRUE(Input().CursorHidden());
  Input().SetCursorHideDelay(0);
  EXPECT_FALSE(Input().CursorHidden());
  Frame(60000);
  EXPECT_FALSE(Input().CursorHidden());
}

TEST_F(InputTest, ThePointerStaysInTheFrame) {
  Input().MouseMove(-5, 9999);
  EXPECT_EQ(Input().PointerX(), 0);
  EXPECT_EQ(Input().PointerY(), kHeight - 1);
  Input().MouseDown(MouseButton::kLeft, kWidth, -1);
  EXPECT_EQ(Input().PointerX(), kWidth - 1);
  EXPECT_EQ(Input().PointerY(), 0);
}

TEST_F(InputTest, TheActionIsTheKeyTablesUnlessOneWasInjected) {
  UseKeys({{kVkEscape, "exit"}, {-1, "click"}});
  Input().KeyDown(kVkEscape);
  Frame();
  EXPECT_EQ(Input().MappedKeyAction(), "exit");
  EXPECT_EQ(Input().ActiveAction(), "exit");
  Input().MouseDown(MouseButton::kLeft, 1, 1);
  Input().MouseUp(MouseButton::kLeft, 1, 1);
  Input().InjectAction("AUTO");
  Frame();
  EXPECT_EQ(Input().MappedKeyAction(), "auto");
  Frame();
  EXPECT_EQ(Input().MappedKeyAction(), "");
}

// The window in the background takes no input, and a click of its last
// active poll does not go on clicking there.
TEST_F(InputTest, AnInactiveWindowTakesNothingAndLetsGo) {
  UseKeys({{-1, "click"}});
  Input().KeyDown(kVkLeftShift);
  Input().MouseDown(MouseButton::kLeft, 1, 1);
  Input().MouseUp(MouseButton::kLeft, 1, 1);
  Frame(10000);
  ASSERT_EQ(Input().MappedKeyAction(), "click");
  ASSERT_TRUE(Input().CursorHidden());
  Input().SetWindowActive(false);
  Input().MouseMove(7, 7);
  Input().KeyDown(kVkReturn);
  Frame();
  EXPECT_EQ(Input().MappedKeyAction(), "");
  EXPECT_FALSE(Input().AnyClick());
  EXPECT_EQ(Input().Modifiers(), 0);
  EXPECT_EQ(Input().PointerX(), 1);
  EXPECT_TRUE(Input().CursorHidden());
  Input().SetWindowActive(true);
  Frame();
  EXPECT_FALSE(State().keyDown[kVkLeftShift]);
  EXPECT_FALSE(State().keyDown[kVkReturn]);
}

}  // namespace
}  // namespace mavu::shell
