#include "resource/file_log.h"

#include <gtest/gtest.h>

#include <string>

#include "resource/data_tree.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using base::Bytes;

class FileLogTest : public ::testing::Test {
 protected:
  int32_t Count(std::string_view name) { return log_.Counts().LookupCount(name); }

  FileLog log_;
};

TEST_F(FileLogTest, NothingIsCountedWithoutFilters) {
  log_.CountOpen("cg\\ev01.png");
  EXPECT_EQ(Count("cg\\ev01.png"), -1);
}

TEST_F(FileLogTest, AFilterAnywhereInTheNameCountsEachOpen) {
  log_.AddFilter("ev");
  log_.CountOpen("cg\\ev01.png");
  EXPECT_EQ(Count("cg\\ev01.png"), 1);
  log_.CountOpen("cg\\ev01.png");
  log_.CountOpen("cg\\ev01.png");
  EXPECT_EQ(Count("cg\\ev01.png"), 3);
  log_.CountOpen("bg\\room.png");
  EXPECT_EQ(Count("bg\\room.png"), -1);
}

TEST_F(FileLogTest, SystemResourcesAreNeverCounted) {
  log_.AddFilter("system");
  log_.AddFilter("png");
  log_.CountOpen("system\\menu\\back.png");
  EXPECT_EQ(Count("system\\menu\\back.png"), -1);
  log_.CountOpen("cg\\system\\a.png");  // only the leading folder is the engine's
  EXPECT_EQ(Count("cg\\system\\a.png"), 1);
}

TEST_F(FileLogTest, TwoMatchingFiltersCountOnce) {
  log_.AddFilter("cg");
  log_.AddFilter("png");
  log_.CountOpen("cg\\a.png");
  EXPECT_EQ(Count("cg\\a.png"), 1);
}

TEST_F(FileLogTest, FreeFiltersBeforeAMatchingOneAreSkipped) {
  log_.AddFilter("x");
  log_.AddFilter("y");
  log_.AddFilter("cg");
  log_.RemoveFilter("x");
  log_.RemoveFilter("y");
  log_.CountOpen("cg\\a.png");
  EXPECT_EQ(Count("cg\\a.png"), 1);
}

TEST_F(FileLogTest, CountsStopAt16777215) {
  log_.AddFilter("cg");
  log_.Counts().RecordCount("cg\\a.png", 16777214, true);
  log_.CountOpen("cg\\a.png");
  EXPECT_EQ(Count("cg\\a.png"), 16777215);
  log_.CountOpen("cg\\a.png");
  EXPECT_EQ(Count("cg\\a.png"), 16777215);
  log_.Counts().RecordCount("cg\\b.png", 20000000, true);
  log_.CountOpen("cg\\b.png");
  EXPECT_EQ(Count("cg\\b.png"), 20000000);
  log_.Counts().RecordCount("cg\\c.png", INT32_MAX, true);
  log_.CountOpen("cg\\c.png");
  EXPECT_EQ(Count("cg\\c.png"), INT32_MAX);
}

TEST_F(FileLogTest, AStoredNegativeCountGrowsByOne) {
  log_.AddFilter("cg");
  log_.Counts().RecordCount("cg\\a.png", -5, true);
  log_.CountOpen("cg\\a.png");
  EXPECT_EQ(Count("cg\\a.png"), -4);
  log_.Counts().RecordCount("cg\\b.png", -1, true);
  log_.CountOpen("cg\\b.png");
  EXPECT_EQ(Count("cg\\b.png"), 0);
}

TEST_F(FileLogTest, ALockedLogCountsNothing) {
  log_.AddFilter("cg");
  log_.SetLocked(true);
  log_.CountOpen("cg\\a.png");
  EXPECT_EQ(Count("cg\\a.png"), -1);
  log_.SetLocked(false);
  log_.CountOpen("cg\\a.png");
  EXPECT_EQ(Count("cg\\a.png"), 1);
}

TEST_F(FileLogTest, FiltersMatchWholeCharactersOnly) {
  // 0x83 0x61 is one character whose trail byte is the letter "a".
  log_.AddFilter("a");
  log_.CountOpen("cg\\\x83\x61.png");
  EXPECT_EQ(Count("cg\\\x83\x61.png"), -1);
  log_.CountOpen(
      "cg\\\x83\x61"
      "a.png");
  EXPECT_EQ(Count("cg\\\x83\x61"
                  "a.png"),
            1);
}

TEST_F(FileLogTest, AddedFiltersAreLowerCasedAndCutToWholeCharacters) {
  log_.AddFilter("CG\\EV");
  log_.AddFilter("abcdefghijklmnopq");
  log_.AddFilter("abcdefghijklmn\x82\xA0");  // the two-byte character would pass 15 bytes
  EXPECT_EQ(log_.Filters()[0], "cg\\ev");
  EXPECT_EQ(log_.Filters()[1], "abcdefghijklmno");
  EXPECT_EQ(log_.Filters()[2], "abcdefghijklmn");
  EXPECT_EQ(log_.Filters()[3], "");
}

TEST_F(FileLogTest, RemovingComparesExactly) {
  log_.AddFilter("CG");
  log_.AddFilter("cg");
  log_.RemoveFilter("CG");
  EXPECT_EQ(log_.Filters()[0], "cg");
  log_.RemoveFilter("cg");
  EXPECT_EQ(log_.Filters()[0], "");
  EXPECT_EQ(log_.Filters()[1], "");
}

TEST_F(FileLogTest, A65thFilterFindsNoRoom) {
  for (int i = 0; i < 64; ++i) log_.AddFilter("f" + std::to_string(i));
  log_.AddFilter("extra");
  EXPECT_EQ(log_.Filters()[63], "f63");
  log_.RemoveFilter("f10");
  log_.AddFilter("extra");
  EXPECT_EQ(log_.Filters()[10], "extra");
}

TEST_F(FileLogTest, ResetUnlocksAndEmptiesTheFiltersButKeepsTheCounts) {
  log_.AddFilter("cg");
  log_.CountOpen("cg\\a.png");
  log_.SetLocked(true);
  log_.Reset();
  EXPECT_FALSE(log_.Locked());
  for (const auto& filter : log_.Filters()) EXPECT_EQ(filter, "");
  EXPECT_EQ(Count("cg\\a.png"), 1);
}

TEST_F(FileLogTest, StateIsTheLockThen64FixedFilters) {
  log_.AddFilter("cg");
  log_.AddFilter("abcdefghijklmno");
  log_.SetLocked(true);
  base::ByteWriter out;
  log_.WriteState(out);
  base::ByteWriter expected;
  expected.U8(1).U8(2).Text("cg").Zeros(13).U8(15).Text("abcdefghijklmno");
  for (int i = 2; i < 64; ++i) expected.Zeros(16);
  EXPECT_EQ(out.Data(), expected.Data());
  EXPECT_EQ(out.Size(), FileLog::kStateSize);
}

TEST_F(FileLogTest, ReadsHandMadeState) {
  base::ByteWriter in;
  in.U8(0).U8(3).Text("bgm").Text("ignored byte").Zeros(16).U8(1).Text("x").Zeros(14);
  for (int i = 3; i < 64; ++i) in.Zeros(16);
  log_.SetLocked(true);
  base::ByteReader reader(in.Data());
  log_.ReadState(reader);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(log_.Locked());
  EXPECT_EQ(log_.Filters()[0], "bgm");
  EXPECT_EQ(log_.Filters()[1], "");
  EXPECT_EQ(log_.Filters()[2], "x");
}

TEST_F(FileLogTest, DamagedStateChangesNothing) {
  log_.AddFilter("keep");
  base::ByteWriter tooLong;
  tooLong.U8(1).U8(16).Zeros(15);
  for (int i = 1; i < 64; ++i) tooLong.Zeros(16);
  base::ByteReader in(tooLong.Data());
  EXPECT_THROW(log_.ReadState(in), base::FormatError);

  base::ByteWriter good;
  log_.WriteState(good);
  Bytes shortState(good.Data().begin(), good.Data().end() - 1);
  base::ByteReader shortIn(shortState);
  EXPECT_THROW(log_.ReadState(shortIn), base::FormatError);
  EXPECT_EQ(log_.Filters()[0], "keep");
  EXPECT_FALSE(log_.Locked());
}

TEST_F(FileLogTest, CountsOpensThroughTheDataTreesHook) {
  test::TempDir dir;
  dir.Write("CG/Ev01.png", "picture");
  dir.Write("System/cg.png", "engine picture");
  DataTree tree;
  tree.SetProgramDirectory(dir.Path());
  tree.SetOpenHook([this](const std::string& name) { log_.CountOpen(name); });
  log_.AddFilter("CG");
  ASSERT_TRUE(tree.OpenDataFile("cg\\EV01.PNG"));
  ASSERT_TRUE(tree.OpenDataFile("CG/ev01.png"));
  ASSERT_TRUE(tree.OpenDataFile("System\\cg.png"));
  EXPECT_FALSE(tree.OpenDataFile("cg\\missing.png"));
  EXPECT_EQ(Count("cg\\ev01.png"), 2);
  EXPECT_EQ(Count("system\\cg.png"), -1);
  EXPECT_EQ(Count("cg\\missing.png"), -1);
}

}  // namespace
}  // namespace mavu::resource
