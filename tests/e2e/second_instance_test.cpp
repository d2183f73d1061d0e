#include <gtest/gtest.h>

#include <cstdlib>

#include "headless_game.h"
#include "shell/app/instance_lock.h"

namespace mavu::test {
namespace {

// With a copy of the game running (here: its lock held), starting it again
// ends at once and silently: no window (there is no display to open one on,
// which would be an error), no message, nothing written.
TEST(SecondInstance, EndsAtOnceWithoutAWindow) {
  TempDir runtime;
  TempDir game;
  ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1), 0);
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  const std::filesystem::path mavu = ProgramFrom("MAVU_BIN_DIR", "mavu");
  const std::optional<shell::InstanceLock> running = shell::InstanceLock::Acquire(mavu.string());
  ASSERT_TRUE(running);
  const ProgramResult second = RunProgram(mavu, {"--game", game.Path().string()}, runtime.Path());
  EXPECT_EQ(second.code, 0);
  EXPECT_EQ(second.err, "");
  EXPECT_TRUE(std::filesystem::is_empty(game.Path()));
}

}  // namespace
}  // namespace mavu::test
