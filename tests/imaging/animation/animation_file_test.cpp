#include "imaging/animation/animation_file.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "base/byte_writer.h"
#include "support/imaging/hand_made_animation.h"

namespace mavu::imaging {
namespace {

using test::HandMadeAnimation;
using test::MotionRecords;
using test::Packed;

constexpr size_t kHeaderBytes = 12;

// A layer told apart from the others by its name and its first key's argument.
AnimationLayer MarkedLayer(int mark) {
  AnimationLayer layer = AnimationLayer::Fresh(mark);
  layer.keys[0].argument = static_cast<uint8_t>(mark);
  layer.keys[1].colour = 0x80000000u | static_cast<uint32_t>(mark);
  return layer;
}

AnimationMotion MarkedMotion(std::string name, int layers, int firstMark) {
  AnimationMotion motion;
  motion.name = std::move(name);
  for (int i = 0; i < layers; ++i) motion.layers.push_back(MarkedLayer(firstMark + i));
  return motion;
}

base::ByteWriter& Header(base::ByteWriter& out, std::string_view magic, uint8_t motions,
                         uint8_t imageFlag, uint8_t imageFormat, uint8_t sounds) {
  return out.FixedText(magic, 8).U8(motions).U8(imageFlag).U8(imageFormat).U8(sounds);
}

AnimationFile Read(const base::Bytes& bytes) {
  base::ByteReader in(bytes);
  std::optional<AnimationFile> file = ReadAnimationFile(in);
  if (!file) throw std::runtime_error("no animation magic");
  EXPECT_TRUE(in.AtEnd());
  return *file;
}

// Of `version`, with motions of `layers` layers, an image and a sound.
AnimationFile Sample(int version, int layers) {
  AnimationFile file;
  file.version = version;
  file.motions = {MarkedMotion("*Normal", layers, 1), MarkedMotion("*OnMouse", layers, 20)};
  file.hasImage = true;
  file.imageFormat = 2;
  file.image = {'I', 'M', 'G'};
  file.sounds = {{"se", {1, 2, 3}}};
  return file;
}

// A version-7 file of one motion of `layers` layers, no image, no sound.
base::Bytes Version7(uint32_t layers) {
  base::ByteWriter block;
  block.ShortString("m", 32).U32(layers);
  for (uint32_t i = 0; i < layers; ++i) MarkedLayer(0).Write(block);
  base::ByteWriter out;
  Header(out, "ABMP7", 1, 0, 0, 0);
  return Packed(out, block.Data()).U32(0).Take();
}

TEST(AnimationFile, ReadsVersion7FieldByField) {
  AnimationFile file = Sample(7, 3);
  file.motions[1].layers.resize(1);
  EXPECT_EQ(Read(HandMadeAnimation(file)), file);
}

TEST(AnimationFile, ReadsVersion6AsPackedMotionsOfEightLayers) {
  EXPECT_EQ(Read(HandMadeAnimation(Sample(6, 8))), Sample(6, 8));
}

TEST(AnimationFile, ReadsVersion5MotionsStoredAsTheyAre) {
  EXPECT_EQ(Read(HandMadeAnimation(Sample(5, 8))), Sample(5, 8));
}

TEST(AnimationFile, TheMagicMayEndEarlyOrCarryBytesAfterItsNul) {
  base::ByteWriter out;
  out.FixedText(std::string_view("ABMP7\0xy", 8), 8).U8(1).U8(0).U8(0).U8(0);
  base::ByteWriter block;
  block.ShortString("m", 32).U32(0);
  Packed(out, block.Data()).U32(0);
  EXPECT_EQ(Read(out.Take()).motions.size(), 1u);
}

TEST(AnimationFile, WriteThenReadGivesTheSameFile) {
  AnimationFile file;
  file.motions = {MarkedMotion("\x83\x7B\x83\x5E\x83\x93", 64, 0), MarkedMotion("", 0, 0)};
  file.hasImage = true;
  file.imageFormat = 1;
  file.image = {0xFF, 0xD8, 0xFF, 0xD9};
  file.sounds = {{"click", {1, 2}}, {"", {}}};
  const base::Bytes bytes = WriteAnimationFile(file);
  base::ByteReader in(bytes);
  EXPECT_EQ(ReadAnimationFile(in), file);
  EXPECT_TRUE(in.AtEnd());
}

TEST(AnimationFile, WriterRefusesWhatTheFormatCannotCount) {
  AnimationFile file;
  file.motions = {MarkedMotion("m", 65, 0)};
  EXPECT_THROW(WriteAnimationFile(file), AnimationFileError);
  file.motions.assign(256, AnimationMotion());
  EXPECT_THROW(WriteAnimationFile(file), AnimationFileError);
  file.motions.clear();
  file.sounds.resize(256);
  EXPECT_THROW(WriteAnimationFile(file), AnimationFileError);
}

TEST(AnimationFile, AnotherMagicGivesNoneAndLeavesThePosition) {
  for (std::string_view magic : {"ABMP8", "ABMP", "abmp7", "ABMP70"}) {
    base::ByteWriter out;
    out.Text("xx");
    Header(out, magic, 1, 0, 0, 0);
    base::ByteReader in(out.Data());
    in.Skip(2);
    EXPECT_EQ(ReadAnimationFile(in), std::nullopt) << magic;
    EXPECT_EQ(in.Position(), 2u) << magic;
  }
  base::Bytes shortFile = {'A', 'B', 'M', 'P', '7'};
  base::ByteReader in(shortFile);
  EXPECT_EQ(ReadAnimationFile(in), std::nullopt);
  EXPECT_EQ(in.Position(), 0u);
}

TEST(AnimationFile, RefusesACutHeader) {
  base::ByteWriter out;
  out.FixedText("ABMP7", 8).U8(1).U8(0);
  EXPECT_THROW(Read(out.Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesMoreVersion5MotionsThanTheFileHolds) {
  base::ByteWriter out;
  Header(out, "ABMP5", 255, 0, 0, 0).Append(MotionRecords({MarkedMotion("m", 8, 0)}, false));
  EXPECT_THROW(Read(out.U32(0).Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesMoreMotionsThanThePackedBlockHolds) {
  base::ByteWriter out;
  Header(out, "ABMP7", 3, 0, 0, 0);
  Packed(out, MotionRecords({MarkedMotion("m", 1, 0)}, true)).U32(0);
  EXPECT_THROW(Read(out.Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesAMotionOf65Layers) {
  EXPECT_NO_THROW(Read(Version7(64)));
  EXPECT_THROW(Read(Version7(65)), AnimationFileError);
}

TEST(AnimationFile, RefusesAHugeLayerCountBeforeAllocating) {
  base::ByteWriter block;
  block.ShortString("m", 32).U32(0xFFFFFFFF);
  base::ByteWriter out;
  Header(out, "ABMP7", 1, 0, 0, 0);
  EXPECT_THROW(Read(Packed(out, block.Data()).U32(0).Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesLayersPastTheEndOfTheBlock) {
  base::ByteWriter block;
  block.ShortString("m", 32).U32(2);
  MarkedLayer(0).Write(block);
  base::ByteWriter out;
  Header(out, "ABMP7", 1, 0, 0, 0);
  EXPECT_THROW(Read(Packed(out, block.Data()).U32(0).Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesAPackedLengthPastTheEnd) {
  base::Bytes bytes = Version7(1);
  base::ByteWriter patched(bytes);
  patched.PatchU32(kHeaderBytes, static_cast<uint32_t>(bytes.size()));
  EXPECT_THROW(Read(patched.Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesAPackedLengthShorterThanTheBlock) {
  base::Bytes bytes = Version7(1);
  base::ByteReader in(bytes);
  in.Skip(kHeaderBytes);
  const uint32_t length = in.U32();
  base::ByteWriter patched(bytes);
  patched.PatchU32(kHeaderBytes, length - 8);
  EXPECT_THROW(Read(patched.Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesABlockThatUnpacksToLessThanItDeclares) {
  base::Bytes bytes = Version7(1);
  base::ByteReader in(bytes);
  in.Skip(kHeaderBytes + 12);
  const uint32_t unpacked = in.U32();  // after the length, the magic and the flags
  base::ByteWriter patched(bytes);
  patched.PatchU32(kHeaderBytes + 12, unpacked + 1);
  EXPECT_THROW(Read(patched.Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesABlockThatIsNotPacked) {
  base::ByteWriter out;
  Header(out, "ABMP7", 1, 0, 0, 0).U32(16);
  for (int i = 0; i < 4; ++i) out.U32(0xDEADBEEF);
  EXPECT_THROW(Read(out.U32(0).Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesAnImagePastTheEnd) {
  base::ByteWriter out;
  Header(out, "ABMP7", 0, 1, 2, 0);
  Packed(out, {}).U32(10).Text("short");
  EXPECT_THROW(Read(out.Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesASoundPastTheEnd) {
  base::ByteWriter out;
  Header(out, "ABMP7", 0, 0, 0, 1);
  Packed(out, {}).U32(0).ShortString("se", 32).U32(100).Text("short");
  EXPECT_THROW(Read(out.Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesMoreSoundsThanTheFileHolds) {
  base::ByteWriter out;
  Header(out, "ABMP7", 0, 0, 0, 255);
  Packed(out, {}).U32(0).ShortString("se", 32).U32(0);
  EXPECT_THROW(Read(out.Take()), AnimationFileError);
}

TEST(AnimationFile, RefusesALayerNameLongerThanItsField) {
  base::ByteWriter block;
  block.ShortString("m", 32).U32(1);
  base::ByteWriter layer;
  MarkedLayer(0).Write(layer);
  base::Bytes record = layer.Take();
  record[0] = 32;
  block.Append(record);
  base::ByteWriter out;
  Header(out, "ABMP7", 1, 0, 0, 0);
  EXPECT_THROW(Read(Packed(out, block.Data()).U32(0).Take()), AnimationFileError);
}

TEST(AnimationFile, CutsAnOverlongMotionNameToItsField) {
  base::ByteWriter block;
  block.U8(200).FixedText(std::string(40, 'n'), 31).U32(0);
  base::ByteWriter out;
  Header(out, "ABMP7", 1, 0, 0, 0);
  const AnimationFile file = Read(Packed(out, block.Data()).U32(0).Take());
  EXPECT_EQ(file.motions[0].name, std::string(31, 'n'));
}

}  // namespace
}  // namespace mavu::imaging
