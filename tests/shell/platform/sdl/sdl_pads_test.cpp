#include "shell/platform/sdl/sdl_pads.h"

#include <gtest/gtest.h>

#include "support/shell/input_fixture.h"

namespace mavu::shell {
namespace {

// Pads made with SDL's virtual controllers, which SDL maps like any other
// game controller.
class SdlPadsTest : public test::InputFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    config_.Buttons[0] = PadConfig::kLeftButton;    // A
    config_.Buttons[15] = PadConfig::kRightButton;  // the right trigger
    pointer_.SetConfig(config_);
  }
  void TearDown() override {
    pads_.reset();
    for (SDL_Joystick* joystick : joysticks_) SDL_JoystickClose(joystick);
    while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }

  // A virtual controller, opened as a joystick to set its controls.
  SDL_Joystick* Attach() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    joysticks_.push_back(SDL_JoystickOpen(index));
    return joysticks_.back();
  }
  void PassEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) pads_->HandleEvent(event);
  }
  void Poll() {
    pads_->Poll(clock_.NowMs());
    Frame(PadToPointer::kPollIntervalMs);
  }

  PadConfig config_;
  PadToPointer pointer_{Input(), config_};
  std::optional<SdlPads> pads_;
  std::vector<SDL_Joystick*> joysticks_;
};

TEST_F(SdlPadsTest, ControllersComeAndGoAndTheFirstTwoDriveThePointer) {
  SDL_Joystick* first = Attach();
  pads_.emplace(pointer_);
  ASSERT_TRUE(pads_->Started());
  PassEvents();
  EXPECT_EQ(pads_->Count(), 1);  // opened at start, its added event changes nothing
  SDL_Joystick* second = Attach();
  SDL_Joystick* third = Attach();
  PassEvents();
  EXPECT_EQ(pads_->Count(), 3);

  SDL_JoystickSetVirtualAxis(second, SDL_CONTROLLER_AXIS_LEFTX, PadState::kAxisMax);
  SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_A, 1);
  SDL_JoystickSetVirtualAxis(third, SDL_CONTROLLER_AXIS_LEFTY,
                             PadState::kAxisMax);  // third: unread
  Poll();
  Poll();
  EXPECT_EQ(Input().PointerX(), 6);  // 400 pixels per second for 15 ms
  EXPECT_EQ(Input().PointerY(), 0);
  EXPECT_TRUE(Left().held);

  SDL_JoystickSetVirtualAxis(second, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, PadState::kAxisMax);
  Poll();
  EXPECT_TRUE(State().Button(MouseButton::kRight).held);

  // Taking the first pad away lets go of its button.
  SDL_JoystickClose(first);
  joysticks_.erase(joysticks_.begin());
  SDL_JoystickDetachVirtual(0);
  PassEvents();
  EXPECT_EQ(pads_->Count(), 2);
  SDL_JoystickSetVirtualAxis(second, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
  Poll();
  EXPECT_FALSE(Left().held);
  EXPECT_TRUE(Left().released);
}

}  // namespace
}  // namespace mavu::shell
