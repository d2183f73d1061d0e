#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/dialog_service.h"
#include "shell/input/virtual_keys.h"

namespace mavu::shell {

// One line of a headless run's input file: "FRAME click X Y", "FRAME rclick X Y",
// "FRAME move X Y", "FRAME wheel N", "FRAME key VK", "FRAME keyup VK",
// "FRAME action NAME" or "FRAME answer N" (the next dialog shown from that
// frame on gives the answer N).
struct InputEvent {
  enum class Type : uint8_t { kClick, kRightClick, kMove, kWheel, kKey, kKeyUp, kAction, kAnswer };

  int64_t frame = 0;  // 1 is the first frame
  Type type = Type::kMove;
  int32_t x = 0;  // Click, RightClick, Move
  int32_t y = 0;
  int32_t value = 0;   // the wheel delta, the virtual key or the answer
  std::string action;  // lower case

  bool operator==(const InputEvent&) const = default;
};

// The parsed input file: its events by frame, lines of one frame in file order.
// Words are separated by blanks, "#" starts a comment and empty lines are
// skipped. A line that is not one of the forms above is refused with its line
// number (base::FormatError), as are frames below 1, keys outside the 176
// virtual keys, action names that are not system actions and answers that no
// dialog gives (they lie in -1..1).
class HeadlessInputScript {
 public:
  static constexpr int64_t kMaxFrame = INT32_MAX;
  static constexpr int32_t kFirstKey = 1;
  static constexpr int32_t kLastKey = kVirtualKeyCount - 1;
  static constexpr int32_t kLowestAnswer = base::DialogService::kCancelExit;
  static constexpr int32_t kHighestAnswer = base::DialogService::kExitGame;

  HeadlessInputScript() = default;
  static HeadlessInputScript Parse(std::span<const uint8_t> bytes);

  const std::vector<InputEvent>& Events() const { return events_; }
  // The events of one frame, in file order.
  std::span<const InputEvent> EventsOf(int64_t frame) const;
  // The frame of the last event; 0 without events.
  int64_t LastFrame() const { return events_.empty() ? 0 : events_.back().frame; }

 private:
  std::vector<InputEvent> events_;  // sorted by frame, stable
};

}  // namespace mavu::shell
