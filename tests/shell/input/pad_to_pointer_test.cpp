#include "shell/input/pad_to_pointer.h"

#include <gtest/gtest.h>

#include "support/shell/input_fixture.h"

namespace mavu::shell {
namespace {

constexpr uint8_t kKeyS = kVkA + ('S' - 'A');

PadState Stick(int32_t x, int32_t y) {
  PadState pads;
  pads.x = x;
  pads.y = y;
  return pads;
}

class PadToPointerTest : public test::InputFixture {
 protected:
  // Steps the pads every poll interval for `ms` on the clock.
  void Hold(const PadState& pads, uint64_t ms) {
    for (uint64_t t = 0; t <= ms; t += PadToPointer::kPollIntervalMs) {
      pads_.Step(pads, clock_.NowMs());
      clock_.Advance(PadToPointer::kPollIntervalMs);
    }
  }
  // Presses button n (1-based) in one pass and lets go in the next, polling after each.
  void Tap(int n) {
    PadState down;
    down.buttons.set(n - 1);
    pads_.Step(down, clock_.NowMs());
    Frame();
    pads_.Step({}, clock_.NowMs());
    Frame();
  }

  PadConfig config_;
  PadToPointer pads_{Input(), config_};
};

TEST_F(PadToPointerTest, AFullyDeflectedStickMovesAtTheConfiguredSpeed) {
  Hold(Stick(PadState::kAxisMax, 0), 1000);
  EXPECT_NEAR(Input().PointerX(), 400, 7);
  EXPECT_EQ(Input().PointerY(), 0);
  config_.Speed = 200;
  pads_.SetConfig(config_);
  Hold(Stick(0, PadState::kAxisMax), 1000);
  EXPECT_NEAR(Input().PointerY(), 200, 4);
}

TEST_F(PadToPointerTest, AFirstPassAndALongGapMoveAtMostASecondsWorth) {
  pads_.Step(Stick(PadState::kAxisMax, 0), 5000);
  EXPECT_EQ(Input().PointerX(), 0);
  pads_.Step(Stick(PadState::kAxisMax, 0), 65000);
  EXPECT_EQ(Input().PointerX(), 400);
}

TEST_F(PadToPointerTest, ASlightlyTiltedStickStillCreeps) {
  // 1/16 deflection at 400 pixels per second: 25 pixels per second, under
  // one pixel per 15 ms pass.
  config_.DeadZone = 0;
  pads_.SetConfig(config_);
  Hold(Stick(2048, 0), 2000);
  EXPECT_NEAR(Input().PointerX(), 50, 2);
}

TEST_F(PadToPointerTest, TheDeadZoneCutsTheMiddleAndStretchesTheRest) {
  EXPECT_EQ(PadToPointer::ApplyDeadZone(3000, 10), 0);
  EXPECT_EQ(PadToPointer::ApplyDeadZone(-3276, 10), 0);
  EXPECT_EQ(PadToPointer::ApplyDeadZone(3276, 10), 0);
  EXPECT_EQ(PadToPointer::ApplyDeadZone(3276 + 90, 10), 100);
  EXPECT_EQ(PadToPointer::ApplyDeadZone(PadState::kAxisMax, 10), PadState::kAxisMax);
  EXPECT_EQ(PadToPointer::ApplyDeadZone(PadState::kAxisMin, 10), PadState::kAxisMin);
  EXPECT_EQ(PadToPointer::ApplyDeadZone(1, 0), 1);
  EXPECT_EQ(PadToPointer::ApplyDeadZone(PadState::kAxisMax, 100), 0);
  Hold(Stick(3000, -3000), 1000);
  EXPECT_EQ(Input().PointerX(), 0);
  EXPECT_EQ(Input().PointerY(), 0);
}

TEST_F(PadToPointerTest, AxisSpeedRoundsHalvesToEven) {
  EXPECT_EQ(PadToPointer::AxisSpeed(PadState::kAxisMax, 400), 400);
  EXPECT_EQ(PadToPointer::AxisSpeed(PadState::kAxisMin, 400), -400);
  EXPECT_EQ(PadToPointer::AxisSpeed(16384, 1), 0);    // 0.5
  EXPECT_EQ(PadToPointer::AxisSpeed(16384, 3), 2);    // 1.5
  EXPECT_EQ(PadToPointer::AxisSpeed(-16384, 5), -2);  // -2.5
}

TEST_F(PadToPointerTest, MouseButtonCodesClickWhereThePointerIs) {
  config_.Buttons = {PadConfig::kLeftButton, PadConfig::kRightButton, PadConfig::kMiddleButton};
  pads_.SetConfig(config_);
  Input().MouseMove(120, 80);
  for (int n = 1; n <= 3; ++n) {
    Tap(n);
    EXPECT_TRUE(Input().Clicked(static_cast<MouseButton>(n - 1))) << n;
  }
}

TEST_F(PadToPointerTest, WheelCodesStepTheWheelOnThePress) {
  config_.Buttons = {PadConfig::kWheelForward, PadConfig::kWheelBackward};
  pads_.SetConfig(config_);
  PadState down;
  down.buttons.set(0);
  pads_.Step(down, 0);
  Frame();
  EXPECT_EQ(Input().Wheel(), 1);
  pads_.Step(down, 15);  // held: no further step
  Frame();
  EXPECT_EQ(Input().Wheel(), 0);
  pads_.Step({}, 30);
  down.buttons = 0b10;
  pads_.Step(down, 45);
  Frame();
  EXPECT_EQ(Input().Wheel(), -1);
}

TEST_F(PadToPointerTest, KeyCodesHoldTheirModifiers) {
  UseKeys({{0x100 + kKeyS, "quicksave"}});
  PadToPointer pads(Input(), config_);
  config_.Buttons[4] = PadConfig::kCtrlBit | PadConfig::kShiftBit | kKeyS;
  pads.SetConfig(config_);
  PadState down;
  down.buttons.set(4);
  pads.Step(down, 0);
  Frame();
  EXPECT_TRUE(State().keyPressed[kKeyS]);
  EXPECT_EQ(Input().Modifiers(), kModifierCtrl | kModifierShift);
  EXPECT_EQ(Input().MappedKeyAction(), "quicksave");
  pads.Step({}, 15);
  Frame();
  EXPECT_FALSE(State().keyDown[kKeyS]);
  EXPECT_EQ(Input().Modifiers(), 0);
}

TEST_F(PadToPointerTest, OtherCodesDoNothing) {
  config_.Buttons = {0, -4, -5, -8};
  pads_.SetConfig(config_);
  for (int n = 1; n <= 4; ++n) Tap(n);
  EXPECT_FALSE(Input().AnyClick());
  EXPECT_EQ(Input().Wheel(), 0);
  EXPECT_EQ(Input().Modifiers(), 0);
}

TEST(PadState, MergingTakesTheStrongerAxesAndBothPadsButtons) {
  PadState a{100, -20000, 0b0101};
  PadState b{-200, 300, 0b1001};
  const PadState merged = PadState::Merge(a, b);
  EXPECT_EQ(merged.x, -200);
  EXPECT_EQ(merged.y, -20000);
  EXPECT_EQ(merged.buttons.to_ulong(), 0b1101u);
}

}  // namespace
}  // namespace mavu::shell
