#include "resource/scramble.h"

#include <gtest/gtest.h>

#include <random>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::resource {
namespace {

base::Bytes RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  base::Bytes bytes(size);
  for (auto& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

uint64_t StepHalves(uint64_t v) {
  const uint32_t low = static_cast<uint32_t>(v) + kScrambleKeystreamStep;
  const uint32_t high = static_cast<uint32_t>(v >> 32) + kScrambleKeystreamStep;
  return (uint64_t{high} << 32) | low;
}

TEST(ScrambleBlocks, FollowsTheKeystreamOnTwoBlocks) {
  const uint32_t key = 0x01020304;
  const uint64_t plain0 = 0x1122334455667788ull;
  const uint64_t plain1 = 0x0F0E0D0C0B0A0908ull;
  base::Bytes bytes = base::ByteWriter().U64(plain0).U64(plain1).Take();
  ScrambleBlocks(bytes, ScrambleDirection::kScramble, key);

  const uint32_t seed = (16 + key) ^ kScrambleSeedMask;
  const uint64_t chain = (uint64_t{seed} << 32) | seed;
  const uint64_t stream0 = chain ^ StepHalves(kScrambleKeystreamStart);
  const uint64_t stream1 = plain0 ^ StepHalves(stream0);
  base::ByteReader in(bytes);
  EXPECT_EQ(in.U64(), plain0 ^ stream0);
  EXPECT_EQ(in.U64(), plain1 ^ stream1);
}

TEST(ScrambleBlocks, UnscrambleRestoresTheBuffer) {
  for (size_t size : {0u, 5u, 8u, 64u, 8u * 1000 + 3}) {
    const base::Bytes plain = RandomBytes(size, static_cast<unsigned>(size));
    base::Bytes bytes = plain;
    ScrambleBlocks(bytes, ScrambleDirection::kScramble, kPackEntryKey);
    if (size >= 8) {
      EXPECT_NE(bytes, plain) << size;
    }
    ScrambleBlocks(bytes, ScrambleDirection::kUnscramble, kPackEntryKey);
    EXPECT_EQ(bytes, plain) << size;
  }
}

TEST(ScrambleBlocks, LeavesTheTrailingBytesAndShortBuffersAlone) {
  const base::Bytes plain = RandomBytes(8 * 5 + 3, 1);
  base::Bytes bytes = plain;
  ScrambleBlocks(bytes, ScrambleDirection::kScramble, kHashTableKey);
  EXPECT_TRUE(std::equal(bytes.end() - 3, bytes.end(), plain.end() - 3));
  base::Bytes seven = {1, 2, 3, 4, 5, 6, 7};
  ScrambleBlocks(seven, ScrambleDirection::kScramble, kHashTableKey);
  EXPECT_EQ(seven, (base::Bytes{1, 2, 3, 4, 5, 6, 7}));
}

TEST(ScrambleBlocks, ChangeInOneBlockCarriesIntoTheNext) {
  base::Bytes a(32, 0);
  base::Bytes b = a;
  b[0] = 1;
  ScrambleBlocks(a, ScrambleDirection::kScramble, 5);
  ScrambleBlocks(b, ScrambleDirection::kScramble, 5);
  EXPECT_FALSE(std::equal(a.begin() + 8, a.begin() + 16, b.begin() + 8));
}

TEST(ScrambleBlocks, KeyAndLengthBothChangeTheOutput) {
  const base::Bytes plain(24, 0x55);
  base::Bytes one = plain;
  base::Bytes other = plain;
  ScrambleBlocks(one, ScrambleDirection::kScramble, 1);
  ScrambleBlocks(other, ScrambleDirection::kScramble, 2);
  EXPECT_NE(one, other);
  base::Bytes longer(25, 0x55);
  ScrambleBlocks(longer, ScrambleDirection::kScramble, 1);
  EXPECT_FALSE(std::equal(one.begin(), one.end(), longer.begin()));
}

TEST(ScrambleName, XorsEachByteWithItsPositionFormula) {
  const uint8_t key = 0x31;
  const std::string text = "ab\x95\x5C";
  const std::string out = ScrambleName(text, key);
  ASSERT_EQ(out.size(), text.size());
  const uint32_t mixed = 4 + (key ^ kNameKeyMask);
  for (uint32_t i = 1; i <= 4; ++i) {
    const uint8_t mask = static_cast<uint8_t>(i + (mixed ^ i));
    EXPECT_EQ(static_cast<uint8_t>(out[i - 1]), static_cast<uint8_t>(text[i - 1]) ^ mask) << i;
  }
}

TEST(ScrambleName, IsItsOwnInverse) {
  const std::string name = "system\\menu\\layout.dat";
  const std::string scrambled = ScrambleName(name, kPackNameKey);
  EXPECT_NE(scrambled, name);
  EXPECT_EQ(ScrambleName(scrambled, kPackNameKey), name);
  EXPECT_EQ(ScrambleName("", kPackNameKey), "");
}

}  // namespace
}  // namespace mavu::resource
