#include "shell/system/kel_system.h"

#include <gtest/gtest.h>

#include <deque>

#include "base/cp932.h"
#include "base/error_log.h"
#include "script/commands/general_commands.h"
#include "script/objects/kel_object_manager.h"
#include "script/objects/object_commands.h"
#include "shell/platform/headless/headless_display.h"
#include "support/imaging/animation_files.h"
#include "support/mounted_game.h"
#include "support/script/recording_services.h"
#include "support/script/recording_system_shell.h"
#include "support/temp_dir.h"

namespace mavu::shell {
namespace {

class CountingInput : public SystemInput {
 public:
  void Poll() override { ++polls; }
  bool AnyClick() const override { return click; }
  void SetCursorHideDelay(int32_t ms) override { hideDelay = ms; }

  int polls = 0;
  bool click = false;
  int32_t hideDelay = -1;
};

// Answers confirmations from a queue (yes when empty) and keeps their texts.
class QueuedDialogs : public base::DialogService {
 public:
  int32_t ShowConfirm(std::string_view, std::string_view text, std::string_view,
                      std::string_view) override {
    asked.emplace_back(text);
    if (answers.empty()) return 1;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowNotice(std::string_view, std::string_view text, std::string_view) override {
    asked.emplace_back(text);
  }
  int32_t ShowExitChoice(std::string_view, std::string_view, std::string_view, std::string_view,
                         std::string_view) override {
    return 1;
  }

  std::deque<int> answers;
  std::vector<std::string> asked;
};

class KelSystemTest : public ::testing::Test {
 protected:
  void Start(const std::string& script, SystemSettings settings = {},
             std::map<std::string, std::string> files = {}) {
    files["startup.s"] = script;
    game_.emplace(files);
    base::TheErrorLog().SetDirectory(folder_.Path());
    base::TheErrorLog().ClearErrors();
    base::TheErrorLog().ClearErrorFlag();
    auto objects =
        std::make_unique<script::TKelObjectManager>(script::ObjectParts{stage_, shell_, services_});
    auto interpreter = std::make_unique<script::TKelScript>(
        services_.Services(), stage_, std::move(objects), folder_.Path() / "SaveData", 0x1234);
    script::RegisterGeneralCommands(interpreter->Commands());
    script::RegisterObjectCommands(interpreter->Commands());
    ASSERT_TRUE(interpreter->Initialize());
    stage_.Graphic().SetScreenSize(kWidth, kHeight);
    system_.emplace(std::move(interpreter),
                    SystemDevices{services_.clock, display_, input_, dialogs_},
                    std::move(settings));
    system_->StartScript("Startup.s", ScreenMode{kWidth, kHeight, false, true});
  }
  // Due frames of 25 ms.
  void Steps(int frames) {
    for (int i = 0; i < frames; ++i) {
      services_.clock.Advance(25);
      system_->StepFrame(25);
    }
  }
  uint64_t Now() { return services_.clock.NowMs(); }

  static constexpr int kWidth = 320;
  static constexpr int kHeight = 240;
  test::TempDir folder_;
  std::optional<test::MountedGame> game_;
  script::RecordingServices services_;
  script::RecordingSystemShell shell_;
  imaging::Stage stage_;
  HeadlessDisplay display_;
  CountingInput input_;
  QueuedDialogs dialogs_;
  std::optional<TKelSystem> system_;
};

// Unlocks every player action, then waits.
const char kWaitingScript[] = "@@TOP\r\n\\scp,sys\\lk,0\r\n\\wait,100000\r\n";

TEST_F(KelSystemTest, FramesWaitTheirTurnSleepingAllButThreeMilliseconds) {
  Start(kWaitingScript, {40, 0, "%%%fps/%%%limit/%%%cpu", ""});
  const uint64_t start = Now();
  EXPECT_EQ(system_->Frame(), 0);  // 25 ms early: sleeps 22
  EXPECT_EQ(Now() - start, 22u);
  EXPECT_EQ(system_->Frame(), 0);  // 3 ms early: no sleep
  EXPECT_EQ(Now() - start, 22u);
  services_.clock.Advance(3);
  EXPECT_EQ(system_->Frame(), 0);  // exactly due is not due yet
  services_.clock.Advance(1);
  EXPECT_EQ(system_->Frame(), static_cast<uint8_t>(SystemMode::kRun));
  EXPECT_EQ(input_.polls, 1);
  EXPECT_EQ(input_.hideDelay, SystemInput::kCursorHideMs);
  // Stalls of 2 s count as 500 ms each; the caption is new after more than 1 s.
  for (int i = 0; i < 3; ++i) {
    services_.clock.Advance(2000);
    system_->Frame();
  }
  EXPECT_EQ(system_->Caption(), "2/40/0");
}

TEST_F(KelSystemTest, SlowLimitsAndFastSkipSetTheInterval) {
  Start(kWaitingScript, {5, 0, "", ""});
  services_.clock.Advance(1000);
  system_->Frame();  // due
  const uint64_t due = Now();
  system_->Frame();  // a limit of 5 runs at 10 frames a second: 100 ms, at most 97 asleep
  EXPECT_EQ(Now() - due, 97u);
  system_->Script().SetMode(script::SkipMode::kSkip);
  services_.clock.Advance(20);
  system_->Frame();
  const uint64_t fast = Now();
  services_.clock.Advance(10);
  EXPECT_EQ(system_->Frame(), 0);
  services_.clock.Advance(1);
  EXPECT_NE(system_->Frame(), 0);
  EXPECT_EQ(Now() - fast, 11u);
}

TEST_F(KelSystemTest, RequestsLeadThroughTheirConfirmations) {
  Start(kWaitingScript);
  Steps(1);  // the script unlocks the actions
  dialogs_.answers = {0, 1};
  services_.action = "exit";
  Steps(1);
  services_.action.clear();
  EXPECT_EQ(system_->Mode(), SystemMode::kExitConfirm);
  Steps(1);  // no
  EXPECT_EQ(system_->Mode(), SystemMode::kRun);
  services_.action = "exit";
  Steps(2);  // yes
  EXPECT_EQ(system_->Mode(), SystemMode::kExit);
  EXPECT_EQ(dialogs_.asked.size(), 2u);
  Steps(1);
  EXPECT_EQ(system_->Mode(), SystemMode::kIdle);

  system_->SetMode(SystemMode::kRun);
  services_.action = "view";
  Steps(1);
  services_.action.clear();
  EXPECT_EQ(system_->Mode(), SystemMode::kView);
  Steps(2);
  EXPECT_EQ(system_->Mode(), SystemMode::kView);
  input_.click = true;
  Steps(1);
  EXPECT_EQ(system_->Mode(), SystemMode::kRun);
  input_.click = false;

  services_.action = "screen";
  Steps(1);
  EXPECT_TRUE(display_.CurrentMode().fullScreen);
  services_.action = "menu";  // no menu screen yet: back to the story at once
  Steps(2);
  EXPECT_EQ(system_->Mode(), SystemMode::kRun);
}

// Each saved-game request ends with its event motion on the event indicator.
TEST_F(KelSystemTest, QuickSaveQuickLoadAndChoiceLoadPostTheirEventMotions) {
  const std::vector<std::string> motions = {"*OnQuickSave", "*OnQuickLoad", "*OnSelectLoad"};
  Start("@@TOP\r\n\\scp,sys\\lk,0\\scp,scsr\\l,\"ev.b\"\r\n\\wait,100000\r\n", {},
        {{"ev.b", test::AsText(test::FillAnimation(motions, {0, 0, 8, 8}, 0xFFFFFFFF))}});
  const imaging::TImageLib& indicator = stage_.EventIndicator();
  const auto request = [&](std::string action) {
    services_.action = std::move(action);
    Steps(1);
    services_.action.clear();
    Steps(2);
  };
  Steps(1);
  request("selectload");  // nothing to load: nothing asked
  EXPECT_TRUE(dialogs_.asked.empty());
  request("quicksave");
  EXPECT_EQ(indicator.CurrentMotionName(), "*OnQuickSave");
  EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "SaveData" / "QuickSaveData.svd"));
  request("quickload");
  EXPECT_EQ(indicator.CurrentMotionName(), "*OnQuickLoad");
  system_->Script().ExecuteLine("\\scp,dat\\s,_SelectSaveFilename");
  request("selectload");
  EXPECT_EQ(indicator.CurrentMotionName(), "*OnSelectLoad");
  EXPECT_EQ(dialogs_.asked.size(), 2u);
  EXPECT_EQ(base::TheErrorLog().Errors(), std::vector<std::string>{});
}

TEST_F(KelSystemTest, AScriptErrorFreezesThePictureUnderItsLines) {
  Start("@@TOP\r\n\\gvar,int,a\\gvar,int,a\r\n");
  Steps(2);
  EXPECT_EQ(system_->Mode(), SystemMode::kScriptError);
  EXPECT_FALSE(base::TheErrorLog().ErrorFlag());
  // The headline's glyphs in light yellow on black from (20, 100).
  const imaging::TARGB8888& window = display_.Memory()->Window();
  int yellow = 0;
  for (int y = 100; y < 116; ++y) {
    for (int x = 20; x < 200; ++x) {
      const uint32_t red = window.Pixel(x, y) >> 16 & 0xFF;
      const uint32_t blue = window.Pixel(x, y) & 0xFF;
      yellow += red > 0x80 && blue * 0xFF / red == 0x88 ? 1 : 0;
    }
  }
  EXPECT_GT(yellow, 20);
  Steps(3);
  EXPECT_EQ(system_->Mode(), SystemMode::kScriptError);  // it stays
}

}  // namespace
}  // namespace mavu::shell
