#include "shell/input/pad_config.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace mavu::shell {
namespace {

TEST(PadConfig, ReadsTheButtonsSpeedAndDeadZone) {
  const PadConfig config = ReadPadConfig(resource::SettingsList(
      "Button1=-1\nbutton16=$453\nButton2=-2\nSpeed=700\nDEADZONE=25\nButton17=-3\n"));
  EXPECT_EQ(config.Buttons[0], -1);
  EXPECT_EQ(config.Buttons[1], -2);
  EXPECT_EQ(config.Buttons[2], 0);
  EXPECT_EQ(config.Buttons[15], 0x453);
  EXPECT_EQ(config.Speed, 700);
  EXPECT_EQ(config.DeadZone, 25);
}

TEST(PadConfig, BadValuesGiveTheDefaultsAndRangesAreKept) {
  PadConfig config = ReadPadConfig(resource::SettingsList("Button3=left\nSpeed=fast\nDeadZone=\n"));
  EXPECT_EQ(config, PadConfig());
  EXPECT_EQ(config.Speed, 400);
  EXPECT_EQ(config.DeadZone, 10);
  config = ReadPadConfig(resource::SettingsList("Speed=-5\nDeadZone=250\n"));
  EXPECT_EQ(config.Speed, 0);
  EXPECT_EQ(config.DeadZone, PadConfig::kMaxDeadZone);
  config = ReadPadConfig(resource::SettingsList("Speed=99999999\nDeadZone=-1\n"));
  EXPECT_EQ(config.Speed, PadConfig::kMaxSpeed);
  EXPECT_EQ(config.DeadZone, 0);
}

TEST(PadConfig, AMissingFileGivesTheDefaults) {
  const mavu::test::TempDir dir;
  EXPECT_EQ(ReadPadConfig(dir.Path() / "config_pad.txt"), PadConfig());
  EXPECT_EQ(ReadPadConfig(dir.Write("config_pad.txt", "Button4=13\r\n")).Buttons[3], 13);
}

}  // namespace
}  // namespace mavu::shell
