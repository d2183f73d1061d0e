#include "shell/app/headless_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/bytes.h"

namespace mavu::shell {
namespace {

using Type = InputEvent::Type;

HeadlessInputScript Parse(std::string_view text) {
  return HeadlessInputScript::Parse({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

std::string ErrorOf(std::string_view text) {
  try {
    Parse(text);
  } catch (const base::FormatError& error) {
    return error.what();
  }
  return "no error";
}

InputEvent Event(int64_t frame, Type type, int32_t x, int32_t y, int32_t value,
                 std::string action = {}) {
  return {frame, type, x, y, value, std::move(action)};
}

TEST(HeadlessInput, ReadsEveryForm) {
  const auto script = Parse(
      "1 click 10 20\n"
      "2 rclick -5 +7\n"
      "3 move 0 599\n"
      "4 wheel -120\n"
      "5 key 13\n"
      "6 keyup 13\n"
      "7 action SceneSkipNoLoad\n"
      "8 answer -1\n");
  const std::vector<InputEvent> expected = {Event(1, Type::kClick, 10, 20, 0),
                                            Event(2, Type::kRightClick, -5, 7, 0),
                                            Event(3, Type::kMove, 0, 599, 0),
                                            Event(4, Type::kWheel, 0, 0, -120),
                                            Event(5, Type::kKey, 0, 0, 13),
                                            Event(6, Type::kKeyUp, 0, 0, 13),
                                            Event(7, Type::kAction, 0, 0, 0, "sceneskipnoload"),
                                            Event(8, Type::kAnswer, 0, 0, -1)};
  EXPECT_EQ(script.Events(), expected);
  EXPECT_EQ(script.LastFrame(), 8);
}

TEST(HeadlessInput, SkipsCommentsBlankLinesAndLineEnds) {
  const auto script = Parse("# a run\r\n\r\n  \t\n3\tCLICK 1 2  # the first\r\n\n4 key 27#esc");
  const std::vector<InputEvent> expected = {Event(3, Type::kClick, 1, 2, 0),
                                            Event(4, Type::kKey, 0, 0, 27)};
  EXPECT_EQ(script.Events(), expected);
}

TEST(HeadlessInput, OrdersByFrameAndKeepsTheFileOrderWithinAFrame) {
  const auto script = Parse("5 key 1\n2 move 1 1\n5 keyup 1\n2 click 3 3\n5 key 2\n");
  std::vector<int64_t> frames;
  for (const auto& event : script.Events()) frames.push_back(event.frame);
  EXPECT_EQ(frames, (std::vector<int64_t>{2, 2, 5, 5, 5}));
  const auto five = script.EventsOf(5);
  ASSERT_EQ(five.size(), 3u);
  EXPECT_EQ(five[0], Event(5, Type::kKey, 0, 0, 1));
  EXPECT_EQ(five[1], Event(5, Type::kKeyUp, 0, 0, 1));
  EXPECT_EQ(five[2], Event(5, Type::kKey, 0, 0, 2));
  EXPECT_EQ(script.EventsOf(2)[1].type, Type::kClick);
  EXPECT_TRUE(script.EventsOf(3).empty());
  EXPECT_TRUE(script.EventsOf(6).empty());
}

TEST(HeadlessInput, AnEmptyFileHasNoEvents) {
  EXPECT_TRUE(Parse("").Events().empty());
  EXPECT_EQ(Parse("# nothing\n").LastFrame(), 0);
}

TEST(HeadlessInput, RefusesBadLinesWithTheirNumber) {
  EXPECT_EQ(ErrorOf("1 click 1 1\n\n2 jump 3"), "line 3: unknown event \"jump\"");
  EXPECT_EQ(ErrorOf("7"), "line 1: a frame number and an event are needed");
  EXPECT_EQ(ErrorOf("0 click 1 1"), "line 1: the frame number must lie in 1..2147483647");
  EXPECT_EQ(ErrorOf("2147483648 click 1 1"), "line 1: the frame number must lie in 1..2147483647");
  EXPECT_EQ(ErrorOf("x click 1 1"), "line 1: the frame number \"x\" is not a whole number");
  EXPECT_EQ(ErrorOf("1 click 1"), "line 1: \"click\" takes 2 arguments");
  EXPECT_EQ(ErrorOf("1 key 1 2"), "line 1: \"key\" takes 1 argument");
  EXPECT_EQ(ErrorOf("1 move 1.5 2"), "line 1: the x \"1.5\" is not a whole number");
  EXPECT_EQ(ErrorOf("1 move 1 99999999999"), "line 1: the y \"99999999999\" is not a whole number");
  EXPECT_EQ(ErrorOf("1 wheel +"), "line 1: the wheel delta \"+\" is not a whole number");
  EXPECT_EQ(ErrorOf("1 key 0"), "line 1: virtual keys lie in 1..175");
  EXPECT_EQ(ErrorOf("1 keyup 176"), "line 1: virtual keys lie in 1..175");
  EXPECT_EQ(ErrorOf("1 action fly"), "line 1: unknown action \"fly\"");
  EXPECT_EQ(ErrorOf("1 action"), "line 1: \"action\" takes 1 argument");
  EXPECT_EQ(ErrorOf("1 answer 1\n2 answer 2"), "line 2: answers lie in -1..1");
  EXPECT_EQ(ErrorOf("1 answer yes"), "line 1: the answer \"yes\" is not a whole number");
}

}  // namespace
}  // namespace mavu::shell
