#include "resource/pack_directory.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "hand_made_pack.h"
#include "resource/bpe.h"
#include "resource/scramble.h"

namespace mavu::resource {
namespace {

using test::BytesOf;

std::vector<PackEntry> ReadFromMemory(const base::Bytes& archive) {
  return ReadPackDirectory(archive.size(), [&](uint64_t offset, size_t count) {
    base::ByteReader in(archive);
    in.Seek(offset);
    return in.Take(count);
  });
}

base::ByteWriter& Footer(base::ByteWriter& out, std::string_view signature, uint32_t count,
                         uint64_t directory) {
  return out.FixedText(signature, 16).U32(count).U64(directory);
}

TEST(PackDirectory, ReadsFooterAndRecordsFieldByField) {
  base::ByteWriter out;
  out.Text("hello").Text("xyz");
  std::string name = "a\\b.txt";
  std::string scrambled = ScrambleName(name, kPackNameKey);
  ASSERT_NE(scrambled, name);
  out.U16(7).Text(scrambled).U64(0).U32(5).U32(12345).U32(1).U32(0).U32(0xDEADBEEF);
  out.U16(1).Text(ScrambleName("c", kPackNameKey)).U64(5).U32(3).U32(0).U32(0).U32(7).U32(42);
  Footer(out, "filepackver1.0", 2, 8);
  auto bytes = out.Take();
  ASSERT_EQ(bytes.size(), 8u + 2 * 30 + 7 + 1 + 28);

  auto dir = ReadFromMemory(bytes);
  ASSERT_EQ(dir.size(), 2u);
  EXPECT_EQ(dir[0].name, name);
  EXPECT_EQ(dir[0].offset, 0u);
  EXPECT_EQ(dir[0].storedLength, 5u);
  EXPECT_TRUE(dir[0].packed);
  EXPECT_FALSE(dir[0].scrambled);
  EXPECT_EQ(dir[0].checksum, 0xDEADBEEFu);
  EXPECT_EQ(dir[1].name, "c");
  EXPECT_EQ(dir[1].offset, 5u);
  EXPECT_EQ(dir[1].storedLength, 3u);
  EXPECT_FALSE(dir[1].packed);
  EXPECT_TRUE(dir[1].scrambled);  // any nonzero value
  EXPECT_EQ(dir[1].checksum, 42u);
}

TEST(PackDirectory, ComparesTheSignatureIgnoringCaseUpToItsNul) {
  auto upper = test::HandMadePack({{"x", BytesOf("1")}}, "FilePackVer1.0");
  EXPECT_EQ(ReadFromMemory(upper).size(), 1u);
  auto trailing =
      test::HandMadePack({{"x", BytesOf("1")}}, std::string_view("filepackver1.0\0zz", 17));
  EXPECT_EQ(ReadFromMemory(trailing).size(), 1u);
}

TEST(PackDirectory, AnotherSignatureGivesAnEmptyArchive) {
  // The count and offset behind a wrong signature are never looked at.
  base::ByteWriter out;
  Footer(out, "filepackver1.1", 0xFFFFFFFF, 0xFFFFFFFFFFFF);
  EXPECT_TRUE(ReadFromMemory(out.Take()).empty());
  EXPECT_TRUE(ReadFromMemory(test::HandMadePack({{"x", BytesOf("1")}}, "filepack")).empty());
}

TEST(PackDirectory, ASignedArchiveMayHoldNoEntries) {
  EXPECT_TRUE(ReadFromMemory(test::HandMadePack({})).empty());
}

TEST(PackDirectory, RefusesAFileShorterThanTheFooter) {
  EXPECT_THROW(ReadFromMemory(base::Bytes(27)), base::FormatError);
}

TEST(PackDirectory, RefusesACountTheFileCannotHold) {
  // 60 directory bytes hold at most two entries.
  base::ByteWriter out;
  out.Zeros(60);
  Footer(out, "filepackver1.0", 3, 0);
  EXPECT_THROW(ReadFromMemory(out.Take()), base::FormatError);
  base::ByteWriter huge;
  Footer(huge, "filepackver1.0", 0xFFFFFFFF, 0);
  EXPECT_THROW(ReadFromMemory(huge.Take()), base::FormatError);
}

TEST(PackDirectory, RefusesADirectoryOffsetPastTheFooter) {
  base::ByteWriter out;
  Footer(out, "filepackver1.0", 0, 1);
  EXPECT_THROW(ReadFromMemory(out.Take()), base::FormatError);
}

TEST(PackDirectory, RefusesANameRunningPastTheDirectory) {
  base::ByteWriter out;
  out.U16(200).Zeros(28);
  Footer(out, "filepackver1.0", 1, 0);
  EXPECT_THROW(ReadFromMemory(out.Take()), base::FormatError);
}

base::Bytes OneRecord(uint64_t offset, uint32_t length) {
  base::ByteWriter out;
  out.Text("body");
  out.U16(1).Text("a").U64(offset).U32(length).U32(0).U32(0).U32(0).U32(0);
  Footer(out, "filepackver1.0", 1, 4);
  return out.Take();
}

TEST(PackDirectory, RefusesBodiesOutsideTheArchive) {
  // 4 body bytes + 31 directory bytes: the footer starts at 35.
  EXPECT_EQ(ReadFromMemory(OneRecord(0, 4)).size(), 1u);
  EXPECT_EQ(ReadFromMemory(OneRecord(35, 0)).size(), 1u);
  EXPECT_THROW(ReadFromMemory(OneRecord(36, 0)), base::FormatError);
  EXPECT_THROW(ReadFromMemory(OneRecord(4, 32)), base::FormatError);
  EXPECT_THROW(ReadFromMemory(OneRecord(std::numeric_limits<uint64_t>::max(), 4)),
               base::FormatError);
  EXPECT_THROW(ReadFromMemory(OneRecord(8, 0xFFFFFFFF)), base::FormatError);
}

TEST(PackBody, PlainBodiesStayAsStored) {
  PackEntry entry;
  EXPECT_EQ(DecodePackBody(entry, BytesOf("plain text")), BytesOf("plain text"));
}

TEST(PackBody, UnscramblesWithThePackKey) {
  auto contents = BytesOf("seventeen bytes!!");
  auto stored = contents;
  ScrambleBlocks(stored, ScrambleDirection::kScramble, kPackEntryKey);
  ASSERT_NE(stored, contents);
  PackEntry entry;
  entry.scrambled = true;
  EXPECT_EQ(DecodePackBody(entry, stored), contents);
}

TEST(PackBody, UnscramblesBeforeExpanding) {
  base::Bytes contents(3000);
  for (size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<uint8_t>("abcab"[i % 5]);
  auto stored = BpeCompress(contents);
  PackEntry entry;
  entry.packed = true;
  EXPECT_EQ(DecodePackBody(entry, stored), contents);
  ScrambleBlocks(stored, ScrambleDirection::kScramble, kPackEntryKey);
  entry.scrambled = true;
  EXPECT_EQ(DecodePackBody(entry, stored), contents);
}

TEST(PackBody, PackedDataThatDoesNotExpandIsAnError) {
  PackEntry entry;
  entry.packed = true;
  base::ByteWriter tooLarge;
  tooLarge.U32(kBpeMagic).U32(1).U32(kBpeMaxUnpacked + 1);
  EXPECT_THROW(DecodePackBody(entry, tooLarge.Take()), base::FormatError);
  EXPECT_THROW(DecodePackBody(entry, BytesOf("ab")), base::FormatError);
}

}  // namespace
}  // namespace mavu::resource
