#include "resource/block_checksum.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "base/bytes.h"

namespace mavu::resource {
namespace {

// Lane by lane, as the format describes it, to check the packed 64-bit version.
uint32_t LaneByLane(const base::Bytes& data) {
  std::array<uint16_t, 4> step{};
  std::array<uint16_t, 4> sum{};
  for (size_t block = 0; block + 8 <= data.size(); block += 8) {
    for (size_t lane = 0; lane < 4; ++lane) {
      step[lane] = static_cast<uint16_t>(step[lane] + 775);
      const uint16_t value =
          static_cast<uint16_t>(data[block + 2 * lane] | (data[block + 2 * lane + 1] << 8));
      sum[lane] = static_cast<uint16_t>(sum[lane] + (value ^ step[lane]));
    }
  }
  const uint32_t low = sum[0] | (uint32_t{sum[1]} << 16);
  const uint32_t high = sum[2] | (uint32_t{sum[3]} << 16);
  return low ^ high;
}

TEST(BlockChecksum, OneBlockXorsTheStepAndFoldsTheHalves) {
  // Lanes 1,2,3,4 ^ 0x0307 = 0x0306,0x0305,0x0304,0x0303.
  const base::Bytes data = {1, 0, 2, 0, 3, 0, 4, 0};
  EXPECT_EQ(BlockChecksum(data), 0x03050306u ^ 0x03030304u);
}

TEST(BlockChecksum, LanesWrapAroundIndependently) {
  // Blocks 2 and 3 (all 0xFFFF) use steps 0x060E and 0x0915; the third sum
  // of every lane passes 0xFFFF and must not carry into its neighbour.
  base::Bytes data = {1, 0, 2, 0, 3, 0, 4, 0};
  data.resize(24, 0xFF);
  EXPECT_EQ(BlockChecksum(data), 0xF3E0F3E1u ^ 0xF3DEF3DFu);
}

TEST(BlockChecksum, TrailingPartialBlockIsNotCovered) {
  base::Bytes data = {9, 8, 7, 6, 5, 4, 3, 2};
  const uint32_t whole = BlockChecksum(data);
  data.insert(data.end(), {1, 2, 3, 4, 5, 6, 7});
  EXPECT_EQ(BlockChecksum(data), whole);
}

TEST(BlockChecksum, ShorterThanOneBlockIsZero) {
  EXPECT_EQ(BlockChecksum({}), 0u);
  const base::Bytes seven = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(BlockChecksum(seven), 0u);
}

TEST(BlockChecksum, MatchesTheLaneByLaneFormOnLongData) {
  std::mt19937 random(7);
  base::Bytes data(64 * 1024 + 5);
  for (auto& b : data) b = static_cast<uint8_t>(random());
  EXPECT_EQ(BlockChecksum(data), LaneByLane(data));
  data[100] ^= 1;
  EXPECT_EQ(BlockChecksum(data), LaneByLane(data));
}

}  // namespace
}  // namespace mavu::resource
