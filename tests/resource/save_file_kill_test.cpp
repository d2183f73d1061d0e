#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "resource/save_data.h"
#include "support/temp_dir.h"

// A saving process killed at random moments, again and again.
namespace mavu::resource {
namespace {

constexpr uint32_t kCodeKey = 0x123456;

// A state big enough that writing it takes a while, different for each seed.
base::Bytes StateOf(uint32_t seed) {
  base::Bytes state(4 << 20);
  for (size_t i = 0; i < state.size(); ++i) state[i] = static_cast<uint8_t>(i * seed >> 3);
  return state;
}

bool WriteState(const std::filesystem::path& file, const base::Bytes& state) {
  TKelSaveData data(kCodeKey);
  data.SetHeader({"title", "", "", ""}, "excerpt");
  data.SetState(state);
  return data.WriteSaveFile(file, false);  // unpacked: most of the time goes to the file
}

int Leftovers(const std::filesystem::path& folder) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    count += entry.path().extension() == ".tmp" ? 1 : 0;
  }
  return count;
}

TEST(SaveFileKillTest, AWriterKilledAnywhereLeavesTheOldOrTheNewSaveAndNoPileOfLeftovers) {
  const test::TempDir folder;
  const std::filesystem::path file = folder.Path() / "QuickSaveData.svd";
  const base::Bytes first = StateOf(1);
  const base::Bytes second = StateOf(2);
  ASSERT_TRUE(WriteState(file, first));
  std::mt19937 random(7);
  for (int kill = 0; kill < 100; ++kill) {
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      for (int i = 0;; ++i) WriteState(file, i % 2 == 0 ? second : first);
    }
    usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
    ::kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);

    TKelSaveData data(kCodeKey);
    ASSERT_TRUE(data.ReadSaveFile(file, true, true, false)) << "after kill " << kill;
    ASSERT_TRUE(*data.State() == first || *data.State() == second) << "after kill " << kill;
    // At most the killed writer's own: each writer clears what the last one left.
    ASSERT_LE(Leftovers(folder.Path()), 1) << "after kill " << kill;
  }
  ASSERT_TRUE(WriteState(file, first));
  EXPECT_EQ(Leftovers(folder.Path()), 0);
}

}  // namespace
}  // namespace mavu::resource
