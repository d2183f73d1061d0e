#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "headless_game.h"

extern char** environ;

// A logout or Ctrl+C ends a window run as the player's "exit" does: no
// question nobody would answer, the system data and settings saved.
namespace mavu::test {
namespace {

// The exit status, or -1 when the process has not ended within `seconds`.
int WaitForExit(pid_t pid, int seconds) {
  for (int i = 0; i < seconds * 20; ++i) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

TEST(QuitSignal, TerminatingAWindowRunSavesAndExits) {
  TempDir runtime;
  ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1), 0);
  ASSERT_EQ(setenv("SDL_VIDEODRIVER", "dummy", 1), 0);
  ASSERT_EQ(setenv("SDL_AUDIODRIVER", "dummy", 1), 0);
  HeadlessGame game;
  game.Script("@@TOP\n\\clk\n");
  game.Pack();
  const std::string mavu = ProgramFrom("MAVU_BIN_DIR", "mavu").string();
  const std::string folder = game.Folder().string();
  char* argv[] = {const_cast<char*>(mavu.c_str()), const_cast<char*>("--game"),
                  const_cast<char*>(folder.c_str()), nullptr};
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, mavu.c_str(), &quiet, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&quiet);
  std::this_thread::sleep_for(std::chrono::seconds(2));  // past the start-up steps
  kill(pid, SIGTERM);
  EXPECT_EQ(WaitForExit(pid, 10), 0);
  EXPECT_TRUE(std::filesystem::exists(game.Folder() / "SaveData" / "SystemData.dat"));
  EXPECT_TRUE(std::filesystem::exists(game.Folder() / "GameData" / "System" / "config.txt"));
}

}  // namespace
}  // namespace mavu::test
