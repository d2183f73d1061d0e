#include "resource/bpe.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::resource {
namespace {

using base::Bytes;

// Pair table with no pairs: skip 128 plain codes, then code 128 as a plain
// entry, then skip the remaining 127.
const Bytes kIdentityTable = {0xFF, 0x80, 0xFE};

Bytes FromText(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

Bytes TextLike(size_t size) {
  static const char* const kLines[] = {"\\msg \x82\xa0\x82\xa2\x82\xa4\n", "@@label_01\n",
                                       "\\if $flag == 1 \\goto @@end\n",
                                       "\x8d\xa1\x93\xfa\x82\xcd\x90\xb0\x82\xea\n"};
  std::string text;
  for (size_t i = 0; text.size() < size; ++i) text += kLines[(i * 7 + i / 3) % 4];
  text.resize(size);
  return FromText(text);
}

Bytes RandomBytes(size_t size, unsigned seed, unsigned range = 256) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (auto& b : bytes) b = static_cast<uint8_t>(random() % range);
  return bytes;
}

// A head in the current form and the given blocks.
Bytes Packed(uint32_t length, const Bytes& blocks) {
  return base::ByteWriter().U32(kBpeMagic).U32(1).U32(length).Append(blocks).Take();
}

// Walks the pair tables and data lengths of a stream in the current form.
size_t CountBlocks(const Bytes& packed) {
  base::ByteReader in(packed);
  in.Skip(12);
  size_t blocks = 0;
  while (!in.AtEnd()) {
    unsigned code = 0;
    while (code < 256) {
      const unsigned count = in.U8();
      unsigned entries = count + 1;
      if (count > 127) {
        code += count - 127;
        entries = code < 256 ? 1 : 0;
      }
      for (unsigned i = 0; i < entries; ++i, ++code) {
        if (in.U8() != code) in.U8();
      }
    }
    in.Skip(in.U16());
    ++blocks;
  }
  return blocks;
}

void ExpectRoundTrip(const Bytes& input) {
  const Bytes packed = BpeCompress(input);
  const auto expanded = BpeExpand(packed);
  ASSERT_TRUE(expanded.has_value()) << input.size();
  EXPECT_EQ(*expanded, input);
}

TEST(BpeCompress, EmptyInputIsOneBlockWithAnIdentityTable) {
  Bytes expected = {0x31, 0x50, 0x43, 0xFF, 1, 0, 0, 0, 0, 0, 0, 0};
  expected.insert(expected.end(), kIdentityTable.begin(), kIdentityTable.end());
  expected.insert(expected.end(), {0, 0});
  EXPECT_EQ(BpeCompress({}), expected);
}

TEST(BpeCompress, BlockEndsOnceTwoHundredValuesHaveBeenSeen) {
  Bytes input(256);
  for (int i = 0; i < 256; ++i) input[i] = static_cast<uint8_t>(i);
  base::ByteWriter expected;
  expected.U32(kBpeMagic).U32(1).U32(256);
  expected.Append(kIdentityTable).U16(200).Append(std::span(input.data(), 200));
  expected.Append(kIdentityTable).U16(56).Append(std::span(input.data() + 200, 56));
  EXPECT_EQ(BpeCompress(input), expected.Data());
}

TEST(BpeCompress, ReplacesAFrequentPairWithTheHighestFreeCode) {
  // "ab" occurs three times: code 255 takes it, written as a skip of 128,
  // entry 128, a skip of 126, then entry 255 = ('a','b').
  const Bytes input = FromText("abxabyab");
  base::ByteWriter expected;
  expected.U32(kBpeMagic).U32(1).U32(8);
  expected.Append(Bytes{0xFF, 0x80, 0xFD, 'a', 'b'});
  expected.U16(5).Append(Bytes{0xFF, 'x', 0xFF, 'y', 0xFF});
  EXPECT_EQ(BpeCompress(input), expected.Data());
}

TEST(BpeCompress, RoundTripsAllKindsOfInput) {
  ExpectRoundTrip({});
  ExpectRoundTrip({0x42});
  ExpectRoundTrip(TextLike(100 * 1000));
  ExpectRoundTrip(RandomBytes(50 * 1000, 1));
  ExpectRoundTrip(RandomBytes(50 * 1000, 2, 16));
  ExpectRoundTrip(Bytes(70 * 1000, 0));
  Bytes all;
  for (int round = 0; round < 40; ++round) {
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<uint8_t>(i * 7 + round));
  }
  ExpectRoundTrip(all);
}

TEST(BpeCompress, ShrinksRepetitiveData) {
  const Bytes text = TextLike(64 * 1024);
  EXPECT_LT(BpeCompress(text).size(), text.size() / 2);
}

TEST(BpeCompress, BlockHoldsAtMostEightKilobytes) {
  const Bytes input = RandomBytes(8192 + 1, 3, 100);
  EXPECT_EQ(CountBlocks(BpeCompress(std::span(input.data(), 8192))), 1u);
  EXPECT_EQ(CountBlocks(BpeCompress(input)), 2u);
  ExpectRoundTrip(input);
}

TEST(BpeCompress, RefusesInputThatCouldNotBeExpanded) {
  EXPECT_THROW(BpeCompress(Bytes(kBpeMaxUnpacked + 1)), std::length_error);
}

TEST(BpeExpand, ReadsAHandMadeBlockWithNestedPairs) {
  // Code 128 = ('a','b'), code 129 = (128, 128): skip 128, entry 128, then a
  // run of one entry (count 0) for 129, then skip 126.
  const Bytes blocks = {0xFF, 'a', 'b', 0x00, 0x80, 0x80, 0xFE - 1, 3, 0, 0x81, 'c', 0x80};
  EXPECT_EQ(BpeExpand(Packed(7, blocks)), FromText("ababcab"));
}

TEST(BpeExpand, ReadsSeveralBlocksWithFreshTables) {
  const Bytes first = {0xFF, 'a', 'b', 0xFE, 1, 0, 0x80};
  const Bytes second = {0xFF, 0x80, 0xFE, 2, 0, 0x80, 0x80};
  Bytes blocks = first;
  blocks.insert(blocks.end(), second.begin(), second.end());
  EXPECT_EQ(BpeExpand(Packed(4, blocks)), (Bytes{'a', 'b', 0x80, 0x80}));
}

TEST(BpeExpand, OlderFormHasNoMagicAndU32BlockLengths) {
  const Bytes stream = base::ByteWriter()
                           .U32(5)
                           .Append(Bytes{0xFF, 'x', 'y', 0xFE})
                           .U32(3)
                           .Append(Bytes{0x80, 0x80, 'z'})
                           .Take();
  EXPECT_EQ(BpeExpand(stream), FromText("xyxyz"));
}

TEST(BpeExpand, FlagsWithoutBitZeroMeanU32BlockLengths) {
  const Bytes stream = base::ByteWriter()
                           .U32(kBpeMagic)
                           .U32(0)
                           .U32(2)
                           .Append(kIdentityTable)
                           .U32(2)
                           .Append(Bytes{'o', 'k'})
                           .Take();
  EXPECT_EQ(BpeExpand(stream), FromText("ok"));
}

TEST(BpeExpand, HeadWithoutBlocksIsEmptyOnlyWhenLengthIsZero) {
  EXPECT_EQ(BpeExpand(Packed(0, {})), Bytes{});
  EXPECT_FALSE(BpeExpand(Packed(1, {})).has_value());
}

TEST(BpeExpand, RefusesMoreThanSixtyFourMegabytes) {
  Bytes blocks = kIdentityTable;
  blocks.insert(blocks.end(), {0, 0});
  EXPECT_FALSE(BpeExpand(Packed(kBpeMaxUnpacked + 1, blocks)).has_value());
  EXPECT_FALSE(BpeExpand(base::ByteWriter().U32(0xFFFFFFF0).Take()).has_value());
}

TEST(BpeExpand, FailsWhenBlocksYieldMoreOrFewerBytesThanDeclared) {
  Bytes blocks = kIdentityTable;
  blocks.insert(blocks.end(), {3, 0, 'a', 'b', 'c'});
  EXPECT_EQ(BpeExpand(Packed(3, blocks)), FromText("abc"));
  EXPECT_FALSE(BpeExpand(Packed(2, blocks)).has_value());
  EXPECT_FALSE(BpeExpand(Packed(4, blocks)).has_value());
  EXPECT_FALSE(BpeExpand(Packed(0, blocks)).has_value());
}

TEST(BpeExpand, FailsWhenAPairOverrunsTheDeclaredLength) {
  // 128 = ('a','b'): the last code would write one byte past a length of 2.
  const Bytes blocks = {0xFF, 'a', 'b', 0xFE, 2, 0, 'c', 0x80};
  EXPECT_FALSE(BpeExpand(Packed(2, blocks)).has_value());
  EXPECT_EQ(BpeExpand(Packed(3, blocks)), FromText("cab"));
}

TEST(BpeExpand, FailsOnEveryTruncation) {
  const Bytes packed = BpeCompress(TextLike(3000));
  for (size_t length = 0; length < packed.size(); ++length) {
    EXPECT_FALSE(BpeExpand(std::span(packed.data(), length)).has_value()) << length;
  }
}

TEST(BpeExpand, FailsWhenTheDataLengthRunsPastTheEnd) {
  Bytes blocks = kIdentityTable;
  blocks.insert(blocks.end(), {0x10, 0, 'a', 'b'});
  EXPECT_FALSE(BpeExpand(Packed(2, blocks)).has_value());
}

TEST(BpeExpand, FailsWhenThePairTableRunsPastCode255) {
  // Skip 128, entry 128, then 128 entries from 129.
  Bytes run = {0xFF, 0x80, 0x7F};
  for (int i = 0; i < 128; ++i) run.push_back(static_cast<uint8_t>(129 + i));
  run.insert(run.end(), {0, 0});
  EXPECT_FALSE(BpeExpand(Packed(0, run)).has_value());
  // Skip 128, entry 128, skip 128 more.
  EXPECT_FALSE(BpeExpand(Packed(0, {0xFF, 0x80, 0xFF, 0, 0})).has_value());
}

TEST(BpeExpand, FailsOnPairsThatExpandForever) {
  // 128 = ('a', 128) contains itself; 129 and 130 contain each other.
  const Bytes selfLoop = {0xFF, 'a', 0x80, 0xFE, 1, 0, 0x80};
  EXPECT_FALSE(BpeExpand(Packed(100, selfLoop)).has_value());
  const Bytes cycle = {0xFF, 0x80, 1, 0x82, 'a', 0x81, 'b', 0xFC, 1, 0, 0x81};
  EXPECT_FALSE(BpeExpand(Packed(100, cycle)).has_value());
}

TEST(BpeExpand, FailsFastOnPairsThatDoubleBeyondAnyLength) {
  // Code 1 = (0,0), code c = (c-1, c-1) up to 127: 2^127 bytes.
  Bytes table = {0x7F, 0};
  for (int c = 1; c < 128; ++c) table.insert(table.end(), {uint8_t(c - 1), uint8_t(c - 1)});
  table.push_back(0xFF);
  table.insert(table.end(), {1, 0, 127});
  EXPECT_FALSE(BpeExpand(Packed(1000, table)).has_value());
}

TEST(BpeExpand, ExpandsDeepChainsOfPairs) {
  // Code 0 = literal, code c = (c-1, 0xC8) for c = 1..127 nests 127 levels deep.
  Bytes table = {0x7F, 0};
  for (int c = 1; c < 128; ++c) table.insert(table.end(), {uint8_t(c - 1), 0xC8});
  table.push_back(0xFF);
  table.insert(table.end(), {1, 0, 127});
  Bytes expected = {0};
  expected.insert(expected.end(), 127, 0xC8);
  EXPECT_EQ(BpeExpand(Packed(128, table)), expected);
}

TEST(BpeExpandBlocks, ReadsBlocksWithoutAHead) {
  const Bytes blocks =
      base::ByteWriter().Append(kIdentityTable).U32(2).Append(FromText("hi")).Take();
  EXPECT_EQ(BpeExpandBlocks(blocks, 2, false), FromText("hi"));
  EXPECT_FALSE(BpeExpandBlocks(blocks, 2, true).has_value());
  EXPECT_FALSE(BpeExpandBlocks(blocks, kBpeMaxUnpacked + 1, false).has_value());
}

}  // namespace
}  // namespace mavu::resource
