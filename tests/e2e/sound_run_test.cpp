#include <gtest/gtest.h>

#include <string>

#include "headless_game.h"
#include "support/sound/ogg_maker.h"

// Music with a loop point, a voice and an effect played by a script headless,
// on the simulated clock; the script notes states and positions as it goes.
namespace mavu::test {
namespace {

std::string Text(const base::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class SoundRunTest : public ::testing::Test {
 protected:
  SoundRunTest() {
    const std::vector<LoopEntry> loop = {{1.0f, 2.5f, -1}};
    game_.Add("bgm/loop.ogg", Text(WithLoopHeader(loop, MakeOgg({.seconds = 3, .frequency = 1000}))));
    game_.Add("voice/v.ogg", Text(MakeOgg({.seconds = 1.5, .frequency = 500})));
    game_.Add("se/hit.ogg", Text(MakeOgg({.rate = 22050, .seconds = 0.5, .frequency = 2000})));
    base::Bytes cut = MakeOgg({.seconds = 1});
    game_.Add("bgm/bad.ogg", Text(base::Bytes(cut.begin() + 30, cut.end())));
  }

  HeadlessGame game_;
};

TEST_F(SoundRunTest, MusicLoopsAVoiceEndsItsWaitAndTheScriptSeesWhereTheyAre) {
  game_.Script(
      "@@TOP\n"
      "\\gvar,int,state1,effect1,voice1,voice2,position2,position3,volume3\n"
      "\\scp,snd[0]\\l,\"bgm/loop.ogg\"\\p,1\n"
      "\\scp,snd[1]\\l,\"voice/v.ogg\"\\t,1\\p,0\n"
      "\\scp,dsnd[0]\\l,\"se/hit.ogg\"\\p,0\n"
      "\\wait,1000\n"
      "\\scp,snd[0]\\gp\\cal,state1=ResultInt\\scp,dsnd[0]\\gp\\cal,effect1=ResultInt\n"
      "\\scp,snd[1]\\gp\\cal,voice1=ResultInt\n"
      "\\wav,1\n"
      "\\scp,snd[1]\\gp\\cal,voice2=ResultInt\n"
      "\\sndt,0,2000,\n"
      "\\scp,snd[0]\\gt\\cal,position2=ResultInt\n"
      "\\wait,1500\n"
      "\\scp,snd[0]\\gt\\cal,position3=ResultInt\\v,100,500\\gv\\cal,volume3=ResultInt\n");
  const HeadlessRun run = game_.Run();
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.Global("state1").Number(), 3);  // LoopPlay
  EXPECT_EQ(run.Global("effect1").Number(), 1);  // the half-second effect has ended
  EXPECT_EQ(run.Global("voice1").Number(), 2);
  EXPECT_EQ(run.Global("voice2").Number(), 1);
  EXPECT_GE(run.Global("position2").Number(), 2000);
  EXPECT_LT(run.Global("position2").Number(), 2050);
  // 3.5 s heard: 2.5 s to the loop point, then 1.0 s on from 1.0 s.
  EXPECT_NEAR(run.Global("position3").Number(), 2000, 50);
  EXPECT_EQ(run.Global("volume3").Number(), 100);
  EXPECT_TRUE(run.Errors().empty());
}

TEST_F(SoundRunTest, ASoundFileThatIsNotOggStopsTheScriptWithTheLoadFailure) {
  game_.Script("@@TOP\n\\scp,snd[2]\\l,\"bgm/bad.ogg\"\n");
  const HeadlessRun run = game_.Run();
  EXPECT_EQ(run.code, 1);
  ASSERT_FALSE(run.Errors().empty());
  EXPECT_NE(run.Errors().back().find("\\l：サウンドデータのロードに失敗：bgm/bad.ogg"), std::string::npos)
      << run.Errors().back();
}

}  // namespace
}  // namespace mavu::test
