#pragma once

#include <cstdint>

namespace mavu::shell {

// What the system object does with the input state each frame, besides what
// the interpreter reads of it.
class SystemInput {
 public:
  static constexpr int32_t kCursorHideMs = 10000;

  virtual ~SystemInput() = default;
  // Takes the events since the last poll into this frame's state.
  virtual void Poll() = 0;
  // A left, right or middle click in this poll.
  virtual bool AnyClick() const = 0;
  // The cursor hides after this long without movement (counted from poll to
  // poll); 0 shows it for good.
  virtual void SetCursorHideDelay(int32_t ms) = 0;
};

}  // namespace mavu::shell
