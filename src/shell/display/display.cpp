#include "shell/display/display.h"

namespace mavu::shell {

ScreenMode ScreenMode::Limited() const {
  ScreenMode limited = *this;
  if (width < 0 || width > kMaxWidth) limited.width = kMaxWidth;
  if (height < 0 || height > kMaxHeight) limited.height = kMaxHeight;
  return limited;
}

}  // namespace mavu::shell
