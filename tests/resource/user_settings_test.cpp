#include "resource/user_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "base/file_io.h"
#include "support/failing_writes.h"
#include "support/temp_dir.h"

namespace mavu::resource {
namespace {

std::string ReadText(const std::filesystem::path& path) {
  auto bytes = base::ReadWholeFile(path);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

std::filesystem::path Backup(const std::filesystem::path& path) {
  return std::filesystem::path(path.string() + ".bak");
}

// What the defaults look like on disk: every key in order, speaker keys absent.
std::string DefaultFileText() {
  std::string text =
      "FullScreen=0\r\nColorMode=1\r\nUseGamePad=0\r\nFPSLimit=40\r\nStreamLength=131072\r\n"
      "Interlace=0\r\nCacheSize=0\r\nMovieDecoder=1\r\nCRCCheck=1\r\n";
  for (char slot = '0'; slot <= '7'; ++slot) {
    std::string font = std::string("Font[") + slot + "].";
    text += font + "Name=none\r\n" + font + "Style=0\r\n" + font + "AA=1\r\n";
  }
  text +=
      "BGMVolume=255\r\nVOICEVolume=255\r\nSEVolume=255\r\nMessageSpeed=20\r\nMessageAlpha=255\r\n"
      "AutoPlayWaitTime=100\r\nAutoPlayClickTime=3000\r\nTCPSockType=0\r\nTCPProxyPort=0\r\n"
      "TCPProxyHost=none\r\nTCPUserName=none\r\nTCPPassWord=none\r\n";
  return text;
}

TEST(UserSettings, NoFileAtAllGivesTheDefaults) {
  test::TempDir dir;
  auto s = ReadUserSettings(dir.Path() / "config.txt");
  EXPECT_EQ(s, UserSettings{});
  EXPECT_EQ(s.FPSLimit, 40);
  EXPECT_EQ(s.StreamLength, 0x20000);
  EXPECT_EQ(s.Font[7].AA, 1);
  EXPECT_EQ(s.ActorVolume[0], 255);
  EXPECT_EQ(s.ActorVolume[31], 255);
  EXPECT_EQ(s.ActorMute[31], 0);
}

TEST(UserSettings, ReadsEveryKind) {
  test::TempDir dir;
  auto path = dir.Write("config.txt",
                        "FullScreen=1\r\nfpslimit=$3C\r\nFont[0].Name=MS Gothic\r\n"
                        "Font[1].Name=none\r\nFont[7].Style=2\r\nFont[7].AA=0\r\n"
                        "TCPProxyHost=proxy.example\r\nTCPPassWord= secret \r\n"
                        "ActorVolume[5]=100\r\nActorMute[31]=1\r\nSEVolume=loud\r\n");
  auto s = ReadUserSettings(path);
  EXPECT_EQ(s.FullScreen, 1);
  EXPECT_EQ(s.FPSLimit, 60);
  EXPECT_EQ(s.Font[0].Name, "MS Gothic");
  EXPECT_EQ(s.Font[1].Name, "");
  EXPECT_EQ(s.Font[7].Style, 2);
  EXPECT_EQ(s.Font[7].AA, 0);
  EXPECT_EQ(s.TCPProxyHost, "proxy.example");
  EXPECT_EQ(s.TCPUserName, "");
  EXPECT_EQ(s.TCPPassWord, " secret ");
  EXPECT_EQ(s.ActorVolume[5], 100);
  EXPECT_EQ(s.ActorVolume[4], 255);
  EXPECT_EQ(s.ActorMute[31], 1);
  EXPECT_EQ(s.SEVolume, 255);
}

TEST(UserSettings, TheBackupIsReadWhenTheMainFileIsMissing) {
  test::TempDir dir;
  auto path = dir.Path() / "config.txt";
  dir.Write("config.txt.bak", "FPSLimit=80\r\n");
  EXPECT_EQ(ReadUserSettings(path).FPSLimit, 80);
}

TEST(UserSettings, TheBackupIsReadWhenTheMainFileIsUnreadable) {
  test::TempDir dir;
  auto path = dir.Path() / "config.txt";
  std::filesystem::create_directory(path);
  dir.Write("config.txt.bak", "FPSLimit=80\r\n");
  EXPECT_EQ(ReadUserSettings(path).FPSLimit, 80);
}

TEST(UserSettings, TheMainFileWinsOverTheBackup) {
  test::TempDir dir;
  auto path = dir.Write("config.txt", "FPSLimit=20\r\n");
  dir.Write("config.txt.bak", "FPSLimit=80\r\n");
  EXPECT_EQ(ReadUserSettings(path).FPSLimit, 20);
}

TEST(UserSettings, WritingCreatesTheFileAndItsTwinWithTheExactBytes) {
  test::TempDir dir;
  auto path = dir.Path() / "config.txt";
  ASSERT_TRUE(WriteUserSettings(path, UserSettings{}));
  EXPECT_EQ(ReadText(path), DefaultFileText());
  EXPECT_EQ(ReadText(Backup(path)), DefaultFileText());
}

TEST(UserSettings, SpeakerKeysAreWrittenOnlyWhenTheyDifferFromFullVolumeAndUnmuted) {
  test::TempDir dir;
  auto path = dir.Path() / "config.txt";
  UserSettings s;
  s.ActorVolume[3] = 0;
  s.ActorMute[3] = 1;
  s.ActorMute[10] = 1;
  ASSERT_TRUE(WriteUserSettings(path, s));
  EXPECT_EQ(ReadText(path),
            DefaultFileText() + "ActorVolume[3]=0\r\nActorMute[3]=1\r\nActorMute[10]=1\r\n");
}

TEST(UserSettings, WritingKeepsForeignLinesAndCommentsInPlace) {
  test::TempDir dir;
  auto path = dir.Write("config.txt",
                        "; player settings\r\nfpslimit=20\r\nMyTool=on\r\n\r\n"
                        "ActorVolume[5]=100\r\nActorMute[2]=1\r\n[extra]\r\n");
  UserSettings s;
  s.FPSLimit = 60;
  ASSERT_TRUE(WriteUserSettings(path, s));
  std::string text = ReadText(path);
  // The known key is rewritten where it stood; speaker keys at their defaults go.
  EXPECT_EQ(text.substr(0, text.find("FullScreen")),
            "; player settings\r\nFPSLimit=60\r\nMyTool=on\r\n\r\n[extra]\r\n");
  EXPECT_EQ(text.find("ActorVolume[5]"), std::string::npos);
  EXPECT_EQ(text.find("ActorMute[2]"), std::string::npos);
  EXPECT_EQ(ReadText(Backup(path)), text);
}

TEST(UserSettings, ActorVolumeAt255RemovesAnExistingLine) {
  test::TempDir dir;
  auto path = dir.Write("config.txt", "ActorVolume[5]=100\r\nActorVolume[5]=50\r\n");
  ASSERT_EQ(ReadUserSettings(path).ActorVolume[5], 100);
  UserSettings s;
  ASSERT_TRUE(WriteUserSettings(path, s));
  EXPECT_EQ(ReadText(path).find("ActorVolume[5]"), std::string::npos);
  EXPECT_EQ(ReadUserSettings(path).ActorVolume[5], 255);
}

TEST(UserSettings, EmptyTextsAreWrittenAsNone) {
  test::TempDir dir;
  auto path = dir.Write("config.txt", "Font[3].Name=Old Face\r\nTCPUserName=me\r\n");
  UserSettings s;
  ASSERT_TRUE(WriteUserSettings(path, s));
  std::string text = ReadText(path);
  EXPECT_EQ(text.substr(0, text.find("FullScreen")), "Font[3].Name=none\r\nTCPUserName=none\r\n");
  EXPECT_EQ(ReadUserSettings(path).Font[3].Name, "");
}

TEST(UserSettings, WhatIsWrittenReadsBack) {
  test::TempDir dir;
  auto path = dir.Path() / "config.txt";
  UserSettings s;
  s.FullScreen = 1;
  s.ColorMode = 0;
  s.CacheSize = 0xA00000 * 3;
  s.Font[0] = {"\x82\x6C\x82\x72 Gothic", 1, 0};
  s.Font[7].Name = "Sans";
  s.BGMVolume = 0;
  s.TCPProxyHost = "proxy";
  s.TCPPassWord = "p=w d";
  s.ActorVolume[31] = 7;
  s.ActorMute[0] = 1;
  s.AutoPlayClickTime = -1;
  ASSERT_TRUE(WriteUserSettings(path, s));
  EXPECT_EQ(ReadUserSettings(path), s);
  std::filesystem::remove(path);
  EXPECT_EQ(ReadUserSettings(path), s);  // from the twin
}

TEST(UserSettings, WritingAfterALostMainFileKeepsTheBackupsForeignLines) {
  test::TempDir dir;
  auto path = dir.Path() / "config.txt";
  dir.Write("config.txt.bak", "MyTool=on\r\nFPSLimit=80\r\n");
  ASSERT_TRUE(WriteUserSettings(path, ReadUserSettings(path)));
  std::string text = ReadText(path);
  EXPECT_EQ(text.substr(0, text.find("FullScreen")), "MyTool=on\r\nFPSLimit=80\r\n");
}

TEST(UserSettings, StoringIntoAListKeepsItsOtherLines) {
  SettingsList list("x\r\nActorMute[1]=1\r\nCRCCheck=1");
  UserSettings s;
  s.CRCCheck = 0;
  s.ActorMute[2] = 1;
  StoreUserSettings(s, list);
  EXPECT_EQ(list.Lines()[0], "x");
  EXPECT_EQ(list.Lines()[1], "CRCCheck=0");
  EXPECT_EQ(list.Lines().back(), "ActorMute[2]=1");
  EXPECT_EQ(ReadUserSettings(list), s);
}

TEST(UserSettings, AFailedWriteOfEitherCopyIsReported) {
  test::TempDir dir;
  auto path = dir.Write("config.txt", "FPSLimit=20\r\n");
  UserSettings s;
  s.FPSLimit = 60;
  {
    test::FailingWrites failing;
    EXPECT_FALSE(WriteUserSettings(path, s));
  }
  EXPECT_EQ(ReadText(path), "FPSLimit=20\r\n");
  // A folder in the place of the copy: the main file is written all the same.
  dir.Write("config.txt.bak/x", "");
  EXPECT_FALSE(WriteUserSettings(path, s));
  EXPECT_EQ(ReadUserSettings(path).FPSLimit, 60);
  EXPECT_FALSE(WriteUserSettings(dir.Path() / "missing" / "config.txt", s));
}

}  // namespace
}  // namespace mavu::resource
