#include "shell/sound/whole_sound.h"

#include <gtest/gtest.h>

#include "support/sound/ogg_maker.h"
#include "support/sound/signal.h"

namespace mavu::shell {
namespace {

// Sized by the length at the output rate, so 22050 Hz sounds are not cut in half.
TEST(WholeSound, OggDecodedCompletelyIntoWholeKilobytes) {
  std::string error;
  const PcmBuffer pcm = DecodeWholeSound(test::MakeOgg({.rate = 22050, .seconds = 1}), error);
  ASSERT_NE(pcm, nullptr) << error;
  EXPECT_EQ(pcm->size() % 1024, 0u);
  EXPECT_GE(pcm->size(), 176400u);
  const auto* samples = reinterpret_cast<const int16_t*>(pcm->data());
  EXPECT_GT(test::Peak(std::span(samples, pcm->size() / 2), 43000, 44000), 10000);
  EXPECT_EQ(DecodeWholeSound(test::MakeOgg({.seconds = 0.05}), error)->size(), 32768u);
  EXPECT_EQ(DecodeWholeSound(base::Bytes(10, 1), error), nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace mavu::shell
