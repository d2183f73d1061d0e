#include "shell/sound/loop_header.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "base/byte_writer.h"

namespace mavu::shell {
namespace {

base::ByteWriter& Entry(base::ByteWriter& out, float target, float trigger, int32_t count) {
  return out.U32(std::bit_cast<uint32_t>(target)).U32(std::bit_cast<uint32_t>(trigger)).I32(count);
}

base::Bytes Header(float firstTarget, float firstTrigger, int32_t firstCount) {
  base::ByteWriter out;
  out.Text("ALPHAOGG");
  Entry(out, firstTarget, firstTrigger, firstCount);
  for (int i = 1; i < 16; ++i) Entry(out, 0.5f, static_cast<float>(i), i);
  return out.Text("OggS").Take();
}

TEST(LoopHeader, ReadsSixteenEntriesAndStartsTheStreamAfterThem) {
  const LoopHeader header = ReadLoopHeader(Header(1.25f, 3.5f, -1));
  EXPECT_EQ(header.dataOffset, 200u);
  EXPECT_FLOAT_EQ(header.points[0].target, 1.25f);
  EXPECT_FLOAT_EQ(header.points[0].trigger, 3.5f);
  EXPECT_EQ(header.points[0].count, -1);
  EXPECT_FLOAT_EQ(header.points[15].trigger, 15.0f);
  EXPECT_EQ(header.points[15].count, 15);
}

TEST(LoopHeader, FilesWithoutTheMagicOrShorterThanTheBlockHaveNoPoints) {
  base::Bytes wrong = Header(1, 2, 3);
  wrong[0] = 'B';
  base::Bytes shortFile = Header(1, 2, 3);
  shortFile.resize(199);
  for (const base::Bytes& file : {wrong, shortFile}) {
    const LoopHeader header = ReadLoopHeader(file);
    EXPECT_EQ(header.dataOffset, 0u);
    EXPECT_EQ(header.points[0].count, 0);
  }
}

TEST(LoopHeader, NegativeOrNonFiniteTimesTurnTheEntryOff) {
  for (const auto& [target, trigger] : {std::pair{-1.0f, 2.0f}, std::pair{1.0f, -0.5f},
                                        std::pair{std::numeric_limits<float>::quiet_NaN(), 2.0f},
                                        std::pair{1.0f, std::numeric_limits<float>::infinity()}}) {
    const LoopHeader header = ReadLoopHeader(Header(target, trigger, -1));
    EXPECT_EQ(header.points[0].count, 0) << target << " " << trigger;
    EXPECT_EQ(header.points[1].count, 1);
  }
}

}  // namespace
}  // namespace mavu::shell
