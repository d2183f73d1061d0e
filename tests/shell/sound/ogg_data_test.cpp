#include "shell/sound/ogg_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/sound/ogg_maker.h"

namespace mavu::shell {
namespace {

constexpr size_t kBlockBytes = 0x10000;

// A short tone whose setup header has one codebook spoiled: the headers read,
// but libvorbis cannot build the decoder.
base::Bytes SpoiledCodebook() {
  constexpr size_t kCodebookByte = 913;
  base::Bytes ogg = test::MakeOgg({.seconds = 0.3});
  if (ogg[kCodebookByte] != 169) ADD_FAILURE() << "the encoder's output moved; spoil another byte";
  ogg[kCodebookByte] = 85;
  test::RepairPageChecksums(ogg);
  return ogg;
}

// `ogg` as a later link of a chained stream: its own serial number on every page.
base::Bytes Relinked(base::Bytes ogg, uint32_t serial) {
  for (size_t at = 0; at + 18 <= ogg.size(); ++at) {
    if (std::memcmp(ogg.data() + at, "OggS", 4) == 0) std::memcpy(ogg.data() + at + 14, &serial, 4);
  }
  test::RepairPageChecksums(ogg);
  return ogg;
}

TEST(OggData, RefusesAtOpenAStreamWhoseDecoderCannotBeBuilt) {
  TOggData decoder(kBlockBytes);
  EXPECT_EQ(decoder.Open(SpoiledCodebook()), "damaged sound data");
  EXPECT_FALSE(decoder.IsOpen());
}

// libvorbis builds a failed link's decoder on top of the half-made codebooks
// of the first attempt (a division by zero); the channel must not try again.
TEST(OggData, AfterALinkFailsToDecodeStaysSilentThroughStopAndReplay) {
  base::Bytes chained = test::MakeOgg({.seconds = 0.3});
  const base::Bytes spoiled = Relinked(SpoiledCodebook(), 2);
  chained.insert(chained.end(), spoiled.begin(), spoiled.end());
  TOggData decoder(kBlockBytes);
  ASSERT_EQ(decoder.Open(chained), "");
  std::vector<int16_t> block(kBlockBytes / 2);
  for (int round = 0; round < 2; ++round) {
    decoder.Play(false);
    for (int half = 0; half < 2; ++half) decoder.DecodeBlock(block, half);
    EXPECT_TRUE(decoder.TakeDecodeError()) << round;
    decoder.Stop();
  }
}

}  // namespace
}  // namespace mavu::shell
