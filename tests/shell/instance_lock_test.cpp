#include "shell/app/instance_lock.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace mavu::shell {
namespace {

TEST(InstanceLock, OneHolderAtATimeNamedAfterTheProgram) {
  test::TempDir dir;
  std::optional<InstanceLock> first = InstanceLock::AcquireIn(dir.Path(), "/opt/games/MyGame");
  ASSERT_TRUE(first);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "application_mygame"));
  EXPECT_FALSE(InstanceLock::AcquireIn(dir.Path(), "/elsewhere/MYGAME"));
  EXPECT_TRUE(InstanceLock::AcquireIn(dir.Path(), "/opt/games/other"));
  first.reset();
  EXPECT_TRUE(InstanceLock::AcquireIn(dir.Path(), "/opt/games/MyGame"));
  // A folder where no lock can be made does not keep the game from running.
  EXPECT_TRUE(InstanceLock::AcquireIn(dir.Path() / "missing", "mygame"));
}

}  // namespace
}  // namespace mavu::shell
