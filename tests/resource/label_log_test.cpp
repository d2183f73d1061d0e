#include "resource/label_log.h"

#include <gtest/gtest.h>

#include "resource/bpe.h"
#include "resource/hash_table.h"
#include "resource/scramble.h"

namespace mavu::resource {
namespace {

using base::Bytes;

// The index of a saved log, unscrambled and unpacked.
Bytes SavedIndex(const TLabelLog& log, uint32_t* entries = nullptr) {
  base::ByteWriter out;
  log.SaveLog(out);
  base::ByteReader in(out.Data());
  EXPECT_EQ(in.Text(16), std::string("HashVer1.2\0\0\0\0\0\0", 16));
  EXPECT_EQ(in.U32(), 256u);
  const uint32_t count = in.U32();
  if (entries) *entries = count;
  EXPECT_EQ(in.U32(), count * 4);  // every value is 4 bytes
  Bytes packed = in.Take(in.U32());
  EXPECT_TRUE(in.AtEnd());
  ScrambleBlocks(packed, ScrambleDirection::kUnscramble, kHashTableKey);
  return BpeExpand(packed).value_or(Bytes());
}

TEST(LabelLog, AbsentKeysReadMinusOne) {
  TLabelLog log;
  EXPECT_EQ(log.LookupCount("nothing"), -1);
  EXPECT_FALSE(log.Find("nothing"));
}

TEST(LabelLog, UnforcedRecordsOnlyGrow) {
  TLabelLog log;
  EXPECT_TRUE(log.RecordCount("Key", 5, false));
  EXPECT_FALSE(log.RecordCount("key", 5, false));
  EXPECT_FALSE(log.RecordCount("KEY", 4, false));
  EXPECT_EQ(log.LookupCount("kEy"), 5);
  EXPECT_TRUE(log.RecordCount("key", 6, false));
  EXPECT_EQ(log.LookupCount("key"), 6);
  EXPECT_EQ(log.EntryCount(), 1u);
}

TEST(LabelLog, ComparesSigned) {
  TLabelLog log;
  EXPECT_TRUE(log.RecordCount("neg", -5, false));  // absent: stored even below -1
  EXPECT_EQ(log.LookupCount("neg"), -5);
  EXPECT_TRUE(log.RecordCount("neg", -1, false));
  EXPECT_FALSE(log.RecordCount("neg", -2, false));
  EXPECT_EQ(log.LookupCount("neg"), -1);
  ASSERT_TRUE(log.Find("neg"));  // present with -1, unlike an absent key
  EXPECT_TRUE(log.RecordCount("big", INT32_MAX, false));
  EXPECT_FALSE(log.RecordCount("big", INT32_MIN, false));
}

TEST(LabelLog, ForcedRecordsReplaceEvenWithLess) {
  TLabelLog log;
  log.RecordCount("k", 100, true);
  EXPECT_TRUE(log.RecordCount("k", 3, true));
  EXPECT_EQ(log.LookupCount("k"), 3);
}

TEST(LabelLog, ClearForgetsEverything) {
  TLabelLog log;
  log.RecordCount("a", 1, true);
  log.ClearLog();
  EXPECT_EQ(log.LookupCount("a"), -1);
  EXPECT_EQ(log.EntryCount(), 0u);
}

TEST(LabelLog, SavesValuesAsFourLittleEndianBytesIn256Buckets) {
  TLabelLog log;
  log.RecordCount("A", 0x01020304, true);
  uint32_t entries = 0;
  const Bytes index = SavedIndex(log, &entries);
  EXPECT_EQ(entries, 1u);
  // "a" sums to 0x61 * 1, so it sits in bucket 97.
  base::ByteWriter expected;
  for (int bucket = 0; bucket < 256; ++bucket) {
    expected.U16(bucket == 97 ? 1 : 0);
    if (bucket == 97) expected.Str16("a").U64(0);
  }
  expected.U8(0x04).U8(0x03).U8(0x02).U8(0x01);
  EXPECT_EQ(index, expected.Data());
}

TEST(LabelLog, NegativeValuesSaveAsTwosComplement) {
  TLabelLog log;
  log.RecordCount("a", -2, true);
  const Bytes index = SavedIndex(log);
  ASSERT_GE(index.size(), 4u);
  EXPECT_EQ(Bytes(index.end() - 4, index.end()), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(LabelLog, LoadsWhatItSaved) {
  TLabelLog log;
  log.RecordCount("script.s@@top", 12, true);
  log.RecordCount("x", -7, true);
  base::ByteWriter out;
  log.SaveLog(out);
  TLabelLog back;
  back.RecordCount("old", 1, true);
  base::ByteReader in(out.Data());
  back.LoadLog(in);
  EXPECT_EQ(back.LookupCount("SCRIPT.S@@TOP"), 12);
  EXPECT_EQ(back.LookupCount("x"), -7);
  EXPECT_EQ(back.LookupCount("old"), -1);
}

TEST(LabelLog, RefusesAStreamOfAnotherTableSize) {
  THashTable other(16);
  other.Put("a", Bytes{1, 0, 0, 0});
  base::ByteWriter out;
  other.SaveToStream(out);
  TLabelLog log;
  log.RecordCount("kept?", 1, true);
  base::ByteReader in(out.Data());
  EXPECT_THROW(log.LoadLog(in), base::FormatError);
  EXPECT_EQ(log.EntryCount(), 0u);
}

TEST(LabelLog, AShortValueFromADamagedStreamReadsAsAbsent) {
  // One entry whose value offset leaves only 2 bytes of the data area.
  base::ByteWriter index;
  for (int bucket = 0; bucket < 256; ++bucket) {
    index.U16(bucket == 97 ? 1 : 0);
    if (bucket == 97) index.Str16("a").U64(2);
  }
  index.U32(0x11223344);
  Bytes packed = BpeCompress(index.Data());
  ScrambleBlocks(packed, ScrambleDirection::kScramble, kHashTableKey);
  const Bytes stream = base::ByteWriter()
                           .FixedText("HashVer1.2", 16)
                           .U32(256)
                           .U32(1)
                           .U32(4)
                           .U32(static_cast<uint32_t>(packed.size()))
                           .Append(packed)
                           .Take();
  TLabelLog log;
  base::ByteReader in(stream);
  log.LoadLog(in);
  EXPECT_EQ(log.LookupCount("a"), -1);
  EXPECT_FALSE(log.RecordCount("a", 9, false));
  EXPECT_FALSE(log.RecordCount("a", 9, true));
}

}  // namespace
}  // namespace mavu::resource
