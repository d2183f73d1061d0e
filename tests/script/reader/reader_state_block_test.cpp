#include "script/reader/reader_state_block.h"

#include <gtest/gtest.h>

#include <string>

#include "support/script/script_game.h"

namespace mavu::script {
namespace {

using test::Sjis;

void Put(base::Bytes& bytes, size_t offset, std::string_view text) {
  std::copy(text.begin(), text.end(), bytes.begin() + static_cast<ptrdiff_t>(offset));
}

ReaderStateBlock SampleBlock() {
  ReaderStateBlock block;
  block.fileName = "start.s";
  block.labelName = "@@top";
  block.lineOffset = 3;
  block.charPosition = -7;
  block.modes[0] = 1;
  block.modes[63] = 4;
  block.replacementEnabled = false;
  block.linePrefix = "P";
  block.emptyLineText = "EE";
  return block;
}

base::Bytes SampleBytes() {
  base::Bytes bytes(ReaderStateBlock::kSize, 0);
  bytes[0] = 7;
  Put(bytes, 1, "start.s");
  bytes[128] = 5;
  Put(bytes, 129, "@@top");
  bytes[256] = 3;
  Put(bytes, 260, "\xF9\xFF\xFF\xFF");
  bytes[264] = 1;
  bytes[327] = 4;
  bytes[328] = 0;
  bytes[329] = 1;
  Put(bytes, 330, "P");
  bytes[457] = 2;
  Put(bytes, 458, "EE");
  return bytes;
}

TEST(ReaderStateBlock, WritesTheFixedLayoutByteForByte) {
  base::ByteWriter out;
  SampleBlock().Write(out);
  EXPECT_EQ(out.Data(), SampleBytes());
}

TEST(ReaderStateBlock, ReadsHandMadeBytes) {
  base::Bytes bytes = SampleBytes();
  // What follows a short string's length is not significant.
  Put(bytes, 140, "junk");
  bytes[327] = 0xEE;
  bytes[328] = 1;
  bytes.push_back(0x42);
  base::ByteReader in(bytes);
  auto block = ReaderStateBlock::Read(in);
  EXPECT_EQ(in.Position(), ReaderStateBlock::kSize);
  EXPECT_EQ(block.fileName, "start.s");
  EXPECT_EQ(block.labelName, "@@top");
  EXPECT_EQ(block.lineOffset, 3);
  EXPECT_EQ(block.charPosition, -7);
  EXPECT_EQ(block.modes[0], 1);
  EXPECT_EQ(block.modes[1], 0);
  EXPECT_EQ(block.modes[63], 0xEE);
  EXPECT_TRUE(block.replacementEnabled);
  EXPECT_EQ(block.linePrefix, "P");
  EXPECT_EQ(block.emptyLineText, "EE");
}

TEST(ReaderStateBlock, AnyNonZeroEnabledByteMeansOn) {
  base::Bytes bytes = SampleBytes();
  bytes[328] = 2;
  base::ByteReader in(bytes);
  EXPECT_TRUE(ReaderStateBlock::Read(in).replacementEnabled);
}

TEST(ReaderStateBlock, LongTextsAreCutAtACharacterBoundary) {
  ReaderStateBlock block;
  block.fileName = std::string(126, 'a') + Sjis("表");
  block.linePrefix = std::string(200, 'p');
  base::ByteWriter out;
  block.Write(out);
  ASSERT_EQ(out.Size(), ReaderStateBlock::kSize);
  EXPECT_EQ(out.Data()[0], 126);
  EXPECT_EQ(out.Data()[127], 0);
  EXPECT_EQ(out.Data()[329], 127);
  base::ByteReader in(out.Data());
  auto back = ReaderStateBlock::Read(in);
  EXPECT_EQ(back.fileName, std::string(126, 'a'));
  EXPECT_EQ(back.linePrefix, std::string(127, 'p'));
}

TEST(ReaderStateBlock, ShortStringLongerThanItsFieldIsRefused) {
  base::Bytes bytes = SampleBytes();
  bytes[457] = 128;
  base::ByteReader in(bytes);
  EXPECT_THROW(ReaderStateBlock::Read(in), base::FormatError);
}

TEST(ReaderStateBlock, ShortBlockIsRefusedWithoutMoving) {
  base::Bytes bytes = SampleBytes();
  bytes.pop_back();
  base::ByteReader in(bytes);
  EXPECT_THROW(ReaderStateBlock::Read(in), base::FormatError);
  EXPECT_EQ(in.Position(), 0u);
}

TEST(ShortString, KeepsAtMost127BytesOfWholeCharacters) {
  EXPECT_EQ(ShortString("abc"), "abc");
  EXPECT_EQ(ShortString(std::string(130, 'x')), std::string(127, 'x'));
  EXPECT_EQ(ShortString(std::string(126, 'x') + Sjis("表")), std::string(126, 'x'));
}

}  // namespace
}  // namespace mavu::script
