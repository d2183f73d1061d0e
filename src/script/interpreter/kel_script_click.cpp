// TKelScript: clicks, the system buttons and the frame composition.
#include <array>
#include <optional>

#include "base/cp932.h"
#include "script/interpreter/kel_script.h"

namespace mavu::script {
namespace {

constexpr std::string_view kResultClkInt = "ResultClkInt";
constexpr std::string_view kResultBtn = "ResultBtn";
constexpr std::string_view kResultBtnInt = "ResultBtnInt";
constexpr std::string_view kResultBtnStr = "ResultBtnStr";
constexpr int32_t kNoButtonValue = -1;

struct RequestButton {
  std::string_view text;
  SystemRequest request;
};
constexpr std::array<RequestButton, 14> kRequestButtons = {{
    {"screen", SystemRequest::kScreenMode},
    {"log", SystemRequest::kBacklog},
    {"config", SystemRequest::kConfig},
    {"menu", SystemRequest::kMenu},
    {"text", SystemRequest::kText},
    {"view", SystemRequest::kView},
    {"save", SystemRequest::kSaveScreen},
    {"load", SystemRequest::kLoadScreen},
    {"reset", SystemRequest::kReset},
    {"exit", SystemRequest::kExit},
    {"quicksave", SystemRequest::kQuickSave},
    {"quickload", SystemRequest::kQuickLoad},
    {"selectload", SystemRequest::kSelectLoad},
    {"scenereturn", SystemRequest::kSceneReturn},
}};

struct ModeButton {
  std::string_view text;
  SkipMode mode;
};
constexpr std::array<ModeButton, 5> kModeButtons = {{
    {"auto", SkipMode::kAuto},
    {"skip", SkipMode::kSkip},
    {"logskip", SkipMode::kReadSkip},
    {"sceneskipload", SkipMode::kSceneSkip},
    {"sceneskipnoload", SkipMode::kSceneSkipNoLoad},
}};

struct ButtonLock {
  std::string_view text;
  uint32_t lockBits;
};
constexpr std::array<ButtonLock, 13> kButtonLocks = {{
    {"screen", lock::kScreen},
    {"log", lock::kLog},
    {"config", lock::kConfig},
    {"menu", lock::kMenu},
    {"text", lock::kText},
    {"view", lock::kView},
    {"save", lock::kSave},
    {"load", lock::kLoad},
    {"reset", lock::kReset},
    {"exit", lock::kExit},
    {"quicksave", lock::kSave},
    {"quickload", lock::kLoad},
    {"selectload", lock::kLoad},
}};

template <typename Table>
auto FindByText(const Table& table, std::string_view text)
    -> std::optional<typename Table::value_type> {
  for (const auto& entry : table) {
    if (entry.text == text) return entry;
  }
  return std::nullopt;
}

}  // namespace

void TKelScript::Click(int32_t x, int32_t y, bool simulated) {
  if (!simulated) {
    LeaveSkip();
    sceneSkipTargetActive_ = false;
  }
  const bool positioned = x != kNoPosition || y != kNoPosition;
  if (positioned && Module().waitState != WaitState::kMovie && ClickSystemButton(x, y)) return;
  ClickWait(x, y, positioned);
}

bool TKelScript::ClickSystemButton(int32_t x, int32_t y) {
  SystemButton* button = objects_->HitSystemButton(Module().updateMask, x, y);
  if (button == nullptr) return false;
  objects_->AdvanceAll(Module().updateMask, kSystemButtonPressMs, groups::kSystemButtons);
  services_.clock.SleepMs(kSystemButtonPauseMs);
  PressSystemButton(*button);
  return true;
}

void TKelScript::PressSystemButton(SystemButton& button) {
  const std::string text = base::LowerName(button.ActionText());
  if (auto mode = FindByText(kModeButtons, text)) return ToggleModeButton(button, mode->mode);
  auto entry = FindByText(kRequestButtons, text);
  if (!entry) return;
  request_ = entry->request;
  button.SetChecked(false);
  if (entry->request == SystemRequest::kQuickSave) {
    QuickSavePresent(true);
    services_.clock.SleepMs(kQuickSavePauseMs);
  } else if (entry->request == SystemRequest::kQuickLoad) {
    QuickSavePresent(true);
  } else if (entry->request == SystemRequest::kSelectLoad) {
    SelectSavePresent(true);
  }
}

void TKelScript::ToggleModeButton(SystemButton& button, SkipMode mode) {
  if (button.Checked()) {
    LeaveSkip();
    button.SetChecked(false);
  } else {
    SetMode(mode);
    button.SetChecked(true);
  }
}

// Each system button shows whether its action is locked, or (auto, skip,
// logskip) whether its mode is on.
void TKelScript::RefreshSystemButtons() {
  objects_->ForEachSystemButton([this](SystemButton& button) {
    const std::string text = base::LowerName(button.ActionText());
    if (auto entry = FindByText(kButtonLocks, text)) {
      bool locked = Module().Locked(entry->lockBits);
      if (text == "quickload") locked = locked || !QuickSavePresent(false);
      if (text == "selectload") locked = locked || !SelectSavePresent(false);
      button.SetEnabled(!locked);
    } else if (auto mode = FindByText(kModeButtons, text);
               mode && mode->mode <= SkipMode::kReadSkip) {
      button.SetChecked(Module().mode == mode->mode);
    }
  });
}

// A click on a clk wait with a jump label jumps like one on a time or sndt
// wait: the label is stored for exactly that.
void TKelScript::ClickWait(int32_t x, int32_t y, bool positioned) {
  switch (Module().waitState) {
    case WaitState::kTimed:
      SetResultInteger(kResultClkInt, Module().waitTime);
      if (sceneSkipShown_) Module().waitState = WaitState::kRunning;
      return;
    case WaitState::kClick:
      if (Module().clickSkipTime > 0) timeBonus_ = Module().clickSkipTime;
      Module().waitState = WaitState::kRunning;
      return ClickJumpWait(Module().waitTime);
    case WaitState::kTime:
      return ClickJumpWait(Module().elapsedTime);
    case WaitState::kSoundTime:
      return ClickJumpWait(services_.sound.PositionMs(Module().soundChannel));
    case WaitState::kMessage:
    case WaitState::kMessageEnd:
      return objects_->ClickMessages(x, y);
    case WaitState::kButton:
      return ClickButtonWait(x, y);
    case WaitState::kWave:
      return services_.sound.FadeOut(Module().waveChannel, kVoiceFadeMs);
    case WaitState::kMovie:
      return ClickMovie(x, y, positioned);
    default:
      return;
  }
}

void TKelScript::ClickJumpWait(int32_t result) {
  SetResultInteger(kResultClkInt, result);
  if (Module().jumpLabel.empty()) return;
  Module().waitState = WaitState::kRunning;
  ExecuteLine("\\jmp," + Module().jumpLabel);
}

// A button's command runs at once, with the object scope put back afterwards.
void TKelScript::ClickButtonWait(int32_t x, int32_t y) {
  if (sceneSkipShown_) {
    SetResultObject(kResultBtn, {});
    SetResultInteger(kResultBtnInt, kNoButtonValue);
    SetResultString(kResultBtnStr, {});
    Module().waitState = WaitState::kRunning;
    return;
  }
  if (Module().mode != SkipMode::kOff) return LeaveSkip();
  std::optional<ButtonHit> hit = objects_->HitButton(Module().updateMask, x, y);
  if (!hit) return;
  SetResultObject(kResultBtn, hit->objectName);
  SetResultInteger(kResultBtnInt, hit->value);
  SetResultString(kResultBtnStr, hit->text);
  Module().waitState = WaitState::kRunning;
  if (hit->command.empty()) return;
  const TScriptObjectScope scope = Module().scope;
  ExecuteCommand(hit->command);
  Module().scope = scope;
}

// A movie ends at the first click while skipping or when the decoder setting
// says so; otherwise only a click inside it, once it has played a while.
void TKelScript::ClickMovie(int32_t x, int32_t y, bool positioned) {
  MoviePlayer& movie = services_.movie;
  if (sceneSkipShown_ || settings_.movieDecoder == 0) return movie.StopMovie();
  if (positioned && movie.InMovieRect(x, y) && movie.MoviePlayedMs() > kMovieClickDelayMs) {
    movie.StopMovie();
  }
}

void TKelScript::ComposeFrame(bool full) {
  if (CurrentWaitState() == WaitState::kMovie) return services_.movie.DrawMovie();
  if (sceneSkipShown_) {
    stage_.DrawSceneSkipAnimation();
  } else {
    if (full) stage_.DrawWaitIndicators();
    objects_->DrawAll(Module().drawMask, full, groups::kScene);
  }
  stage_.Compose();
}

}  // namespace mavu::script
