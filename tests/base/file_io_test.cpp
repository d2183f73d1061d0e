#include "base/file_io.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/failing_writes.h"
#include "support/temp_dir.h"

namespace mavu::base {
namespace {

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files.push_back(entry.path().filename());
  return files;
}

TEST(FileIo, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
  test::TempDir dir;
  auto path = dir.Write("a.dat", "old contents");
  Bytes fresh = {1, 2, 3};
  ASSERT_TRUE(WriteFileAtomic(path, fresh));
  EXPECT_EQ(ReadWholeFile(path), fresh);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::filesystem::path>{"a.dat"});
}

TEST(FileIo, FailedWriteKeepsThePreviousFileAndLeavesNoTemporary) {
  test::TempDir dir;
  auto path = dir.Write("a.dat", "old");
  {
    test::FailingWrites failing;
    EXPECT_FALSE(WriteFileAtomic(path, Bytes(100, 9)));
  }
  EXPECT_EQ(ReadWholeFile(path), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::filesystem::path>{"a.dat"});
}

TEST(FileIo, TwoWritersNeverSpoilEachOthersFiles) {
  test::TempDir dir;
  const auto path = dir.Path() / "SystemData.dat";
  const Bytes first(3000, 1), second(7000, 2);
  std::atomic<int> failures = 0;
  std::atomic<bool> done = false;
  auto writer = [&](const Bytes& bytes) {
    for (int i = 0; i < 300; ++i) failures += WriteFileAtomic(path, bytes) ? 0 : 1;
  };
  std::thread a(writer, std::cref(first)), b(writer, std::cref(second));
  std::thread reader([&] {
    while (!done) {
      auto seen = ReadWholeFile(path);
      if (seen && *seen != first && *seen != second) ++failures;
    }
  });
  a.join();
  b.join();
  done = true;
  reader.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::filesystem::path>{"SystemData.dat"});
}

TEST(FileIo, WriteIntoAMissingFolderFailsAndReadOfAMissingFileGivesNothing) {
  test::TempDir dir;
  EXPECT_FALSE(WriteFileAtomic(dir.Path() / "no/such/file", Bytes{1}));
  EXPECT_FALSE(ReadWholeFile(dir.Path() / "absent"));
  auto empty = dir.Write("empty", "");
  EXPECT_EQ(ReadWholeFile(empty), Bytes{});
}

TEST(FileIo, AFolderIsNotReadAsAFile) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.Path() / "folder");
  EXPECT_FALSE(ReadWholeFile(dir.Path() / "folder"));
}

}  // namespace
}  // namespace mavu::base
