#include "imaging/kel_log_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/bytes.h"

namespace mavu::imaging {
namespace {

// The bytes of one entry as the stream carries it.
void PutEntry(base::ByteWriter& out, std::string_view speaker, std::string_view text,
              std::string_view voice, uint32_t a1, uint32_t a2, uint8_t b) {
  out.U16(static_cast<uint16_t>(speaker.size())).Text(speaker);
  out.U16(static_cast<uint16_t>(text.size())).Text(text);
  out.U16(static_cast<uint16_t>(voice.size())).Text(voice);
  out.U32(a1).U32(a2).U8(b);
}

KelLogEntry Entry(std::string text) {
  KelLogEntry entry;
  entry.text = std::move(text);
  return entry;
}

TEST(KelLogData, EmptyStoreWritesCountHeadAndTwoHundredFiftySixUnusedEntries) {
  TKelLogData log;
  base::ByteWriter out;
  log.WriteState(out);
  ASSERT_EQ(out.Size(), 8u + 256u * 15u);
  base::ByteWriter expected;
  expected.U32(0).U32(0);
  for (int i = 0; i < 256; ++i) PutEntry(expected, "", "", "", 0, 0, 0xFF);
  EXPECT_EQ(out.Data(), expected.Data());
}

TEST(KelLogData, EntriesAreWrittenInRingOrderFieldByField) {
  TKelLogData log;
  log.Add({"Aoi", "Hello[n]", "v001.ogg", 0x11223344, 7, 200});
  log.Add({"", "Second", "", 0, 0, 255});
  base::ByteWriter out;
  log.WriteState(out);

  base::ByteWriter expected;
  expected.U32(2).U32(2);
  PutEntry(expected, "Aoi", "Hello[n]", "v001.ogg", 0x11223344, 7, 200);
  PutEntry(expected, "", "Second", "", 0, 0, 255);
  for (int i = 2; i < 256; ++i) PutEntry(expected, "", "", "", 0, 0, 0xFF);
  EXPECT_EQ(out.Data(), expected.Data());
  // Spot-check the first entry's bytes against the hand-written layout.
  const std::vector<uint8_t> head = {2, 0, 0, 0, 2, 0, 0, 0, 3, 0, 'A', 'o', 'i'};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), out.Data().begin()));
}

TEST(KelLogData, NewestIsBackZeroAndOlderEntriesFollow) {
  TKelLogData log;
  EXPECT_EQ(log.Back(0), nullptr);
  log.Add(Entry("one"));
  log.Add(Entry("two"));
  log.Add(Entry("three"));
  ASSERT_NE(log.Back(0), nullptr);
  EXPECT_EQ(log.Back(0)->text, "three");
  EXPECT_EQ(log.Back(2)->text, "one");
  EXPECT_EQ(log.Back(3), nullptr);
  EXPECT_EQ(log.Back(-1), nullptr);
}

TEST(KelLogData, ThreeHundredEntriesKeepTheNewestTwoHundredFiftySix) {
  TKelLogData log;
  for (int i = 0; i < 300; ++i) log.Add(Entry(std::to_string(i)));
  EXPECT_EQ(log.Count(), 256);
  EXPECT_EQ(log.Head(), 300 % 256);
  EXPECT_EQ(log.Back(0)->text, "299");
  EXPECT_EQ(log.Back(255)->text, "44");
  EXPECT_EQ(log.Back(256), nullptr);
}

TEST(KelLogData, RoundTripRestoresEveryByte) {
  TKelLogData log;
  for (int i = 0; i < 260; ++i) log.Add({"s" + std::to_string(i), "t", "v", 1u + i, 2, 3});
  base::ByteWriter first;
  log.WriteState(first);

  TKelLogData copy;
  base::ByteReader in(first.Data());
  copy.ReadState(in);
  EXPECT_TRUE(in.AtEnd());
  base::ByteWriter second;
  copy.WriteState(second);
  EXPECT_EQ(first.Data(), second.Data());
  EXPECT_EQ(copy.Back(0)->speaker, "s259");
}

TEST(KelLogData, ClearGivesTheUnusedForm) {
  TKelLogData log;
  log.Add({"a", "b", "c", 1, 2, 3});
  log.Clear();
  base::ByteWriter cleared;
  log.WriteState(cleared);
  base::ByteWriter fresh;
  TKelLogData().WriteState(fresh);
  EXPECT_EQ(cleared.Data(), fresh.Data());
  EXPECT_EQ(log.Back(0), nullptr);
}

TEST(KelLogData, RefusesCountOrHeadOutOfRangeAndKeepsItsEntries) {
  TKelLogData log;
  log.Add(Entry("kept"));
  for (auto [count, head] : {std::pair<uint32_t, uint32_t>{257, 0}, {0, 256}}) {
    base::ByteWriter bad;
    bad.U32(count).U32(head);
    for (int i = 0; i < 256; ++i) PutEntry(bad, "", "", "", 0, 0, 0xFF);
    base::ByteReader in(bad.Data());
    EXPECT_THROW(log.ReadState(in), base::FormatError);
  }
  EXPECT_EQ(log.Back(0)->text, "kept");
}

TEST(KelLogData, AShortStreamChangesNothing) {
  TKelLogData source;
  source.Add(Entry("new"));
  base::ByteWriter out;
  source.WriteState(out);
  std::vector<uint8_t> bytes = out.Data();
  bytes.resize(bytes.size() - 1);

  TKelLogData log;
  log.Add(Entry("old"));
  base::ByteReader in(bytes);
  EXPECT_THROW(log.ReadState(in), base::FormatError);
  EXPECT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Back(0)->text, "old");
}

}  // namespace
}  // namespace mavu::imaging
