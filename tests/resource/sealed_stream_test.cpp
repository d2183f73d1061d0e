#include "resource/sealed_stream.h"

#include <gtest/gtest.h>

#include "resource/block_checksum.h"

namespace mavu::resource {
namespace {

base::Bytes Sealed(const base::Bytes& payload) {
  base::ByteWriter out;
  SealStream(payload, out);
  return out.Take();
}

TEST(SealedStream, WritesMagicChecksumLengthAndPayload) {
  const base::Bytes payload = {1, 0, 2, 0, 3, 0, 4, 0, 0xAA};
  base::ByteWriter out;
  out.U8(0x77);  // appends after what is there
  SealStream(payload, out);
  const uint32_t sum = BlockChecksum(payload);
  base::Bytes expected = {0x77, 0x4E, 0x4D, 0x32, 0xFD};
  for (int i = 0; i < 4; ++i) expected.push_back(static_cast<uint8_t>(sum >> (8 * i)));
  expected.insert(expected.end(), {9, 0, 0, 0});
  expected.insert(expected.end(), payload.begin(), payload.end());
  EXPECT_EQ(out.Data(), expected);
}

TEST(SealedStream, UnsealsFromTheReadersPositionAndMovesPastThePayload) {
  const base::Bytes payload = {'s', 'a', 'v', 'e', 'd', 'a', 't', 'a', '!', '?'};
  base::ByteWriter out;
  out.U16(0xBEEF);
  SealStream(payload, out);
  out.U8(0x42);
  const base::Bytes bytes = out.Take();
  base::ByteReader in(bytes);
  in.Skip(2);
  auto unsealed = UnsealStream(in);
  ASSERT_TRUE(unsealed.has_value());
  EXPECT_EQ(*unsealed, payload);
  EXPECT_EQ(in.U8(), 0x42);
}

TEST(SealedStream, ShortPayloadHasChecksumZeroAndRoundTrips) {
  const base::Bytes payload = {1, 2, 3};
  const base::Bytes bytes = Sealed(payload);
  EXPECT_EQ(bytes[4] | bytes[5] | bytes[6] | bytes[7], 0);
  base::ByteReader in(bytes);
  EXPECT_EQ(UnsealStream(in), payload);
}

TEST(SealedStream, WrongMagicYieldsNothingAndKeepsThePosition) {
  base::Bytes bytes = Sealed({1, 2, 3, 4, 5, 6, 7, 8});
  bytes[3] = 0xFE;
  base::ByteReader in(bytes);
  EXPECT_FALSE(UnsealStream(in).has_value());
  EXPECT_EQ(in.Position(), 0u);
}

TEST(SealedStream, ChecksumMismatchYieldsNothing) {
  base::Bytes bytes = Sealed({1, 2, 3, 4, 5, 6, 7, 8});
  bytes[12] ^= 0x10;
  base::ByteReader in(bytes);
  EXPECT_FALSE(UnsealStream(in).has_value());
}

TEST(SealedStream, TruncatedStreamsYieldNothing) {
  const base::Bytes bytes = Sealed({1, 2, 3, 4, 5, 6, 7, 8, 9});
  for (size_t length = 0; length < bytes.size(); ++length) {
    base::ByteReader in(std::span(bytes.data(), length));
    EXPECT_FALSE(UnsealStream(in).has_value()) << length;
  }
}

TEST(SealedStream, LengthPastTheEndYieldsNothing) {
  base::ByteWriter out;
  out.U32(kSealMagic).U32(0).U32(0xFFFFFFF0);
  const base::Bytes bytes = out.Take();
  base::ByteReader in(bytes);
  EXPECT_FALSE(UnsealStream(in).has_value());
}

}  // namespace
}  // namespace mavu::resource
