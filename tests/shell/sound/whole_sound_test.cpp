#include "shell/sound/whole_sound.h"

#include <gtest/gtest.h>

#include "support/sound/ogg_maker.h"

namespace mavu::shell {
namespace {

TEST(WholeSound, CutsAFileLongerThanTheLimitToWholeGranules) {
  const base::Bytes ogg =
      test::MakeOgg({.rate = 8000, .channels = 1, .seconds = 301, .frequency = 0});
  std::string error;
  const PcmBuffer pcm = DecodeWholeSound(ogg, error);
  ASSERT_NE(pcm, nullptr) << error;
  EXPECT_EQ(pcm->size() % 1024, 0u);
  EXPECT_LE(pcm->size(), kMaxWholeSoundBytes);
  EXPECT_GT(pcm->size(), kMaxWholeSoundBytes - 1024);
}

}  // namespace
}  // namespace mavu::shell
