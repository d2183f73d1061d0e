#include <gtest/gtest.h>

#include "support/script/object_fixture.h"

namespace mavu::script::test {
namespace {

using Calls = std::vector<std::string>;

class SoundCommandsTest : public ObjectTest {};

TEST_F(SoundCommandsTest, EachObjectDrivesTheChannelItsNameNumbers) {
  ASSERT_TRUE(
      Run("\\scp,snd[3]\\l,\"bgm/a.ogg\"\\p,1\\v,128,2000\\t,1\\sk,1500\\sv,30\\sw,9\\s\\i\r\n"
          "\\scp,dsnd[7]\\l,\"se.ogg\"\\p,0\\v,90\\mv,40\\s\\i\r\n"));
  EXPECT_EQ(services_.soundCalls, (Calls{"snd l 3 bgm/a.ogg", "snd p 3 1", "snd v 3 128 2000",
                                         "snd t 3 1", "snd sk 3 1500", "snd sv 3 30", "snd sw 3 9",
                                         "snd s 3", "snd i 3", "dsnd l 7 se.ogg", "dsnd p 7 0",
                                         "dsnd v 7 90 0", "dsnd mv 0 40", "dsnd s 7", "dsnd i 7"}));
}

TEST_F(SoundCommandsTest, TheEqualiserTakesFourEightOrSixteenBandsAndAnOptionalTime) {
  ASSERT_TRUE(
      Run("\\scp,snd[1]\\eq,255,0,255,255\\eq,1,2,3,4,500\\eq,1,2,3\\eq,1,2,3,4,5,6\r\n"
          "\\eq,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,100\r\n"));
  EXPECT_EQ(services_.soundCalls,
            (Calls{"snd eq 1 255 0 255 255 ms 0", "snd eq 1 1 2 3 4 ms 500",
                   "snd eq 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 ms 100"}));
}

TEST_F(SoundCommandsTest, QueriesAnswerInTheResultVariables) {
  services_.channelStates[2] = 3;
  services_.positions[2] = 4321;
  services_.soundVolume = 77;
  services_.soundFile = "bgm\\a.ogg";
  ASSERT_TRUE(
      Run("\\gvar,int,state,position,volume,loaded\\gvar,str,name,file\\scp,snd[2]\r\n"
          "\\gp\\cal,state=ResultInt,name=ResultStr\\gt\\cal,position=ResultInt\r\n"
          "\\gv\\cal,volume=ResultInt\\gf\\cal,loaded=ResultInt,file=ResultStr\r\n"));
  EXPECT_EQ(Int("state"), 3);
  EXPECT_EQ(Str("name"), "LoopPlay");
  EXPECT_EQ(Int("position"), 4321);
  EXPECT_EQ(Int("volume"), 77);
  EXPECT_EQ(Int("loaded"), 1);
  EXPECT_EQ(Str("file"), "bgm\\a.ogg");
  ASSERT_TRUE(Run("\\scp,dsnd[0]\\gp\\gf\r\n"));
  EXPECT_EQ(Str("ResultStr"), "bgm\\a.ogg");
  EXPECT_EQ(Int("ResultInt"), 1);
}

TEST_F(SoundCommandsTest, LoadFailuresAreReportedWithEachFamilysWording) {
  services_.loadError = "no such file";
  EXPECT_FALSE(Run("\\scp,snd[0]\\l,\"gone.ogg\"\r\n"));
  ClearError();
  EXPECT_FALSE(Run("\\scp,dsnd[0]\\l,\"gone.ogg\"\r\n"));
  EXPECT_EQ(Messages(), (Calls{"\\l：サウンドデータのロードに失敗：gone.ogg",
                               "\\l:サウンドデータのロードに失敗：gone.ogg"}));
}

}  // namespace
}  // namespace mavu::script::test
