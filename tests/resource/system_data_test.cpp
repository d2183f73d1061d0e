#include "resource/system_data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_io.h"
#include "resource/block_checksum.h"
#include "resource/bpe.h"
#include "resource/hash_table.h"
#include "resource/scramble.h"
#include "support/failing_writes.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using base::Bytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr uint32_t kKey = 0x123456;

// Stands in for the system variable table: a u32 count and that many Str16.
class FakeVariables : public SystemVariableStream {
 public:
  bool WriteVariables(base::ByteWriter& out) override {
    if (failWrite) return false;
    out.U32(static_cast<uint32_t>(values.size()));
    for (const auto& v : values) out.Str16(v);
    return true;
  }
  void ReadVariables(base::ByteReader& in) override {
    values.clear();
    const uint32_t count = in.U32();
    if (count > in.Remaining() / 2) throw base::FormatError("variable count past the end");
    for (uint32_t i = 0; i < count; ++i) values.push_back(in.Str16());
  }

  std::vector<std::string> values;
  bool failWrite = false;
};

Bytes VariableStream(const std::vector<std::string>& values) {
  base::ByteWriter out;
  out.U32(static_cast<uint32_t>(values.size()));
  for (const auto& v : values) out.Str16(v);
  return out.Take();
}

Bytes VariableBlock(const Bytes& stream, uint32_t key = kKey) {
  Bytes packed = BpeCompress(stream);
  ScrambleBlocks(packed, ScrambleDirection::kScramble, key);
  return packed;
}

// A log stream made straight on a hash table, values as 4 little-endian bytes.
Bytes LogBlock(std::initializer_list<std::pair<std::string, uint32_t>> counts,
               uint32_t buckets = 256) {
  THashTable table(buckets);
  for (const auto& [key, value] : counts) {
    EXPECT_TRUE(table.Put(key, base::ByteWriter().U32(value).Data()));
  }
  base::ByteWriter out;
  table.SaveToStream(out);
  return out.Take();
}

Bytes Payload(const Bytes& a, const Bytes& b, const Bytes& c) {
  return base::ByteWriter()
      .U32(static_cast<uint32_t>(a.size()))
      .Append(a)
      .U32(static_cast<uint32_t>(b.size()))
      .Append(b)
      .U32(static_cast<uint32_t>(c.size()))
      .Append(c)
      .Take();
}

Bytes Sealed(const Bytes& payload) {
  return base::ByteWriter()
      .U32(0xFD324D4E)
      .U32(BlockChecksum(payload))
      .U32(static_cast<uint32_t>(payload.size()))
      .Append(payload)
      .Take();
}

class SystemDataTest : public ::testing::Test {
 protected:
  std::filesystem::path Path(std::string_view name) const { return dir_.Path() / name; }
  Bytes FileBytes(std::string_view name) const {
    return base::ReadWholeFile(Path(name)).value_or(Bytes{});
  }

  test::TempDir dir_;
  FakeVariables variables_;
  SystemData data_{dir_.Path(), kKey, variables_};
};

TEST_F(SystemDataTest, BuildsASealedStreamOfThreeBlocks) {
  variables_.values = {"abc", "\x82\xa0"};
  data_.OpenedFiles().Counts().RecordCount("cg\\a.png", 3, true);
  data_.ReadLines().Counts().RecordCount("start.s@@top", 0x01020304, true);
  const auto file = data_.BuildFile();
  ASSERT_TRUE(file);
  const Bytes expected =
      Sealed(Payload(VariableBlock(VariableStream({"abc", "\x82\xa0"})),
                     LogBlock({{"cg\\a.png", 3}}), LogBlock({{"start.s@@top", 0x01020304}})));
  EXPECT_EQ(*file, expected);
  EXPECT_EQ(Bytes(file->begin(), file->begin() + 4), (Bytes{0x4E, 0x4D, 0x32, 0xFD}));
}

TEST_F(SystemDataTest, EmptyLogsStillTakeTheirBlocks) {
  const auto file = data_.BuildFile();
  ASSERT_TRUE(file);
  EXPECT_EQ(*file, Sealed(Payload(VariableBlock(VariableStream({})), LogBlock({}), LogBlock({}))));
}

TEST_F(SystemDataTest, ReadsHandMadeBytes) {
  const Bytes file = Sealed(Payload(VariableBlock(VariableStream({"x", "yz"})),
                                    LogBlock({{"bg\\a.png", 7}, {"cg\\b.png", 0xFFFFFFFF}}),
                                    LogBlock({{"a.s@@l", 12}})));
  ASSERT_TRUE(data_.LoadFromBytes(file)) << data_.LastError();
  EXPECT_THAT(variables_.values, ElementsAre("x", "yz"));
  EXPECT_EQ(data_.OpenedFiles().Counts().LookupCount("BG\\A.PNG"), 7);
  EXPECT_EQ(data_.OpenedFiles().Counts().LookupCount("cg\\b.png"), -1);
  ASSERT_TRUE(data_.OpenedFiles().Counts().Find("cg\\b.png"));  // stored -1, not absent
  EXPECT_EQ(data_.ReadLines().Counts().LookupCount("a.s@@l"), 12);
  EXPECT_EQ(data_.ReadLines().Counts().LookupCount("bg\\a.png"), -1);
}

TEST_F(SystemDataTest, IgnoresBytesAfterTheBlocksAndAfterTheSeal) {
  Bytes payload = Payload(VariableBlock(VariableStream({"v"})), LogBlock({}), LogBlock({}));
  payload.push_back(0xEE);
  Bytes file = Sealed(payload);
  file.push_back(0xEE);
  EXPECT_TRUE(data_.LoadFromBytes(file)) << data_.LastError();
  EXPECT_THAT(variables_.values, ElementsAre("v"));
}

TEST_F(SystemDataTest, RoundTripsThroughAFile) {
  data_.EnableSaving();
  variables_.values = {"one"};
  data_.OpenedFiles().Counts().RecordCount("k", 5, true);
  data_.ReadLines().Counts().RecordCount("l", 6, true);
  ASSERT_TRUE(data_.SaveSystemData("SystemData.dat"));

  FakeVariables otherVariables;
  SystemData other(dir_.Path(), kKey, otherVariables);
  ASSERT_TRUE(other.LoadSystemData("SystemData.dat")) << other.LastError();
  EXPECT_THAT(otherVariables.values, ElementsAre("one"));
  EXPECT_EQ(other.OpenedFiles().Counts().LookupCount("k"), 5);
  EXPECT_EQ(other.ReadLines().Counts().LookupCount("l"), 6);
}

TEST_F(SystemDataTest, LoadingReplacesTheLogs) {
  data_.OpenedFiles().Counts().RecordCount("old", 1, true);
  ASSERT_TRUE(data_.LoadFromBytes(
      Sealed(Payload(VariableBlock(VariableStream({})), LogBlock({{"new", 2}}), LogBlock({})))));
  EXPECT_EQ(data_.OpenedFiles().Counts().LookupCount("old"), -1);
  EXPECT_EQ(data_.OpenedFiles().Counts().LookupCount("new"), 2);
}

TEST_F(SystemDataTest, AnotherCodeKeyCannotReadTheVariables) {
  const Bytes file =
      Sealed(Payload(VariableBlock(VariableStream({"x"}), kKey + 1), LogBlock({}), LogBlock({})));
  EXPECT_FALSE(data_.LoadFromBytes(file));
  EXPECT_EQ(data_.LastError(), "system variable block does not unpack");
}

TEST_F(SystemDataTest, NothingIsWrittenBeforeSavingIsEnabled) {
  variables_.values = {"x"};
  EXPECT_FALSE(data_.SavingEnabled());
  EXPECT_TRUE(data_.SaveSystemData("SystemData.dat"));
  EXPECT_TRUE(data_.SaveWithBackup());
  EXPECT_FALSE(std::filesystem::exists(Path("SystemData.dat")));
  EXPECT_FALSE(std::filesystem::exists(Path("SystemData.dat.bak")));
  data_.EnableSaving();
  EXPECT_TRUE(data_.SaveSystemData("SystemData.dat"));
  EXPECT_TRUE(std::filesystem::exists(Path("SystemData.dat")));
}

TEST_F(SystemDataTest, StartUpEnablesSavingEvenWithNothingToLoad) {
  EXPECT_FALSE(data_.LoadAtStartup());
  EXPECT_TRUE(data_.SavingEnabled());
  EXPECT_EQ(data_.OpenedFiles().Counts().EntryCount(), 0u);
  EXPECT_TRUE(data_.SaveSystemData("SystemData.dat"));
  EXPECT_TRUE(std::filesystem::exists(Path("SystemData.dat")));
}

TEST_F(SystemDataTest, StartUpPrefersTheMainFile) {
  dir_.Write("SystemData.dat",
             Sealed(Payload(VariableBlock(VariableStream({"main"})), LogBlock({}), LogBlock({}))));
  dir_.Write("SystemData.dat.bak", Sealed(Payload(VariableBlock(VariableStream({"backup"})),
                                                  LogBlock({}), LogBlock({}))));
  EXPECT_TRUE(data_.LoadAtStartup());
  EXPECT_THAT(variables_.values, ElementsAre("main"));
}

TEST_F(SystemDataTest, StartUpFallsBackToTheBackupForAMissingOrDamagedFile) {
  const Bytes backup = Sealed(
      Payload(VariableBlock(VariableStream({"backup"})), LogBlock({{"f", 3}}), LogBlock({})));
  dir_.Write("SystemData.dat.bak", backup);
  EXPECT_TRUE(data_.LoadAtStartup());
  EXPECT_THAT(variables_.values, ElementsAre("backup"));

  Bytes damaged = Sealed(
      Payload(VariableBlock(VariableStream({"main"})), LogBlock({}), LogBlock({{"x", 1}}, 16)));
  dir_.Write("SystemData.dat", damaged);
  FakeVariables fresh;
  SystemData again(dir_.Path(), kKey, fresh);
  EXPECT_TRUE(again.LoadAtStartup());
  EXPECT_THAT(fresh.values, ElementsAre("backup"));
  EXPECT_EQ(again.OpenedFiles().Counts().LookupCount("f"), 3);
  EXPECT_EQ(again.ReadLines().Counts().LookupCount("x"), -1);
}

TEST_F(SystemDataTest, BothCopiesDamagedStartEmpty) {
  dir_.Write("SystemData.dat", "junk");
  dir_.Write("SystemData.dat.bak", Bytes{0x4E, 0x4D, 0x32, 0xFD, 0, 0, 0, 0});
  EXPECT_FALSE(data_.LoadAtStartup());
  EXPECT_TRUE(data_.SavingEnabled());
  EXPECT_TRUE(variables_.values.empty());
  EXPECT_EQ(data_.ReadLines().Counts().EntryCount(), 0u);
  EXPECT_THAT(data_.LastError(), HasSubstr("SystemData.dat.bak: "));
}

TEST_F(SystemDataTest, AGameSaveWritesBothCopiesAlike) {
  data_.EnableSaving();
  variables_.values = {"v"};
  data_.ReadLines().Counts().RecordCount("a.s@@b", 9, true);
  ASSERT_TRUE(data_.SaveWithBackup());
  const Bytes main = FileBytes("SystemData.dat");
  EXPECT_FALSE(main.empty());
  EXPECT_EQ(main, FileBytes("SystemData.dat.bak"));
  EXPECT_EQ(main, *data_.BuildFile());
}

TEST_F(SystemDataTest, AFailedWriteKeepsThePreviousFile) {
  data_.EnableSaving();
  variables_.values = {"first"};
  ASSERT_TRUE(data_.SaveSystemData("SystemData.dat"));
  const Bytes before = FileBytes("SystemData.dat");
  variables_.values = {"second"};
  data_.OpenedFiles().Counts().RecordCount("k", 1, true);
  {
    test::FailingWrites failing;
    EXPECT_FALSE(data_.SaveSystemData("SystemData.dat"));
  }
  EXPECT_EQ(data_.LastError(), "SystemData.dat: could not be written");
  EXPECT_EQ(FileBytes("SystemData.dat"), before);
  EXPECT_THAT(variables_.values, ElementsAre("second"));
  EXPECT_EQ(data_.OpenedFiles().Counts().LookupCount("k"), 1);
}

TEST_F(SystemDataTest, VariablesThatCannotBeWrittenWriteNothing) {
  data_.EnableSaving();
  ASSERT_TRUE(data_.SaveSystemData("SystemData.dat"));
  const Bytes before = FileBytes("SystemData.dat");
  variables_.failWrite = true;
  variables_.values = {"changed"};
  EXPECT_FALSE(data_.SaveSystemData("SystemData.dat"));
  EXPECT_FALSE(data_.SaveWithBackup());
  EXPECT_FALSE(std::filesystem::exists(Path("SystemData.dat.bak")));
  EXPECT_EQ(FileBytes("SystemData.dat"), before);
  EXPECT_FALSE(data_.BuildFile());
}

TEST_F(SystemDataTest, ANameCannotLeaveTheSaveFolder) {
  data_.EnableSaving();
  EXPECT_FALSE(data_.SaveSystemData("..\\outside.dat"));
  EXPECT_FALSE(data_.SaveSystemData("a/../../outside.dat"));
  EXPECT_FALSE(data_.SaveSystemData(""));
  EXPECT_FALSE(data_.SaveSystemData("\\"));
  EXPECT_FALSE(data_.LoadSystemData(".."));
  EXPECT_EQ(data_.LastError(), "..: not a file name inside the save folder");
  EXPECT_FALSE(std::filesystem::exists(dir_.Path().parent_path() / "outside.dat"));
}

TEST_F(SystemDataTest, AMissingFileFailsWithItsName) {
  EXPECT_FALSE(data_.LoadSystemData("Other.dat"));
  EXPECT_EQ(data_.LastError(), "Other.dat: missing or unreadable");
  std::filesystem::create_directory(Path("Folder.dat"));
  EXPECT_FALSE(data_.LoadSystemData("Folder.dat"));
}

// Damaged files fail with a clear reason and leave the logs as they were.
class DamagedSystemData : public SystemDataTest {
 protected:
  DamagedSystemData() {
    variables_.values = {"kept"};
    data_.OpenedFiles().Counts().RecordCount("file", 1, true);
    data_.ReadLines().Counts().RecordCount("line", 2, true);
  }

  void ExpectRefused(const Bytes& file, std::string_view reason) {
    EXPECT_FALSE(data_.LoadFromBytes(file));
    EXPECT_THAT(data_.LastError(), HasSubstr(std::string(reason)));
    EXPECT_EQ(data_.OpenedFiles().Counts().LookupCount("file"), 1);
    EXPECT_EQ(data_.ReadLines().Counts().LookupCount("line"), 2);
  }

  Bytes Good() const {
    return Sealed(Payload(VariableBlock(VariableStream({"new"})), LogBlock({{"f", 1}}),
                          LogBlock({{"l", 1}})));
  }
};

TEST_F(DamagedSystemData, EveryTruncationIsRefused) {
  const Bytes good = Good();
  for (size_t size = 0; size < good.size(); ++size) {
    SCOPED_TRACE(size);
    ExpectRefused(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(size)),
                  "not system data");
  }
}

TEST_F(DamagedSystemData, AWrongSignatureOrChecksumIsRefused) {
  Bytes file = Good();
  file[0] ^= 1;
  ExpectRefused(file, "not system data");
  file = Good();
  file[20] ^= 0x40;
  ExpectRefused(file, "not system data");
  EXPECT_THAT(variables_.values, ElementsAre("kept"));
}

TEST_F(DamagedSystemData, BlockLengthsPastTheEndAreRefused) {
  const Bytes a = VariableBlock(VariableStream({}));
  ExpectRefused(Sealed(base::ByteWriter().U32(0xFFFFFFF0).Append(a).Take()),
                "system variable block runs past the end");
  ExpectRefused(Sealed(base::ByteWriter()
                           .U32(static_cast<uint32_t>(a.size()))
                           .Append(a)
                           .U32(1000)
                           .Append(LogBlock({}))
                           .Take()),
                "file log block runs past the end");
  ExpectRefused(
      Sealed(base::ByteWriter().U32(static_cast<uint32_t>(a.size())).Append(a).U32(0).Take()),
      "file log: ");
  const Bytes b = LogBlock({});
  ExpectRefused(Sealed(base::ByteWriter()
                           .U32(static_cast<uint32_t>(a.size()))
                           .Append(a)
                           .U32(static_cast<uint32_t>(b.size()))
                           .Append(b)
                           .U16(0)
                           .Take()),
                "line log block missing");
  EXPECT_THAT(variables_.values, ElementsAre("kept"));
}

TEST_F(DamagedSystemData, ALogOfAnotherTableSizeIsRefused) {
  const Bytes a = VariableBlock(VariableStream({"new"}));
  ExpectRefused(Sealed(Payload(a, LogBlock({}), LogBlock({}, 16))), "line log: ");
  ExpectRefused(Sealed(Payload(a, LogBlock({}, 255), LogBlock({}))), "file log: ");
  EXPECT_THAT(variables_.values, ElementsAre("kept"));
}

TEST_F(DamagedSystemData, AVariableBlockThatDoesNotUnpackIsRefused) {
  ExpectRefused(Sealed(Payload(Bytes{1, 2, 3}, LogBlock({}), LogBlock({}))),
                "system variable block does not unpack");
  EXPECT_THAT(variables_.values, ElementsAre("kept"));
}

TEST_F(DamagedSystemData, ADamagedVariableStreamIsRefusedAfterTheLogsAreChecked) {
  const Bytes stream = base::ByteWriter().U32(1000).Take();
  ExpectRefused(Sealed(Payload(VariableBlock(stream), LogBlock({}), LogBlock({}))),
                "variable count past the end");
  EXPECT_TRUE(variables_.values.empty());  // the table's own reader cleared it
}

}  // namespace
}  // namespace mavu::resource
