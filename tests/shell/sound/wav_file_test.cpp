#include "shell/sound/wav_file.h"

#include <gtest/gtest.h>

#include "base/byte_writer.h"
#include "base/bytes.h"
#include "shell/sound/whole_sound.h"

namespace mavu::shell {
namespace {

// RIFF, WAVE, a "LIST" chunk of odd length to skip, fmt, then data.
base::Bytes Wav(uint16_t channels, uint32_t rate, uint16_t bits, const base::Bytes& data,
                uint32_t dataSize) {
  base::ByteWriter out;
  out.Text("RIFF").U32(0).Text("WAVE");
  out.Text("LIST").U32(3).Text("abc").U8(0);
  out.Text("fmt ").U32(16).U16(1).U16(channels).U32(rate).U32(rate * channels * bits / 8);
  out.U16(static_cast<uint16_t>(channels * bits / 8)).U16(bits);
  out.Text("data").U32(dataSize).Append(data);
  return out.Take();
}

TEST(WavFile, ReadsEightAndSixteenBitPcmPastOtherChunks) {
  const WavSound stereo =
      ReadWav(Wav(2, 22050, 16, {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F}, 8));
  EXPECT_EQ(stereo.rate, 22050);
  EXPECT_EQ(stereo.channels, 2);
  EXPECT_EQ(stereo.samples, (std::vector<int16_t>{1, -1, -32768, 32767}));
  const WavSound mono = ReadWav(Wav(1, 8000, 8, {0x80, 0x00, 0xFF}, 3));
  EXPECT_EQ(mono.samples, (std::vector<int16_t>{0, -32768, 32512}));
}

TEST(WavFile, RefusesFilesWhoseChunksLieOrThatAreNotPlainPcm) {
  EXPECT_THROW(ReadWav(Wav(2, 44100, 16, {1, 2, 3, 4}, 4000)), base::FormatError);
  EXPECT_THROW(ReadWav(Wav(6, 44100, 16, {1, 2}, 2)), base::FormatError);
  EXPECT_THROW(ReadWav(Wav(1, 44100, 24, {1, 2, 3}, 3)), base::FormatError);
  base::Bytes noData = Wav(1, 44100, 16, {}, 0);
  noData.resize(noData.size() - 8);
  EXPECT_THROW(ReadWav(noData), base::FormatError);
  EXPECT_THROW(ReadWav(base::Bytes{'R', 'I', 'F', 'F'}), base::FormatError);
}

// An animation's WAVE sound plays like an Ogg one: widened to the output
// rate; a lying rate cannot blow the buffer up.
TEST(WavFile, DecodesWholeToTheOutputFormat) {
  std::string error;
  const PcmBuffer pcm = DecodeWholeSound(Wav(1, 22050, 16, {0x10, 0x00, 0x20, 0x00}, 4), error);
  ASSERT_NE(pcm, nullptr) << error;
  ASSERT_EQ(pcm->size(), 32768u);
  EXPECT_EQ(base::Bytes(pcm->begin(), pcm->begin() + 20),
            (base::Bytes{0x10, 0, 0x10, 0, 0x10, 0, 0x10, 0, 0x20, 0,
                         0x20, 0, 0x20, 0, 0x20, 0, 0,    0, 0,    0}));
  const PcmBuffer slow =
      DecodeWholeSound(Wav(1, 8000, 16, base::Bytes(5'000'000, 1), 5'000'000), error);
  ASSERT_NE(slow, nullptr) << error;
  EXPECT_EQ(slow->size(), kMaxWholeSoundBytes);
  EXPECT_EQ(DecodeWholeSound(Wav(1, 1, 16, {1, 0}, 2), error), nullptr);
}

}  // namespace
}  // namespace mavu::shell
