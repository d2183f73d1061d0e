#include "resource/game_settings.h"

#include <gtest/gtest.h>

#include <string_view>

namespace mavu::resource {
namespace {

std::optional<base::Bytes> File(std::string_view text) {
  return base::Bytes(text.begin(), text.end());
}

TEST(GameSettings, AMissingFileGivesItsOwnColumn) {
  auto s = ReadGameSettings(std::nullopt);
  EXPECT_EQ(s.ScreenWidth, 800);
  EXPECT_EQ(s.ScreenHeight, 600);
  EXPECT_EQ(s.GameTitle, "UnTitled");
  EXPECT_EQ(s.FormCaption, "");
  EXPECT_EQ(s.CodeKey, 0u);
  EXPECT_EQ(s.ThumWidth, 96);
  EXPECT_EQ(s.ThumHeight, 72);
  EXPECT_EQ(s.QuickSaveMode, 0);
  EXPECT_EQ(s.QuickSaveCount, 0);
  EXPECT_FALSE(s.ConfigStartupSkip);
  EXPECT_FALSE(s.ConfigSoundTab);
  EXPECT_FALSE(s.ConfigGamePadTab);
  EXPECT_FALSE(s.ConfigSpecTab);
  EXPECT_FALSE(s.ConfigOptionTab);
  EXPECT_FALSE(s.ConfigMovie);
  EXPECT_FALSE(s.ConfigCRC);
  for (const auto& binding : s.KeyBindings) EXPECT_EQ(binding, KeyBinding{});
}

TEST(GameSettings, MissingKeysGiveTheirDefaults) {
  auto s = ReadGameSettings(File("; nothing but a comment\r\n"));
  EXPECT_EQ(s.ScreenWidth, 800);
  EXPECT_EQ(s.ScreenHeight, 600);
  EXPECT_EQ(s.GameTitle, "");
  EXPECT_EQ(s.FormCaption, "");
  EXPECT_EQ(s.CodeKey, kBuiltInCodeKey);
  EXPECT_EQ(s.ThumWidth, 128);
  EXPECT_EQ(s.ThumHeight, 96);
  EXPECT_EQ(s.QuickSaveMode, 0);
  EXPECT_EQ(s.QuickSaveCount, 8);
  EXPECT_FALSE(s.ConfigStartupSkip);
  EXPECT_TRUE(s.ConfigSoundTab);
  EXPECT_TRUE(s.ConfigGamePadTab);
  EXPECT_TRUE(s.ConfigSpecTab);
  EXPECT_TRUE(s.ConfigOptionTab);
  EXPECT_TRUE(s.ConfigMovie);
  EXPECT_TRUE(s.ConfigCRC);
  for (const auto& binding : s.KeyBindings) EXPECT_EQ(binding, KeyBinding{});
  EXPECT_EQ(ReadGameSettings(File("")).CodeKey, kBuiltInCodeKey);
}

TEST(GameSettings, TheBuiltInCodeKeyHas24Bits) {
  EXPECT_NE(kBuiltInCodeKey, 0u);
  EXPECT_EQ(kBuiltInCodeKey & ~kCodeKeyMask, 0u);
}

TEST(GameSettings, ReadsEveryKey) {
  auto s = ReadGameSettings(File(
      "ScreenWidth=1024\r\nscreenheight=$300\nGameTitle= \x83\x51\x81\x5B\x83\x80 \r"
      "FormCaption=%%%fps / %%%limit\r\nCodeKey=$ABCDEF\r\nThumWidth=$1F\r\nThumHeight=-3\r\n"
      "QuickSaveMode=1\r\nQuickSaveCount=12\r\nConfigStartupSkip=TRUE\r\nConfigSoundTab=false\r\n"
      "ConfigGamePadTab=FALSE\r\nConfigSpecTab=False\r\nConfigOptionTab=fAlSe\r\n"
      "ConfigMovie=false\r\nConfigCRC=FALSE\r\n"));
  EXPECT_EQ(s.ScreenWidth, 1024);
  EXPECT_EQ(s.ScreenHeight, 768);
  EXPECT_EQ(s.GameTitle, " \x83\x51\x81\x5B\x83\x80 ");
  EXPECT_EQ(s.FormCaption, "%%%fps / %%%limit");
  EXPECT_EQ(s.CodeKey, 0xABCDEFu);
  EXPECT_EQ(s.ThumWidth, 31);
  EXPECT_EQ(s.ThumHeight, -3);  // limits are the display's business
  EXPECT_EQ(s.QuickSaveMode, 1);
  EXPECT_EQ(s.QuickSaveCount, 12);
  EXPECT_TRUE(s.ConfigStartupSkip);
  EXPECT_FALSE(s.ConfigSoundTab);
  EXPECT_FALSE(s.ConfigGamePadTab);
  EXPECT_FALSE(s.ConfigSpecTab);
  EXPECT_FALSE(s.ConfigOptionTab);
  EXPECT_FALSE(s.ConfigMovie);
  EXPECT_FALSE(s.ConfigCRC);
}

TEST(GameSettings, MalformedValuesGiveTheKeyDefault) {
  auto s =
      ReadGameSettings(File("ScreenWidth=wide\r\nThumWidth=\r\nCodeKey=key\r\nConfigMovie=no\r\n"
                            "ConfigStartupSkip=yes\r\nQuickSaveCount=99999999999\r\n"));
  EXPECT_EQ(s.ScreenWidth, 800);
  EXPECT_EQ(s.ThumWidth, 128);
  EXPECT_EQ(s.CodeKey, kBuiltInCodeKey);
  EXPECT_TRUE(s.ConfigMovie);
  EXPECT_FALSE(s.ConfigStartupSkip);
  EXPECT_EQ(s.QuickSaveCount, 8);
}

TEST(GameSettings, TheCodeKeyIsReadAs64BitsAndKeepsItsLow24) {
  EXPECT_EQ(ReadGameSettings(File("CodeKey=$12345678")).CodeKey, 0x345678u);
  EXPECT_EQ(ReadGameSettings(File("CodeKey=$123456789ABC")).CodeKey, 0x789ABCu);
  EXPECT_EQ(ReadGameSettings(File("CodeKey=-1")).CodeKey, 0xFFFFFFu);
  EXPECT_EQ(ReadGameSettings(File("CodeKey=16777217")).CodeKey, 1u);
  EXPECT_EQ(ReadGameSettings(File("CodeKey=0")).CodeKey, 0u);
}

TEST(GameSettings, KeyBindingsNeedExactlyTwoItems) {
  EXPECT_EQ(ParseKeyBinding("112,*F1"), (KeyBinding{112, "*f1"}));
  EXPECT_EQ(ParseKeyBinding("13"), KeyBinding{});
  EXPECT_EQ(ParseKeyBinding(""), KeyBinding{});
  EXPECT_EQ(ParseKeyBinding("1,2,3"), KeyBinding{});
  EXPECT_EQ(ParseKeyBinding(" $20 , Space // the space bar"), (KeyBinding{32, "space"}));
  EXPECT_EQ(ParseKeyBinding("enter,Click"), (KeyBinding{0, "click"}));
  EXPECT_EQ(ParseKeyBinding("13,"), (KeyBinding{13, ""}));
  EXPECT_EQ(ParseKeyBinding("27,\x83\x41X"), (KeyBinding{27, "\x83\x41x"}));
}

TEST(GameSettings, ReadsTheThirtyTwoBindings) {
  auto s = ReadGameSettings(
      File("key[0]=112,*F1\r\nKEY[1]=13,Click\r\nkey[2]=13\r\nkey[31]=27,Cancel\r\nkey[32]=1,x"));
  EXPECT_EQ(s.KeyBindings[0], (KeyBinding{112, "*f1"}));
  EXPECT_EQ(s.KeyBindings[1], (KeyBinding{13, "click"}));
  EXPECT_EQ(s.KeyBindings[2], KeyBinding{});
  EXPECT_EQ(s.KeyBindings[3], KeyBinding{});
  EXPECT_EQ(s.KeyBindings[31], (KeyBinding{27, "cancel"}));
}

}  // namespace
}  // namespace mavu::resource
