#include "shell/platform/headless/headless_input_source.h"

#include <gtest/gtest.h>

#include <string_view>

#include "support/shell/input_fixture.h"

namespace mavu::shell {
namespace {

class HeadlessInputSourceTest : public test::InputFixture {
 protected:
  void Load(std::string_view text, std::initializer_list<resource::KeyBinding> bindings = {}) {
    UseKeys(bindings);
    source_.emplace(
        HeadlessInputScript::Parse({reinterpret_cast<const uint8_t*>(text.data()), text.size()}));
    frame_ = 0;
  }
  // Plays the next frame as the runner does: its events, then the poll.
  std::string Play() {
    source_->Feed(++frame_, Input());
    Frame();
    return Input().MappedKeyAction();
  }

  std::optional<HeadlessInputSource> source_;
  int64_t frame_ = 0;
};

TEST_F(HeadlessInputSourceTest, AClickIsALeftClickAndTheClickActionInItsOwnFrame) {
  Load("2 click 100 200\n");
  EXPECT_EQ(Play(), "");
  EXPECT_EQ(Play(), "click");
  EXPECT_TRUE(Input().Clicked(MouseButton::kLeft));
  EXPECT_EQ(Input().PointerX(), 100);
  EXPECT_EQ(Input().PointerY(), 200);
  EXPECT_EQ(Play(), "");
  EXPECT_FALSE(Input().AnyClick());
  EXPECT_EQ(Input().PointerX(), 100);
}

TEST_F(HeadlessInputSourceTest, ThePointerStaysOnTheScreen) {
  Load("1 move -10 9999\n2 click 800 -1\n");
  Play();
  EXPECT_EQ(Input().PointerX(), 0);
  EXPECT_EQ(Input().PointerY(), kHeight - 1);
  Play();
  EXPECT_EQ(Input().PointerX(), kWidth - 1);
  EXPECT_EQ(Input().PointerY(), 0);
}

TEST_F(HeadlessInputSourceTest, KeysRightClicksAndTheWheelGoThroughTheKeyTable) {
  Load("1 key 27\n2 keyup 27\n3 key 13\n3 keyup 13\n4 rclick 5 6\n5 wheel 120\n6 wheel -120\n",
       {{27, "exit"}, {13, "keyclick"}, {-2, "menu"}, {-6, "log"}, {-7, "auto"}});
  EXPECT_EQ(Play(), "exit");
  EXPECT_EQ(Play(), "");
  EXPECT_EQ(Play(), "keyclick");  // tapped within the frame
  EXPECT_EQ(Play(), "menu");
  EXPECT_EQ(Input().PointerX(), 5);
  EXPECT_EQ(Play(), "log");
  EXPECT_EQ(Play(), "auto");
  EXPECT_EQ(Play(), "");
}

TEST_F(HeadlessInputSourceTest, HeldKeysRepeatAfterASecond) {
  // Pressed at 25 ms: repeating once more than 1000 ms have passed, at 1050 ms.
  Load("1 key 17\n", {{0xF00 + 17, "skipclick"}});
  for (int frame = 1; frame <= 41; ++frame) EXPECT_EQ(Play(), "") << frame;
  EXPECT_EQ(Play(), "skipclick");
}

TEST_F(HeadlessInputSourceTest, TheLastActionOfAFrameWinsOverTheKeyTable) {
  Load("1 key 27\n1 action skip\n2 action auto\n2 click 3 4\n3 click 3 4\n3 action view\n",
       {{27, "exit"}});
  EXPECT_EQ(Play(), "skip");
  EXPECT_EQ(Play(), "click");
  EXPECT_EQ(Play(), "view");
}

}  // namespace
}  // namespace mavu::shell
