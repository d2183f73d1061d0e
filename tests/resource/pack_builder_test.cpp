#include "resource/pack_builder.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "base/file_io.h"
#include "hand_made_pack.h"
#include "resource/block_checksum.h"
#include "resource/bpe.h"
#include "resource/hash_file_pack.h"
#include "resource/hash_table.h"
#include "resource/scramble.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using test::BytesOf;

base::Bytes Repetitive(size_t size) {
  base::Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>("menu"[i % 4]);
  return bytes;
}

TEST(PackBuilder, WritesBodiesDirectoryAndFooter) {
  PackBuilder builder;
  ASSERT_TRUE(builder.Add("Bg\\A.png", BytesOf("image")));
  ASSERT_TRUE(builder.Add("b", BytesOf("0123456789")));

  base::ByteWriter expected;
  expected.Text("image").Text("0123456789");
  expected.U16(8).Text(ScrambleName("bg\\a.png", kPackNameKey));
  expected.U64(0).U32(5).U32(5).U32(0).U32(0).U32(BlockChecksum(BytesOf("image")));
  expected.U16(1).Text(ScrambleName("b", kPackNameKey));
  expected.U64(5).U32(10).U32(10).U32(0).U32(0).U32(BlockChecksum(BytesOf("0123456789")));
  expected.Text("filepackver1.0").Zeros(2).U32(2).U64(15);
  EXPECT_EQ(builder.BuildPack(), expected.Data());
}

TEST(PackBuilder, AnEmptyArchiveIsJustTheFooter) {
  base::ByteWriter expected;
  expected.Text("filepackver1.0").Zeros(2).U32(0).U64(0);
  EXPECT_EQ(PackBuilder().BuildPack(), expected.Data());
}

// The record of the only entry of an archive whose body is `storedSize` bytes.
base::ByteReader RecordOfOnlyEntry(const base::Bytes& pack, size_t storedSize, size_t nameSize) {
  base::ByteReader in(pack);
  in.Seek(storedSize + 2 + nameSize);
  return in;
}

TEST(PackBuilder, CompressesWherePackingPays) {
  auto contents = Repetitive(4000);
  auto packed = BpeCompress(contents);
  ASSERT_LT(packed.size(), contents.size());
  PackBuilder builder({.compress = true});
  builder.Add("a", contents);
  auto pack = builder.BuildPack();
  EXPECT_TRUE(std::equal(packed.begin(), packed.end(), pack.begin()));
  auto record = RecordOfOnlyEntry(pack, packed.size(), 1);
  EXPECT_EQ(record.U64(), 0u);
  EXPECT_EQ(record.U32(), packed.size());
  EXPECT_EQ(record.U32(), contents.size());
  EXPECT_EQ(record.U32(), 1u);  // packed
  EXPECT_EQ(record.U32(), 0u);  // not scrambled
  EXPECT_EQ(record.U32(), BlockChecksum(packed));
}

TEST(PackBuilder, StoresContentsPlainWherePackingDoesNotPay) {
  PackBuilder builder({.compress = true});
  builder.Add("a", BytesOf("xy"));
  auto pack = builder.BuildPack();
  auto record = RecordOfOnlyEntry(pack, 2, 1);
  record.Skip(16);
  EXPECT_EQ(record.U32(), 0u);
}

TEST(PackBuilder, ScramblesAfterPackingAndChecksumsTheStoredBytes) {
  auto contents = Repetitive(4000);
  auto stored = BpeCompress(contents);
  ScrambleBlocks(stored, ScrambleDirection::kScramble, kPackEntryKey);
  PackBuilder builder({.compress = true, .scramble = true});
  builder.Add("a", contents);
  auto pack = builder.BuildPack();
  EXPECT_TRUE(std::equal(stored.begin(), stored.end(), pack.begin()));
  auto record = RecordOfOnlyEntry(pack, stored.size(), 1);
  record.Skip(16);
  EXPECT_EQ(record.U32(), 1u);
  EXPECT_EQ(record.U32(), 1u);
  EXPECT_EQ(record.U32(), BlockChecksum(stored));
}

TEST(PackBuilder, RefusesNamesItCannotStoreOrFindAgain) {
  PackBuilder builder;
  EXPECT_TRUE(builder.Add("System\\A.dat", BytesOf("1")));
  EXPECT_FALSE(builder.Add("system\\a.DAT", BytesOf("2")));
  EXPECT_FALSE(builder.Add("", BytesOf("3")));
  EXPECT_FALSE(builder.Add(std::string(65536, 'n'), BytesOf("4")));
  EXPECT_TRUE(builder.Add(std::string(65535, 'n'), BytesOf("5")));
  for (const char* name :
       {"..\\evil.txt", "a\\.\\b", "\\abs.txt", "a\\\\b", "a/b", "dir\\", "esc\x1B[2J.txt"}) {
    EXPECT_FALSE(builder.Add(name, BytesOf("6"))) << name;
  }
  EXPECT_TRUE(builder.Add("\x95\x5C.txt", BytesOf("7")));  // a trail byte 0x5C is no separator
  EXPECT_EQ(builder.EntryCount(), 3u);
}

TEST(PackBuilder, HoldsAtMost65535Entries) {
  PackBuilder builder;
  for (size_t i = 0; i < PackBuilder::kMaxEntries; ++i) {
    ASSERT_TRUE(builder.Add(std::to_string(i), {}));
  }
  EXPECT_FALSE(builder.Add("one more", {}));
  EXPECT_EQ(builder.EntryCount(), 65535u);
}

TEST(PackBuilder, TheIndexMapsLowerCasedNamesToEntryNumbers) {
  PackBuilder builder;
  builder.Add("Z.png", BytesOf("z"));
  builder.Add("System\\Menu\\Layout.dat", BytesOf("l"));
  builder.Add("a.s", BytesOf("s"));
  auto bytes = builder.BuildHash();
  THashTable index(THashFilePack::kIndexBuckets);
  base::ByteReader in(bytes);
  ASSERT_TRUE(index.LoadFromStream(in));
  EXPECT_EQ(index.EntryCount(), 3u);
  std::array<uint8_t, 2> number{};
  ASSERT_TRUE(index.Get("z.png", number));
  EXPECT_EQ(number, (std::array<uint8_t, 2>{0, 0}));
  ASSERT_TRUE(index.Get("system\\menu\\layout.dat", number));
  EXPECT_EQ(number, (std::array<uint8_t, 2>{1, 0}));
  ASSERT_TRUE(index.Get("a.s", number));
  EXPECT_EQ(number, (std::array<uint8_t, 2>{2, 0}));
  EXPECT_EQ(index.DataArea().size(), 6u);  // three u16 values
}

TEST(PackBuilder, WritesBothFilesBesideTheStem) {
  test::TempDir dir;
  PackBuilder builder;
  builder.Add("a", BytesOf("1"));
  ASSERT_TRUE(builder.WriteFiles(dir.Path() / "my.game"));
  EXPECT_EQ(base::ReadWholeFile(dir.Path() / "my.game.pack"), builder.BuildPack());
  EXPECT_EQ(base::ReadWholeFile(dir.Path() / "my.game.hash"), builder.BuildHash());
  EXPECT_FALSE(builder.WriteFiles(dir.Path() / "no" / "such" / "folder"));
}

TEST(PackBuilder, WhatItBuildsReadsBack) {
  test::TempDir dir;
  PackBuilder builder({.compress = true, .scramble = true});
  auto big = Repetitive(100000);
  builder.Add("Big.bin", big);
  builder.Add("small", BytesOf("abc"));
  builder.Add("empty", {});
  ASSERT_TRUE(builder.WriteFiles(dir.Path() / "data0"));
  THashFilePack pair(dir.Path() / "data0", false);
  pair.Pack()->SetVerification(true);
  EXPECT_EQ(pair.Open("big.bin"), big);
  EXPECT_EQ(pair.Open("SMALL"), BytesOf("abc"));
  EXPECT_EQ(pair.Open("empty"), base::Bytes());
}

}  // namespace
}  // namespace mavu::resource
