#include <gtest/gtest.h>

#include "script/interpreter/kel_script.h"
#include "support/imaging/animation_files.h"
#include "support/script/interpreter_fixture.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

class FrameTest : public InterpreterTest {
 protected:
  FrameTest() { DeclareGlobal("int", "n"); }

  TScriptModuleData& Module() { return script_->Module(); }
  WaitState Wait() { return Module().waitState; }
  void Unlock() { Module().lockFlags = 0; }
  void Click() { script_->Click(kNoPosition, kNoPosition, false); }
  static constexpr uint32_t kIndicatorColour = 0xFFFF0000;

  // Starts the script with a wait indicator of these motions ("ind.b").
  void StartWithIndicator(const std::string& script, const std::vector<std::string>& names) {
    std::vector<mavu::test::FillMotion> motions;
    for (const std::string& name : names) motions.push_back({name, kIndicatorColour});
    Mount({{"main.s", script},
           {"ind.b", mavu::test::AsText(mavu::test::FillAnimation(motions, {0, 0, 4, 4}))}});
    stage_.WaitIndicator().LoadFile("ind.b", {}, true);
    stage_.WaitIndicator().Enable();
    script_->ExecuteLine("\\go,@@start,\"main.s\"");
  }
  // Runs one frame with the action bound to an active key.
  void FrameWithAction(const std::string& action) {
    services_.action = action;
    Frame();
    services_.action.clear();
  }
};

TEST_F(FrameTest, AWaitFollowedByAJumpJumpsInALaterStep) {
  Start("@@start\n\\wait,500\\jmp,@@next\n\\cal,t=t+\"x\"\n@@next\n\\cal,t=t+\"j\"");
  Frame();
  EXPECT_EQ(Wait(), WaitState::kTimed);
  // The frame that started the wait does not count towards it.
  Frames(19);
  EXPECT_EQ(Wait(), WaitState::kTimed);
  EXPECT_EQ(Module().waitTime, 25);
  EXPECT_EQ(Trace(), "");
  Frame();
  EXPECT_EQ(Trace(), "j");
}

TEST_F(FrameTest, OneCommandPerFrameTakesTwoStepsForALineOfTwo) {
  Start("@@start\n\\cal,t=t+\"a\"\\cal,t=t+\"b\"");
  Module().commandsPerFrame = 1;
  Frame();
  EXPECT_EQ(Trace(), "a");
  Frame();
  EXPECT_EQ(Trace(), "ab");
  Module().commandsPerFrame = 0;  // treated as 1
  Start("@@start\n\\cal,t=t+\"c\"\\cal,t=t+\"d\"");
  Frame();
  EXPECT_EQ(Trace(), "abc");
}

TEST_F(FrameTest, SkippingRunsAtMost2049CommandsAStep) {
  Start("@@start\n\\for\n\\cal,n=n+1\n\\next");
  Unlock();
  script_->SetMode(SkipMode::kSkip);
  Frame();
  // The for, then 1024 pairs of cal and next.
  EXPECT_EQ(Int("n"), 1024);
}

TEST_F(FrameTest, AClkWithoutTimeWaitsForAClick) {
  Start("@@start\n\\clk\n\\cal,t=t+\"a\"");
  Frames(40);
  EXPECT_EQ(Wait(), WaitState::kClick);
  EXPECT_EQ(Module().waitTime, -1);
  EXPECT_EQ(script_->AutoAdvanceDelay(), 0);  // counted down, and cleared out of auto mode
  Click();
  EXPECT_EQ(Wait(), WaitState::kRunning);
  EXPECT_EQ(Int("ResultClkInt"), -1);
  Frame();
  EXPECT_EQ(Trace(), "a");
}

TEST_F(FrameTest, AClkWithTimeEndsByItselfAndAClickCarriesItsSkipTime) {
  Start("@@start\n\\clk,100,40\n\\cal,t=t+\"a\"\n\\clk,0,40\n\\cal,t=t+\"b\"\n\\clk");
  Frame();
  Frames(3);
  EXPECT_EQ(Wait(), WaitState::kClick);
  Frame();
  EXPECT_EQ(Trace(), "a");
  EXPECT_EQ(Module().clickSkipTime, 40);
  Frame();  // the skip time counts down like the wait time
  EXPECT_EQ(Module().clickSkipTime, 15);
  Click();
  const int64_t before = objects_->advancedMs;
  Frame();
  EXPECT_EQ(objects_->advancedMs - before, 25 + 15);
  EXPECT_EQ(Trace(), "ab");
}

TEST_F(FrameTest, AClickOnAClkWithALabelJumps) {
  Start("@@start\n\\clk,0,0,@@there\n\\cal,t=t+\"x\"\n@@there\n\\cal,t=t+\"t\"");
  Frame();
  Click();
  Frame();
  EXPECT_EQ(Trace(), "t");
}

TEST_F(FrameTest, TimeWaitsForTheElapsedCounterAndAClickJumpsToItsLabel) {
  Start(
      "@@start\n\\time\n\\time,100,1\n\\cal,t=t+\"a\"\n\\time,1000,1,@@cut\n\\cal,t=t+\"x\"\n@@"
      "cut\n\\cal,t=t+\"c\"");
  Frame();
  EXPECT_EQ(Module().elapsedTime, 0);
  Frame();  // held
  EXPECT_EQ(Wait(), WaitState::kRunning);
  Frame();
  EXPECT_EQ(Wait(), WaitState::kTime);
  Frame();
  EXPECT_EQ(Trace(), "");
  Frame();  // 25 * 4 ms since the counter was cleared
  EXPECT_EQ(Trace(), "a");
  EXPECT_EQ(Wait(), WaitState::kTime);
  script_->Click(5, 5, false);
  EXPECT_EQ(Int("ResultClkInt"), 100);
  Frame();
  EXPECT_EQ(Trace(), "ac");
}

TEST_F(FrameTest, ATimeClickWithoutLabelOnlyReportsTheTime) {
  Start("@@start\n\\time,500,1\n\\cal,t=t+\"a\"");
  Frames(2);
  Click();
  EXPECT_EQ(Wait(), WaitState::kTime);
  EXPECT_EQ(Int("ResultClkInt"), 50);
}

TEST_F(FrameTest, SndtEndsWhenTheChannelStopsOrReachesItsTime) {
  Start(
      "@@start\n\\sndt,99,300,@@skip\n\\cal,t=t+\"a\"\n\\sndt,2,300,@@skip\n\\cal,t=t+\"x\"\n@@"
      "skip\n\\cal,t=t+\"s\"");
  services_.channelStates[7] = SoundService::kPlaying;
  services_.channelStates[2] = SoundService::kPlaying;
  Frame();
  EXPECT_EQ(Module().soundChannel, 7);  // clamped to the last channel
  services_.positions[7] = 299;
  Frame();
  EXPECT_EQ(Trace(), "");
  services_.positions[7] = 300;
  Frame();
  EXPECT_EQ(Trace(), "a");
  services_.positions[2] = 120;
  Click();
  EXPECT_EQ(Int("ResultClkInt"), 120);
  Frame();
  EXPECT_EQ(Trace(), "as");
}

TEST_F(FrameTest, WavWaitsForTheVoiceAndAClickFadesItOut) {
  Start("@@start\n\\wav,3\n\\cal,t=t+\"a\"");
  services_.channelStates[3] = SoundService::kPlaying;
  Frame();
  Click();
  ASSERT_EQ(services_.fades.size(), 1u);
  EXPECT_EQ(services_.fades[0].channel, 3);
  EXPECT_EQ(services_.fades[0].ms, 250);
  services_.channelStates[3] = SoundService::kPlayingLooped;
  Frame();
  EXPECT_EQ(Trace(), "");
  services_.channelStates[3] = 1;
  Frame();
  EXPECT_EQ(Trace(), "a");
}

TEST_F(FrameTest, AButtonWaitTimesOutWithClearedResults) {
  Start("@@start\n\\btn,50\n\\cal,t=t+\"a\"");
  script_->SetResultInteger("ResultBtnInt", 7);
  script_->SetResultString("ResultBtnStr", "old");
  Frame();
  Frame();
  EXPECT_EQ(Wait(), WaitState::kButton);
  Frame();
  EXPECT_EQ(Trace(), "a");
  EXPECT_EQ(Int("ResultBtnInt"), 0);
  EXPECT_EQ(Str("ResultBtnStr"), "");
}

TEST_F(FrameTest, AClickOnAButtonSetsTheResultsAndRunsItsCommand) {
  Start("@@start\n\\btn\n\\cal,t=t+\"a\"");
  Frame();
  Frames(100);
  EXPECT_EQ(Wait(), WaitState::kButton);
  EXPECT_EQ(objects_->hoverGroups.back(), groups::kSystemHover | groups::kButtonWaitHover);
  objects_->button = ButtonHit{"b,1", 4, "yes", "\\cal,t=t+ResultBtnStr"};
  Module().scope.names[0] = "keep";
  script_->Click(10, 10, false);
  EXPECT_EQ(Str("ResultBtn"), "b,1");
  EXPECT_EQ(Int("ResultBtnInt"), 4);
  EXPECT_EQ(Trace(), "yes");
  Frame();
  EXPECT_EQ(objects_->hoverGroups.back(), groups::kSystemHover);
  EXPECT_EQ(Module().scope.names[0], "keep");
  EXPECT_EQ(Trace(), "yesa");
}

TEST_F(FrameTest, MessageWaitsFollowTheMessageObjects) {
  Start("@@start\n\\msg\n\\cal,t=t+\"a\"");
  script_->Settings().autoClickMs = 700;
  Frame();
  EXPECT_EQ(Wait(), WaitState::kMessage);
  objects_->messageState = ObjectRegistry::kMessageShowing;
  Frame();
  EXPECT_EQ(Wait(), WaitState::kMessage);
  EXPECT_EQ(script_->AutoAdvanceDelay(), 0);
  objects_->messageState = ObjectRegistry::kMessageAtEnd;
  Frame();
  EXPECT_EQ(Wait(), WaitState::kMessageEnd);
  EXPECT_EQ(script_->AutoAdvanceDelay(), 700);
  script_->Click(3, 4, false);
  ASSERT_EQ(objects_->messageClicks.size(), 1u);
  EXPECT_EQ(objects_->messageClicks[0].x, 3);
  objects_->messageState = ObjectRegistry::kMessageIdle;
  Frame();
  EXPECT_EQ(Trace(), "a");
}

TEST_F(FrameTest, AClickOnATimedWaitOnlyReportsTheTimeLeft) {
  Start("@@start\n\\wait,100\n\\cal,t=t+\"a\"");
  Frames(2);
  Click();
  EXPECT_EQ(Int("ResultClkInt"), 75);
  EXPECT_EQ(Wait(), WaitState::kTimed);
}

TEST_F(FrameTest, ActionsPostRequestsUnlessLocked) {
  Start("@@start\n\\clk");
  Frame();
  FrameWithAction("menu");
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kNone);
  Unlock();
  FrameWithAction("MENU");
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kMenu);
  Frame();
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kNone);
  FrameWithAction("quickload");
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kQuickLoad);
  Module().lockFlags = lock::kExit;
  FrameWithAction("exit");
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kNone);
  FrameWithAction("reset");
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kReset);
  services_.movieState = MoviePlayer::kPlaying;
  FrameWithAction("reset");
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kNone);
  EXPECT_EQ(script_->CurrentWaitState(), WaitState::kMovie);
}

TEST_F(FrameTest, InputIsIgnoredWhenNotAllowed) {
  Start("@@start\n\\clk");
  Unlock();
  Frame();
  services_.action = "menu";
  Frame(25, false);
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kNone);
}

TEST_F(FrameTest, ClickActionsClickAtThePointerOrWithoutPosition) {
  Start("@@start\n\\msg");
  objects_->messageState = ObjectRegistry::kMessageShowing;
  Frame();
  services_.pointerX = 40;
  services_.pointerY = 50;
  FrameWithAction("click");
  FrameWithAction("keyclick");
  ASSERT_EQ(objects_->messageClicks.size(), 2u);
  EXPECT_EQ(objects_->messageClicks[0].x, 40);
  EXPECT_EQ(objects_->messageClicks[1].x, kNoPosition);
}

TEST_F(FrameTest, SceneSkipActionsNeedSceneSkipAllowed) {
  Start("@@start\n\\clk");
  Unlock();
  Frame();
  FrameWithAction("sceneskipnoload");
  EXPECT_EQ(Module().mode, SkipMode::kOff);
  Module().sceneSkipAllowed = true;
  FrameWithAction("sceneskipload");
  EXPECT_EQ(Module().mode, SkipMode::kSceneSkip);
  script_->LeaveSkip();
  FrameWithAction("sceneskipnoload");
  EXPECT_EQ(Module().mode, SkipMode::kSceneSkipNoLoad);
  Frame();
  EXPECT_TRUE(script_->SceneSkipShown());
  EXPECT_TRUE(stage_.SceneSkipLayer().Shown());
  EXPECT_TRUE(stage_.Context().deferring);
  EXPECT_EQ(services_.soundCalls, std::vector<std::string>{"defer"});
  script_->CancelSkip(false);
  EXPECT_FALSE(stage_.SceneSkipLayer().Shown());
  EXPECT_FALSE(stage_.Context().deferring);
  EXPECT_EQ(objects_->deferredLoads, 1);
  EXPECT_EQ(services_.soundCalls, (std::vector<std::string>{"defer", "replay"}));
  EXPECT_EQ(Module().mode, SkipMode::kOff);
}

TEST_F(FrameTest, SkipModesEndAtAButtonWaitAndWhenLocked) {
  Start("@@start\n\\btn");
  Unlock();
  Frame();
  FrameWithAction("skip");
  EXPECT_EQ(Module().mode, SkipMode::kOff);
  Start("@@start\n\\clk\n\\clk");
  Frame();
  FrameWithAction("skip");
  EXPECT_EQ(Module().mode, SkipMode::kSkip);
  Module().lockFlags = lock::kSkip;
  Frame();
  EXPECT_EQ(Module().mode, SkipMode::kOff);
}

TEST_F(FrameTest, AutoModeClicksOnceTheDelayHasRunOutAndNoVoicePlays) {
  Start("@@start\n\\clk\n\\cal,t=t+\"a\"");
  Unlock();
  script_->Settings().autoClickMs = 100;
  script_->SetMode(SkipMode::kAuto);
  Frame();
  EXPECT_EQ(script_->AutoAdvanceDelay(), 100);
  services_.voicePlaying = true;
  Frames(4);
  EXPECT_EQ(script_->AutoAdvanceDelay(), 0);
  EXPECT_EQ(Trace(), "");
  services_.voicePlaying = false;
  Frame();
  EXPECT_EQ(Trace(), "a");
  Module().lockFlags = lock::kAuto;
  Frame();
  EXPECT_EQ(Module().mode, SkipMode::kOff);
}

TEST_F(FrameTest, ARealClickLeavesSkipModesAndTheSceneSkipTarget) {
  Start("@@start\n\\clk\n\\clk");
  Unlock();
  script_->SetMode(SkipMode::kSkip);
  script_->SetSceneSkipTarget(100);
  script_->CancelSkip(false);
  EXPECT_EQ(Module().mode, SkipMode::kSkip);
  script_->Click(1, 1, true);
  EXPECT_EQ(Module().mode, SkipMode::kSkip);
  Click();
  EXPECT_EQ(Module().mode, SkipMode::kOff);
  script_->SetMode(SkipMode::kSkip);
  script_->CancelSkip(false);
  EXPECT_EQ(Module().mode, SkipMode::kOff);
}

TEST_F(FrameTest, SkippingStopsNearTheSceneSkipTarget) {
  std::string script = "@@start\n";
  for (int i = 0; i < 20; ++i) script += "\\clk\n";
  Start(script);
  Unlock();
  script_->SetMode(SkipMode::kSceneSkip);
  script_->SetSceneSkipTarget(12);
  Frame();
  EXPECT_EQ(Module().mode, SkipMode::kOff);
  // The target stops skipping once the line of the last command is within two
  // lines of it (line 10); the clk of line 11 then waits for a real click.
  EXPECT_EQ(script_->Reader().CurrentLine(), 11);
  EXPECT_EQ(Wait(), WaitState::kClick);
}

TEST_F(FrameTest, SettleInputMakesTheNextStepTakeNoTime) {
  Start("@@start\n\\clk");
  // A linear camera move of one pixel per millisecond shows the step's time.
  stage_.Camera().CameraSetEasing(1);
  stage_.Camera().CameraMoveTo(1024, 0, 1024);
  Frame();
  const int32_t before = stage_.Camera().X();
  script_->SettleInput();
  Frame();
  EXPECT_EQ(stage_.Camera().X(), before);
  Frame();
  EXPECT_EQ(stage_.Camera().X(), before + 25);
  script_->SetMode(SkipMode::kSkip);
  script_->SettleInput();
  Frame();
  EXPECT_EQ(stage_.Camera().X(), before + 50);
}

TEST_F(FrameTest, DrawHoldsExecutionForTwoSteps) {
  Start("@@start\n\\draw\\cal,t=t+\"a\"");
  Frame();
  Frame();
  EXPECT_EQ(Trace(), "");
  Frame();
  EXPECT_EQ(Trace(), "a");
}

TEST_F(FrameTest, TheElapsedCounterStopsAtItsCap) {
  Start("@@start\n\\clk");
  Module().elapsedTime = TKelScript::kMaxElapsedTime - 10;
  Frame();
  EXPECT_EQ(Module().elapsedTime, TKelScript::kMaxElapsedTime);
  Frame(-50);
  EXPECT_EQ(Module().elapsedTime, TKelScript::kMaxElapsedTime);
}

TEST_F(FrameTest, TheWaitIndicatorShowsTheWaitsMotionWhenItHasOne) {
  StartWithIndicator("@@start\n\\clk\n\\wait,1000", {"*Default", "*OnClick", "*OnAuto"});
  Frames(2);  // the clk waits after the first frame's advance
  EXPECT_EQ(stage_.WaitIndicator().CurrentMotionName(), "*OnClick");
  Unlock();
  script_->SetMode(SkipMode::kAuto);
  services_.voicePlaying = true;
  Frame();
  EXPECT_EQ(stage_.WaitIndicator().CurrentMotionName(), "*OnAuto");
  script_->LeaveSkip();
  Click();
  Frame();
  Frame();
  // The file has no "*OnWait": the indicator falls back on "*Default".
  EXPECT_EQ(stage_.WaitIndicator().CurrentMotionName(), "*Default");
}

TEST_F(FrameTest, APendingEventMotionPlaysOnceAfterTheNextAdvance) {
  StartWithIndicator("@@start\n\\clk", {"*Default", "*OnSave"});
  stage_.EventIndicator().LoadFile("ind.b", {}, true);
  stage_.EventIndicator().Enable();
  script_->SetPendingEventLabel("*OnSave");
  script_->SettleInput();
  Frame();
  EXPECT_EQ(stage_.EventIndicator().CurrentMotionName(), "*Default");
  Frame();
  EXPECT_EQ(stage_.EventIndicator().CurrentMotionName(), "*OnSave");
}

TEST_F(FrameTest, SystemButtonsShowTheLocksAndPostTheirRequests) {
  Start("@@start\n\\clk");
  FakeSystemButton& menu = objects_->AddSystemButton("Menu", 100);
  FakeSystemButton& quickLoad = objects_->AddSystemButton("quickload", 50);
  FakeSystemButton& skip = objects_->AddSystemButton("skip", 20);
  Frame();
  EXPECT_FALSE(menu.enabled);
  Module().lockFlags = 0;
  Frame();
  EXPECT_TRUE(menu.enabled);
  EXPECT_FALSE(quickLoad.enabled);  // no quick save yet
  script_->Click(70, 0, false);
  EXPECT_EQ(script_->PendingRequest(), SystemRequest::kMenu);
  EXPECT_EQ(services_.clock.NowMs(), 50u);
  EXPECT_EQ(Wait(), WaitState::kClick);  // the click went to the button only
  script_->Click(10, 0, false);
  EXPECT_EQ(Module().mode, SkipMode::kSkip);
  EXPECT_TRUE(skip.checked);
  script_->Click(10, 0, false);
  EXPECT_EQ(Module().mode, SkipMode::kOff);
  EXPECT_FALSE(skip.checked);
}

TEST_F(FrameTest, AMovieEndsOnAClickInsideItOnlyAfterItHasPlayedAWhile) {
  Start("@@start\n\\clk");
  Frame();
  Module().waitState = WaitState::kMovie;
  services_.movieState = MoviePlayer::kPlaying;
  services_.movieRight = services_.movieBottom = 100;
  services_.moviePlayedMs = 1500;
  script_->Click(10, 10, false);
  EXPECT_EQ(services_.movieState, MoviePlayer::kPlaying);
  services_.moviePlayedMs = 1501;
  script_->Click(200, 10, false);
  EXPECT_EQ(services_.movieState, MoviePlayer::kPlaying);
  script_->Click(10, 10, false);
  EXPECT_EQ(services_.movieState, 0);
  Frame();
  EXPECT_EQ(Wait(), WaitState::kRunning);
  Module().waitState = WaitState::kMovie;
  services_.movieState = MoviePlayer::kPlaying;
  services_.moviePlayedMs = 0;
  script_->Settings().movieDecoder = 0;
  Click();
  EXPECT_EQ(services_.movieState, 0);
}

TEST_F(FrameTest, ComposeDrawsOnlyTheMovieWhileOnePlays) {
  StartWithIndicator("@@start\n\\clk", {"*Default"});
  const auto shown = [&] {
    return stage_.Graphic().ShownPicture().Pixel(1, 1) == kIndicatorColour;
  };
  script_->ComposeFrame(false);
  EXPECT_EQ(objects_->draws, 1);
  EXPECT_FALSE(shown());  // the indicators are drawn only with the full frame
  script_->ComposeFrame(true);
  EXPECT_EQ(objects_->fixedDraws, 1);
  EXPECT_TRUE(shown());
  stage_.WaitIndicator().Hide();
  services_.movieState = MoviePlayer::kPlaying;
  script_->ComposeFrame(true);
  EXPECT_EQ(services_.movieDraws, 1);
  EXPECT_TRUE(shown());  // nothing but the movie was drawn
}

TEST_F(FrameTest, WaitStatesTenAndElevenEndAtOnceAndNever) {
  Start("@@start\n\\cal,t=t+\"a\"");
  Module().waitState = WaitState::kForever;
  Frames(3);
  EXPECT_EQ(Trace(), "");
  Module().waitState = WaitState::kEndAtOnce;
  Frame();
  EXPECT_EQ(Trace(), "a");
}

TEST_F(FrameTest, NoCommandRunsWhileAnErrorIsShown) {
  Start("@@start\n\\nope\n\\cal,t=t+\"a\"");
  objects_->CreateObject("msg", "m");
  Module().scope.names[0] = "m";
  Frame();
  Frames(3);
  EXPECT_EQ(Trace(), "");
  EXPECT_EQ(Messages().size(), 1u);
  ClearError();
  Frame();
  EXPECT_EQ(Trace(), "a");
}

}  // namespace
}  // namespace mavu::script::test
