#include "resource/hash_table.h"

#include <gtest/gtest.h>

#include <string>

#include "resource/bpe.h"
#include "resource/scramble.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

using base::Bytes;

// "ファイルヘッダが異なります" and "ハッシュテーブルの大きさが異なります" in CP932.
const std::string kWrongHeader =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x83\x77\x83\x62\x83\x5f\x82\xaa\x88\xd9\x82\xc8\x82\xe8\x82"
    "\xdc\x82\xb7";
const std::string kWrongSize =
    "\x83\x6e\x83\x62\x83\x56\x83\x85\x83\x65\x81\x5b\x83\x75\x83\x8b\x82\xcc\x91\xe5\x82\xab\x82"
    "\xb3\x82\xaa\x88\xd9\x82\xc8\x82\xe8\x82\xdc\x82\xb7";

Bytes U16Value(uint16_t v) {
  return base::ByteWriter().U16(v).Take();
}
Bytes U32Value(uint32_t v) {
  return base::ByteWriter().U32(v).Take();
}

uint32_t GetU32(THashTable& table, std::string_view key) {
  uint8_t value[4] = {};
  EXPECT_TRUE(table.Get(key, value)) << key;
  return value[0] | (value[1] << 8) | (value[2] << 16) | (uint32_t{value[3]} << 24);
}

Bytes PackIndex(const Bytes& index) {
  Bytes packed = BpeCompress(index);
  ScrambleBlocks(packed, ScrambleDirection::kScramble, kHashTableKey);
  return packed;
}

// A stream with the given header fields around an index packed as the table packs it.
Bytes Stream(uint32_t buckets, uint32_t entries, uint32_t dataLength, const Bytes& index,
             std::string_view signature = "HashVer1.2") {
  const Bytes packed = PackIndex(index);
  return base::ByteWriter()
      .FixedText(signature, 16)
      .U32(buckets)
      .U32(entries)
      .U32(dataLength)
      .U32(static_cast<uint32_t>(packed.size()))
      .Append(packed)
      .Take();
}

Bytes Saved(const THashTable& table) {
  base::ByteWriter out;
  table.SaveToStream(out);
  return out.Take();
}

// The index and data area of a saved stream, unpacked.
Bytes UnpackedIndex(const Bytes& stream) {
  Bytes packed(stream.begin() + 32, stream.end());
  ScrambleBlocks(packed, ScrambleDirection::kUnscramble, kHashTableKey);
  auto index = BpeExpand(packed);
  EXPECT_TRUE(index.has_value());
  return index.value_or(Bytes{});
}

void Load(THashTable& table, const Bytes& stream) {
  base::ByteReader in(stream);
  table.LoadFromStream(in);
}

std::string LoadError(THashTable& table, const Bytes& stream) {
  try {
    Load(table, stream);
  } catch (const base::FormatError& error) {
    return error.what();
  }
  return "no error";
}

TEST(THashTable, EmptyTableSavesAHeaderAndPackedZeroCounts) {
  THashTable table(4);
  const Bytes expected = base::ByteWriter()
                             .FixedText("HashVer1.2", 16)
                             .U32(4)
                             .U32(0)
                             .U32(0)
                             .U32(static_cast<uint32_t>(PackIndex(Bytes(8, 0)).size()))
                             .Append(PackIndex(Bytes(8, 0)))
                             .Take();
  EXPECT_EQ(Saved(table), expected);
}

TEST(THashTable, SavesBucketsInOrderWithEntriesInInsertionOrder) {
  // "ab" and "ca" share the sum 293, bucket 293 % 4 = 1; "b" sums 98, bucket 2.
  THashTable table(4);
  ASSERT_TRUE(table.Put("ca", U16Value(0x0102)));
  ASSERT_TRUE(table.Put("B", U16Value(0x0304)));
  ASSERT_TRUE(table.Put("ab", U16Value(0x0506)));
  const Bytes stream = Saved(table);
  base::ByteReader head(stream);
  EXPECT_EQ(head.Text(16), std::string("HashVer1.2\0\0\0\0\0\0", 16));
  EXPECT_EQ(head.U32(), 4u);
  EXPECT_EQ(head.U32(), 3u);
  EXPECT_EQ(head.U32(), 6u);
  EXPECT_EQ(head.U32(), stream.size() - 32);
  const Bytes expected = base::ByteWriter()
                             .U16(0)
                             .U16(2)
                             .Str16("ca")
                             .U64(0)
                             .Str16("ab")
                             .U64(4)
                             .U16(1)
                             .Str16("b")
                             .U64(2)
                             .U16(0)
                             .Append(Bytes{0x02, 0x01, 0x04, 0x03, 0x06, 0x05})
                             .Take();
  EXPECT_EQ(UnpackedIndex(stream), expected);
}

TEST(THashTable, FindsKeysIgnoringLetterCaseButKeepsTwoByteCharacters) {
  THashTable table(512);
  ASSERT_TRUE(table.Put("system\\menu\\layout.dat", U16Value(7)));
  EXPECT_TRUE(table.Get("System\\Menu\\Layout.dat"));
  // The trail byte 0x41 of a two-byte character is no letter.
  ASSERT_TRUE(table.Put("\x83\x41", U16Value(1)));
  EXPECT_FALSE(table.Get("\x83\x61"));
  EXPECT_TRUE(table.Get("\x83\x41"));
  EXPECT_FALSE(table.Get("missing"));
  EXPECT_FALSE(table.Find("missing").has_value());
}

TEST(THashTable, KeysOfOneBucketAreBothFound) {
  THashTable table(8);
  ASSERT_TRUE(table.Put("ab", U32Value(1)));
  ASSERT_TRUE(table.Put("ca", U32Value(2)));
  EXPECT_EQ(GetU32(table, "ab"), 1u);
  EXPECT_EQ(GetU32(table, "ca"), 2u);
  EXPECT_EQ(table.Find("ca"), 4u);
}

TEST(THashTable, EarlierEntryOfABucketWinsOverALaterDuplicate) {
  const Bytes index = base::ByteWriter()
                          .U16(2)
                          .Str16("dup")
                          .U64(2)
                          .Str16("dup")
                          .U64(0)
                          .Append(Bytes{0xAA, 0xBB, 0xCC, 0xDD})
                          .Take();
  THashTable table(1);
  Load(table, Stream(1, 2, 4, index));
  EXPECT_EQ(table.Find("dup"), 2u);
}

TEST(THashTable, PutOfAPresentKeyOverwritesInPlace) {
  THashTable table(16);
  ASSERT_TRUE(table.Put("a", U32Value(1)));
  ASSERT_TRUE(table.Put("b", U32Value(2)));
  ASSERT_TRUE(table.Put("A", U32Value(3)));
  EXPECT_EQ(table.EntryCount(), 2u);
  EXPECT_EQ(table.DataArea().size(), 8u);
  EXPECT_EQ(GetU32(table, "a"), 3u);
  EXPECT_EQ(GetU32(table, "b"), 2u);
}

TEST(THashTable, GetCopiesOnlyWhenAskedAndOnlyWhatIsStored) {
  THashTable table(16);
  ASSERT_TRUE(table.Put("k", U16Value(0x1234)));
  EXPECT_TRUE(table.Get("k"));
  uint8_t two[2] = {};
  EXPECT_TRUE(table.Get("k", two));
  EXPECT_EQ(two[0], 0x34);
  uint8_t four[4] = {};
  EXPECT_FALSE(table.Get("k", four));
}

TEST(THashTable, CachedLocationsStayValidWhenTheDataAreaGrows) {
  THashTable table(512);
  ASSERT_TRUE(table.Put("first", U32Value(42)));
  EXPECT_EQ(GetU32(table, "first"), 42u);
  for (uint32_t i = 0; i < 5000; ++i)
    ASSERT_TRUE(table.Put("key" + std::to_string(i), U32Value(i)));
  EXPECT_EQ(GetU32(table, "first"), 42u);
  ASSERT_TRUE(table.Put("first", U32Value(43)));
  EXPECT_EQ(GetU32(table, "first"), 43u);
}

TEST(THashTable, RoundTripsThroughItsStream) {
  THashTable table(256);
  for (uint32_t i = 0; i < 3000; ++i) {
    ASSERT_TRUE(table.Put("script\\scene" + std::to_string(i) + ".s", U32Value(i * 3)));
  }
  base::ByteWriter out;
  out.U8(0x5A);
  table.SaveToStream(out);
  out.U8(0xA5);
  const Bytes bytes = out.Take();

  THashTable loaded(256);
  ASSERT_TRUE(loaded.Put("old", U32Value(1)));
  base::ByteReader in(bytes);
  in.Skip(1);
  EXPECT_TRUE(loaded.LoadFromStream(in));
  EXPECT_EQ(in.U8(), 0xA5);
  EXPECT_EQ(loaded.EntryCount(), 3000u);
  EXPECT_FALSE(loaded.Get("old"));
  for (uint32_t i = 0; i < 3000; ++i) {
    EXPECT_EQ(GetU32(loaded, "SCRIPT\\scene" + std::to_string(i) + ".s"), i * 3);
  }
  EXPECT_EQ(Saved(loaded), Saved(table));
}

TEST(THashTable, OtherBucketCountFailsAndLeavesTheTableEmpty) {
  THashTable table(512);
  ASSERT_TRUE(table.Put("a", U16Value(1)));
  THashTable other(256);
  ASSERT_TRUE(other.Put("b", U16Value(2)));
  EXPECT_EQ(LoadError(other, Saved(table)), kWrongSize);
  EXPECT_EQ(other.EntryCount(), 0u);
  EXPECT_FALSE(other.Get("b"));
}

TEST(THashTable, OtherSignatureFailsAndLeavesTheTableEmpty) {
  THashTable table(4);
  ASSERT_TRUE(table.Put("b", U16Value(2)));
  EXPECT_EQ(LoadError(table, Stream(4, 0, 0, Bytes(8, 0), "HashVer1.1")), kWrongHeader);
  EXPECT_EQ(table.EntryCount(), 0u);
  EXPECT_EQ(LoadError(table, Stream(4, 0, 0, Bytes(8, 0), "HASHVER1.2")), "no error");
  EXPECT_EQ(LoadError(table, Stream(4, 0, 0, Bytes(8, 0), std::string("HashVer1.2\0xyz", 14))),
            "no error");
  EXPECT_EQ(LoadError(table, Stream(4, 0, 0, Bytes(8, 0), "HashVer1.2x")), kWrongHeader);
}

TEST(THashTable, RefusesAnEntryPastTheLimitWithoutAnyChange) {
  THashTable table(512);
  for (uint32_t i = 0; i < THashTable::kMaxEntries; ++i) {
    ASSERT_TRUE(table.Put(std::to_string(i), U16Value(static_cast<uint16_t>(i))));
  }
  EXPECT_FALSE(table.Put("one more", U16Value(1)));
  EXPECT_FALSE(table.Put("7", U16Value(1)));
  EXPECT_EQ(table.EntryCount(), THashTable::kMaxEntries);
  EXPECT_FALSE(table.Get("one more"));
  uint8_t value[2] = {};
  ASSERT_TRUE(table.Get("7", value));
  EXPECT_EQ(value[0], 7);
}

TEST(THashTable, RefusesAKeyTheStreamCannotHold) {
  THashTable table(4);
  EXPECT_FALSE(table.Put(std::string(65536, 'k'), U16Value(1)));
  EXPECT_TRUE(table.Put(std::string(65535, 'k'), U16Value(1)));
  EXPECT_EQ(table.EntryCount(), 1u);
}

TEST(THashTable, RefusesToGrowPastWhatItCouldReadBack) {
  THashTable table(4);
  const Bytes big(kBpeMaxUnpacked / 2, 1);
  EXPECT_TRUE(table.Put("a", big));
  EXPECT_FALSE(table.Put("b", big));
  EXPECT_EQ(table.EntryCount(), 1u);
}

TEST(THashTable, ClearTableEmptiesEverything) {
  THashTable table(4);
  ASSERT_TRUE(table.Put("a", U16Value(1)));
  ASSERT_TRUE(table.Get("a"));
  table.ClearTable();
  EXPECT_EQ(table.EntryCount(), 0u);
  EXPECT_TRUE(table.DataArea().empty());
  EXPECT_FALSE(table.Get("a"));
  EXPECT_EQ(Saved(table), Saved(THashTable(4)));
}

TEST(THashTable, LoadFromFileReadsAFileAndReportsAMissingOne) {
  test::TempDir dir;
  THashTable table(512);
  ASSERT_TRUE(table.Put("data\\a.png", U16Value(3)));
  const auto path = dir.Write("data0.hash", Saved(table));
  THashTable loaded(512);
  EXPECT_TRUE(loaded.LoadFromFile(path));
  EXPECT_TRUE(loaded.Get("DATA\\A.PNG"));
  EXPECT_FALSE(loaded.LoadFromFile(dir.Path() / "missing.hash"));
}

TEST(THashTable, ConstructionNeedsABucket) {
  EXPECT_THROW(THashTable(0), std::invalid_argument);
}

// Hostile streams: each is refused with an error and leaves the table empty.
class HashTableDamage : public ::testing::Test {
 protected:
  void ExpectDamaged(const Bytes& stream) {
    THashTable table(4);
    ASSERT_TRUE(table.Put("x", U16Value(1)));
    base::ByteReader in(stream);
    EXPECT_THROW(table.LoadFromStream(in), base::FormatError);
    EXPECT_EQ(table.EntryCount(), 0u);
    EXPECT_FALSE(table.Get("x"));
  }
};

TEST_F(HashTableDamage, EveryTruncation) {
  THashTable table(4);
  ASSERT_TRUE(table.Put("alpha", U32Value(1)));
  ASSERT_TRUE(table.Put("beta", U32Value(2)));
  const Bytes stream = Saved(table);
  for (size_t length = 0; length < stream.size(); ++length) {
    ExpectDamaged(Bytes(stream.begin(), stream.begin() + static_cast<ptrdiff_t>(length)));
  }
}

TEST_F(HashTableDamage, PackedLengthPastTheEnd) {
  Bytes stream = Stream(4, 0, 0, Bytes(8, 0));
  stream[28] = 0xFF;
  stream[31] = 0x7F;
  ExpectDamaged(stream);
}

TEST_F(HashTableDamage, PackedIndexThatDoesNotExpand) {
  Bytes stream = Stream(4, 0, 0, Bytes(8, 0));
  stream[33] ^= 0x55;  // the scrambled magic
  ExpectDamaged(stream);
}

TEST_F(HashTableDamage, ImpossibleEntryCounts) {
  const Bytes oneEntry =
      base::ByteWriter().U16(1).Str16("k").U64(0).U16(0).U16(0).U16(0).U16(0x0707).Take();
  ExpectDamaged(Stream(4, 70000, 2, oneEntry));
  ExpectDamaged(Stream(4, 0, 2, oneEntry));
  ExpectDamaged(Stream(4, 2, 2, oneEntry));
  // A count the rest of the index cannot hold.
  ExpectDamaged(Stream(4, 65535, 0, base::ByteWriter().U16(65535).U16(0).U16(0).U16(0).Take()));
}

TEST_F(HashTableDamage, OffsetOrDataAreaPastTheIndex) {
  const auto index = [](uint64_t offset) {
    return base::ByteWriter().U16(1).Str16("k").U64(offset).U16(0).U16(0).U16(0).U16(0x0707).Take();
  };
  ExpectDamaged(Stream(4, 1, 2, index(3)));
  ExpectDamaged(Stream(4, 1, 3, index(0)));
}

TEST(THashTable, StoredValueShorterThanAskedIsNeitherReadNorWritten) {
  // A loaded entry whose value starts right at the end of the data area.
  const Bytes index = base::ByteWriter().U16(1).Str16("k").U64(2).Append(Bytes{1, 2}).Take();
  THashTable table(1);
  Load(table, Stream(1, 1, 2, index));
  EXPECT_TRUE(table.Get("k"));
  uint8_t value[2] = {};
  EXPECT_FALSE(table.Get("k", value));
  EXPECT_FALSE(table.Put("k", U16Value(5)));
  EXPECT_EQ(table.DataArea(), (Bytes{1, 2}));
}

}  // namespace
}  // namespace mavu::resource
