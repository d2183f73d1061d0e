#include "shell/display/display.h"

namespace mavu::shell {

ScreenMode ScreenMode::Limited() const {
  ScreenMode limited = *this;
  // A zero size is as unusable as a negative one: the game would have no screen.
  if (width <= 0 || width > kMaxWidth) limited.width = kMaxWidth;
  if (height <= 0 || height > kMaxHeight) limited.height = kMaxHeight;
  return limited;
}

}  // namespace mavu::shell
