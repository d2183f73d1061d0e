#include "shell/display/display.h"

#include <gtest/gtest.h>

namespace mavu::shell {
namespace {

TEST(ScreenMode, SizesOutsideTheLimitsBecomeTheLargest) {
  const auto limited = [](int width, int height) {
    const ScreenMode mode = ScreenMode{width, height, false, true}.Limited();
    return std::pair(mode.width, mode.height);
  };
  EXPECT_EQ(limited(1280, -1), std::pair(1024, 768));
  EXPECT_EQ(limited(0, 0), std::pair(1024, 768));
  EXPECT_EQ(limited(1024, 768), std::pair(1024, 768));
  EXPECT_EQ(limited(1, 600), std::pair(1, 600));
}

}  // namespace
}  // namespace mavu::shell
