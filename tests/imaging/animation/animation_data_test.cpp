#include "imaging/animation/animation_data.h"

#include <gtest/gtest.h>

#include <numeric>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::imaging {
namespace {

// Every field set so that the little-endian record reads 1, 2, 3 ... 32.
AnimationKey CountingKey() {
  AnimationKey key;
  key.time = 0x04030201;
  key.source = {0x0605, 0x0807, 0x0A09, 0x0C0B};
  key.destination = {0x0E0D, 0x100F, 0x1211, 0x1413, 0x1615};
  key.colour = 0x1A191817;
  key.drawType = 0x1B;
  key.sourceMode = 0x1C;
  key.destinationMode = 0x1D;
  key.colourMode = 0x1E;
  key.action = 0x1F;
  key.argument = 0x20;
  return key;
}

TEST(AnimationKey, IsThirtyTwoBytesInFieldOrder) {
  base::Bytes counting(AnimationKey::kBytes);
  std::iota(counting.begin(), counting.end(), uint8_t{1});
  base::ByteWriter out;
  CountingKey().Write(out);
  EXPECT_EQ(out.Data(), counting);
  base::ByteReader in(counting);
  EXPECT_EQ(AnimationKey::Read(in), CountingKey());
  EXPECT_TRUE(in.AtEnd());
}

TEST(AnimationKey, KeepsNegativeCoordinatesAndTimes) {
  AnimationKey key;
  key.time = -5;
  key.source = {-1, -32768, 32767, 0};
  key.destination = {-2, -3, -4, -5, -6};
  base::ByteWriter out;
  key.Write(out);
  base::ByteReader in(out.Data());
  EXPECT_EQ(AnimationKey::Read(in), key);
}

TEST(AnimationLayer, IsANameFieldThenThirtyTwoKeys) {
  AnimationLayer layer = AnimationLayer::Fresh(0);
  layer.name = "ab";
  for (int k = 0; k < AnimationLayer::kKeys; ++k) layer.keys[k].argument = static_cast<uint8_t>(k);
  base::ByteWriter out;
  layer.Write(out);
  const base::Bytes& bytes = out.Data();
  ASSERT_EQ(bytes.size(), 1056u);
  EXPECT_EQ(bytes[0], 2);
  EXPECT_EQ(bytes[1], 'a');
  EXPECT_EQ(bytes[2], 'b');
  for (size_t i = 3; i < 32; ++i) EXPECT_EQ(bytes[i], 0) << i;
  for (size_t k = 0; k < 32; ++k) {
    base::ByteReader key(std::span<const uint8_t>(bytes).subspan(32 + 32 * k, 32));
    EXPECT_EQ(key.I32(), static_cast<int32_t>(k * 1000)) << k;
    key.Skip(27);
    EXPECT_EQ(key.U8(), k);
  }
  base::ByteReader in(bytes);
  EXPECT_EQ(AnimationLayer::Read(in), layer);
}

TEST(AnimationLayer, FreshLayerIsNamedAfterItsNumberWithKeysASecondApart) {
  const AnimationLayer layer = AnimationLayer::Fresh(12);
  EXPECT_EQ(layer.name, "Layer12");
  AnimationKey expected;
  expected.time = 31000;
  EXPECT_EQ(layer.keys[31], expected);
}

}  // namespace
}  // namespace mavu::imaging
