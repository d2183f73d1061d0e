#include "shell/sound/volume_ramp.h"

#include <gtest/gtest.h>

#include <vector>

namespace mavu::shell {
namespace {

std::vector<int16_t> Apply(VolumeRamp& ramp, int16_t sample, size_t frames,
                           int32_t classLevel = 255) {
  std::vector<int16_t> block(frames * 2, sample);
  ramp.Apply(block, 255, classLevel);
  return block;
}

// The integer steps decide every sample: 255/255 is 254/256, half volume
// 127/256, and above full level the result is held short of the rails.
TEST(VolumeRamp, ScalesSamplesWithTheIntegerGainSteps) {
  VolumeRamp ramp;
  EXPECT_EQ(Apply(ramp, 10000, 1)[0], 9921);
  ramp.SetNow(128);
  EXPECT_EQ(Apply(ramp, 10000, 1)[1], 4960);
  ramp.SetNow(255);
  EXPECT_EQ(Apply(ramp, 10000, 1, 128)[0], 4960);
  ramp.SetNow(510);
  EXPECT_EQ(Apply(ramp, 30000, 1)[0], 32766);
  EXPECT_EQ(Apply(ramp, -30000, 1)[0], -32766);
  EXPECT_EQ(ramp.TargetVolume(), 510);
}

TEST(VolumeRamp, FadesOverItsTimeAndCountsAsSilentBelowOnePercent) {
  VolumeRamp ramp;
  ramp.FadeTo(0, 1000);
  EXPECT_EQ(ramp.TargetVolume(), 0);
  EXPECT_FALSE(ramp.Silent());
  Apply(ramp, 0, 22050);
  EXPECT_NEAR(ramp.CurrentVolume(), 128, 1);
  Apply(ramp, 0, 22050);
  EXPECT_EQ(ramp.CurrentVolume(), 0);
  EXPECT_TRUE(ramp.Silent());
  ramp.FadeTo(255, 5);  // under 10 ms: at once
  EXPECT_EQ(ramp.CurrentVolume(), 255);
}

}  // namespace
}  // namespace mavu::shell
