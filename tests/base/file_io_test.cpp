#include <gtest/gtest.h>

#include "base/file_io.h"
#include "support/temp_dir.h"

namespace mavu::base {
namespace {

TEST(FileIo, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
  test::TempDir dir;
  auto path = dir.Write("a.dat", "old contents");
  Bytes fresh = {1, 2, 3};
  ASSERT_TRUE(WriteFileAtomic(path, fresh));
  EXPECT_EQ(ReadWholeFile(path), fresh);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "a.dat.tmp"));
}

TEST(FileIo, FailedWriteKeepsThePreviousFile) {
  test::TempDir dir;
  auto path = dir.Write("a.dat", "old");
  // A folder where the temporary file must go makes the write fail, even for root.
  std::filesystem::create_directory(dir.Path() / "a.dat.tmp");
  EXPECT_FALSE(WriteFileAtomic(path, Bytes{9}));
  EXPECT_EQ(ReadWholeFile(path), (Bytes{'o', 'l', 'd'}));
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
