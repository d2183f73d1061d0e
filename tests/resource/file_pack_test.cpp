#include "resource/file_pack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "hand_made_pack.h"
#include "resource/bpe.h"
#include "resource/scramble.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using test::BytesOf;

base::Bytes Scrambled(base::Bytes bytes) {
  ScrambleBlocks(bytes, ScrambleDirection::kScramble, kPackEntryKey);
  return bytes;
}

base::Bytes Repetitive(size_t size) {
  base::Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>("layer"[i % 5]);
  return bytes;
}

class FilePackTest : public ::testing::Test {
 protected:
  std::filesystem::path WritePack(const std::vector<test::HandEntry>& entries,
                                  std::string_view signature = "filepackver1.0") {
    return dir_.Write("data0.pack", test::HandMadePack(entries, signature));
  }

  test::TempDir dir_;
};

TEST_F(FilePackTest, ReadsPlainScrambledAndPackedEntries) {
  auto packed = Repetitive(5000);
  auto path = WritePack({{"plain.txt", BytesOf("just text")},
                         {"mixed.bin", Scrambled(BytesOf("twenty-one bytes here")), false, true},
                         {"packed.dat", Scrambled(BpeCompress(packed)), true, true}});
  TFilePack pack(path, false);
  ASSERT_EQ(pack.EntryCount(), 3);
  EXPECT_EQ(pack.ReadEntry(0), BytesOf("just text"));
  EXPECT_EQ(pack.ReadEntry(1), BytesOf("twenty-one bytes here"));
  EXPECT_EQ(pack.ReadEntry(2), packed);
}

TEST_F(FilePackTest, EntryNumbersOutsideTheDirectoryGiveNothing) {
  TFilePack pack(WritePack({{"a", BytesOf("1")}, {"b", BytesOf("2")}}), true);
  EXPECT_FALSE(pack.ReadEntry(-1));
  EXPECT_FALSE(pack.ReadEntry(2));
  EXPECT_EQ(pack.ReadEntry(1), BytesOf("2"));
}

TEST_F(FilePackTest, FindsNamesInAnyLetterCaseByScanning) {
  TFilePack pack(WritePack({{"system\\menu\\layout.dat", BytesOf("L")}, {"b.png", BytesOf("B")}}),
                 true);
  EXPECT_TRUE(pack.EntryExists("System\\Menu\\Layout.dat"));
  EXPECT_TRUE(pack.EntryExists("B.PNG"));
  EXPECT_FALSE(pack.EntryExists("system\\menu"));
  EXPECT_EQ(pack.ReadEntryByName("SYSTEM\\MENU\\LAYOUT.DAT"), BytesOf("L"));
  EXPECT_FALSE(pack.ReadEntryByName("c.png"));
}

TEST_F(FilePackTest, TheFirstOfTwoEqualNamesWins) {
  TFilePack pack(WritePack({{"a", BytesOf("first")}, {"a", BytesOf("second")}}), true);
  EXPECT_EQ(pack.ReadEntryByName("A"), BytesOf("first"));
}

TEST_F(FilePackTest, AChecksumMismatchCallsBackAndGivesNothingWhenVerifying) {
  TFilePack pack(
      WritePack({{"good", BytesOf("eight b.")}, {"bad", BytesOf("8 bytes!"), false, false, false}}),
      true);
  std::vector<std::string> reported;
  pack.SetErrorCallback([&](const std::string& name) { reported.push_back(name); });
  EXPECT_FALSE(pack.Verification());
  EXPECT_EQ(pack.ReadEntry(1), BytesOf("8 bytes!"));
  pack.SetVerification(true);
  EXPECT_EQ(pack.ReadEntry(0), BytesOf("eight b."));
  EXPECT_FALSE(pack.ReadEntry(1));
  EXPECT_EQ(reported, std::vector<std::string>{"bad"});
}

TEST_F(FilePackTest, AMismatchWithoutCallbackStillGivesNothing) {
  TFilePack pack(WritePack({{"bad", BytesOf("8 bytes!"), false, false, false}}), true);
  pack.SetVerification(true);
  EXPECT_FALSE(pack.ReadEntryByName("bad"));
}

TEST_F(FilePackTest, AnotherSignatureOpensAsAnEmptyArchive) {
  TFilePack pack(WritePack({{"a", BytesOf("1")}}, "QDA0"), true);
  EXPECT_EQ(pack.EntryCount(), 0);
  EXPECT_FALSE(pack.EntryExists("a"));
  EXPECT_FALSE(pack.ReadEntry(0));
}

TEST_F(FilePackTest, KeepOpenHoldsTheFileUntilDestroyed) {
  auto path = WritePack({{"a", BytesOf("kept")}});
  TFilePack kept(path, true);
  TFilePack closed(path, false);
  EXPECT_TRUE(kept.IsFileOpen());
  EXPECT_FALSE(closed.IsFileOpen());
  EXPECT_EQ(closed.ReadEntry(0), BytesOf("kept"));
  EXPECT_FALSE(closed.IsFileOpen());
  // The held file stays readable when its name goes away; the other needs the name.
  std::filesystem::remove(path);
  EXPECT_EQ(kept.ReadEntry(0), BytesOf("kept"));
  EXPECT_THROW(closed.ReadEntry(0), base::FormatError);
}

TEST_F(FilePackTest, ABodyCutOffAfterOpeningIsAnError) {
  auto path = WritePack({{"a", BytesOf("0123456789")}});
  TFilePack pack(path, false);
  std::filesystem::resize_file(path, 4);
  EXPECT_THROW(pack.ReadEntry(0), base::FormatError);
}

TEST_F(FilePackTest, AMissingOrDamagedFileCannotBeOpened) {
  EXPECT_THROW(TFilePack(dir_.Path() / "none.pack", true), base::FormatError);
  EXPECT_THROW(TFilePack(dir_.Path(), true), base::FormatError);
  EXPECT_THROW(TFilePack(dir_.Write("short.pack", "filepackver1.0"), true), base::FormatError);
  base::ByteWriter out;
  out.FixedText("filepackver1.0", 16).U32(1000).U64(0);
  EXPECT_THROW(TFilePack(dir_.Write("count.pack", out.Take()), true), base::FormatError);
}

TEST_F(FilePackTest, APackedBodyThatDoesNotExpandIsAnError) {
  TFilePack pack(WritePack({{"a", BytesOf("no packed block"), true}}), true);
  EXPECT_THROW(pack.ReadEntry(0), base::FormatError);
  EXPECT_TRUE(pack.IsFileOpen());  // a damaged body is no reason to let go of the file
}

}  // namespace
}  // namespace mavu::resource
