#include "shell/sound/sound_records.h"

#include <gtest/gtest.h>

#include <bit>

namespace mavu::shell {
namespace {

uint32_t U32At(const base::Bytes& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<uint32_t>(bytes[at + 3]) << 24;
}

TEST(SoundRecords, EffectRecordIsItsByteLayout) {
  EffectRecord record{"se\\a.ogg", 200, PlayState::kPlayingLooped, 2, 7, true};
  base::ByteWriter out;
  record.Write(out);
  const base::Bytes& bytes = out.Data();
  ASSERT_EQ(bytes.size(), EffectRecord::kSize);
  EXPECT_EQ(bytes[0], 8);
  EXPECT_EQ(bytes[1], 's');
  EXPECT_EQ(U32At(bytes, 128), 200u);
  EXPECT_EQ(bytes[132], 3);
  EXPECT_EQ(U32At(bytes, 133), 2u);
  EXPECT_EQ(U32At(bytes, 137), 7u);
  EXPECT_EQ(bytes[141], 1);
  base::ByteReader in(bytes);
  const EffectRecord back = EffectRecord::Read(in);
  EXPECT_EQ(back.name, record.name);
  EXPECT_EQ(back.state, PlayState::kPlayingLooped);
  EXPECT_TRUE(back.fromMemory);
  EXPECT_TRUE(in.AtEnd());
}

TEST(SoundRecords, StreamRecordIsItsByteLayoutAndKeepsItsReservedBytes) {
  StreamRecord record;
  record.name = "bgm\\b.ogg";
  record.volume = 180;
  record.fadeMs = 1500;
  record.silenceThreshold = 40;
  record.seekMs = 2500;
  record.state = PlayState::kPlayingOnce;
  record.bins[255] = 0.25f;
  record.soundClass = 1;
  record.parameter = 9;
  record.positionSeconds = 12.5f;
  record.reserved = {1, 2, 3, 4, 5, 6, 7, 8};
  base::ByteWriter out;
  record.Write(out);
  const base::Bytes& bytes = out.Data();
  ASSERT_EQ(bytes.size(), StreamRecord::kSize);
  EXPECT_EQ(U32At(bytes, 128), 180u);
  EXPECT_EQ(U32At(bytes, 132), 1500u);
  EXPECT_EQ(U32At(bytes, 136), 40u);
  EXPECT_EQ(U32At(bytes, 140), 2500u);
  EXPECT_EQ(bytes[144], 2);
  EXPECT_EQ(U32At(bytes, 145), std::bit_cast<uint32_t>(1.0f));
  EXPECT_EQ(U32At(bytes, 145 + 255 * 4), std::bit_cast<uint32_t>(0.25f));
  EXPECT_EQ(U32At(bytes, 1169), 1u);
  EXPECT_EQ(U32At(bytes, 1173), 9u);
  EXPECT_EQ(U32At(bytes, 1177), std::bit_cast<uint32_t>(12.5f));
  EXPECT_EQ(bytes[1188], 8);
  base::ByteReader in(bytes);
  base::ByteWriter again;
  StreamRecord::Read(in).Write(again);
  EXPECT_EQ(again.Data(), bytes);
}

TEST(SoundRecords, AStateBeyondTheFourIsReadAsNoFile) {
  base::ByteWriter out;
  EffectRecord{}.Write(out);
  base::Bytes bytes = out.Take();
  bytes[132] = 9;
  base::ByteReader in(bytes);
  EXPECT_EQ(EffectRecord::Read(in).state, PlayState::kNoFile);
}

}  // namespace
}  // namespace mavu::shell
