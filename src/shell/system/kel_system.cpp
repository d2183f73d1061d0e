#include "shell/system/kel_system.h"

#include <algorithm>

#include "base/cp932.h"
#include "base/error_log.h"
#include "resource/message_table.h"
#include "script/objects/object_messages.h"

namespace mavu::shell {
namespace {

using script::SystemAction;
using script::SystemRequest;

constexpr std::string_view kTopLabel = "@@TOP";
constexpr std::string_view kSceneReturnEvent = "*OnSceneReturn";
constexpr std::string_view kQuickSaveEvent = "*OnQuickSave";
constexpr std::string_view kQuickLoadEvent = "*OnQuickLoad";
constexpr std::string_view kSelectLoadEvent = "*OnSelectLoad";
constexpr std::string_view kFpsPlaceholder = "%%%fps";
constexpr std::string_view kLimitPlaceholder = "%%%limit";
constexpr std::string_view kCpuPlaceholder = "%%%cpu";
constexpr int32_t kCaptionPeriodMs = 1000;
constexpr uint8_t kRequestMask = 0x7F;

// The stop and error screens: "ＭＳ ゴシック" at 16 pixels, light yellow on black.
constexpr std::string_view kStopFace = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";
constexpr int kStopFontSize = 16;
constexpr uint32_t kStopColour = 0xFFFFFF88;
constexpr uint32_t kStopBackground = 0xFF000000;
constexpr int32_t kStopTextX = 20;
constexpr int32_t kStopHeadlineY = 100;
constexpr int32_t kNewestErrorY = 250;
constexpr int32_t kErrorLineStep = 20;
// "DebugStop %s で停止中。" and "ScriptError %s でエラー"
constexpr std::string_view kDebugStopText = "DebugStop %s \x82\xC5\x92\xE2\x8E\x7E\x92\x86\x81\x42";
constexpr std::string_view kScriptErrorText = "ScriptError %s \x82\xC5\x83\x47\x83\x89\x81\x5B";

void ReplaceAll(std::string& text, std::string_view from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::string WithPosition(std::string_view pattern, const std::string& position) {
  std::string text(pattern);
  ReplaceAll(text, "%s", position);
  return text;
}

}  // namespace

TKelSystem::TKelSystem(std::unique_ptr<script::TKelScript> script, SystemDevices devices,
                       SystemSettings settings)
    : script_(std::move(script)), devices_(devices), settings_(std::move(settings)) {
  stopFont_.SetSystemFont(std::string(kStopFace),
                          std::make_unique<imaging::TSystemFont>(kStopFace, 1, 0));
  caption_ = base::Cp932ToUtf8(settings_.gameTitle);
  devices_.display.SetCaption(caption_);
}

TKelSystem::~TKelSystem() = default;

void TKelSystem::StartScript(std::string_view fileName, const ScreenMode& screen) {
  script_->SetStartScript(fileName);
  ShowCursor();
  script_->CancelSkip(false);
  devices_.display.ApplyScreenMode(screen.Limited());
  script_->ExecuteLine("\\go,\"" + std::string(kTopLabel) + "\",\"" + std::string(fileName) + "\"");
  SetMode(SystemMode::kRun);
  lastFrameTime_ = static_cast<int64_t>(devices_.clock.NowMs());
}

// --- pacing --------------------------------------------------------------------

int32_t TKelSystem::Interval() const {
  if (script_->Skipping()) return kFastSkipInterval;
  return 1000 / std::max(settings_.fpsLimit, 10);
}

uint8_t TKelSystem::Frame() {
  const auto now = static_cast<int64_t>(devices_.clock.NowMs());
  int64_t wait = Interval() + lastFrameTime_ - now;
  if (wait >= 0) {
    wait = std::min(wait, kMaxWaitMs);
    if (!MoviePlaying() && wait >= kMinSleepWait) {
      devices_.clock.SleepMs(static_cast<uint32_t>(wait - kSleepMargin));
    }
    return 0;
  }
  const auto elapsed = static_cast<int32_t>(std::min<int64_t>(now - lastFrameTime_, kMaxElapsed));
  lastFrameTime_ = now;
  return static_cast<uint8_t>(DueFrame(elapsed, now));
}

SystemMode TKelSystem::StepFrame(int32_t elapsed) {
  lastFrameTime_ = static_cast<int64_t>(devices_.clock.NowMs());
  return DueFrame(elapsed, lastFrameTime_);
}

SystemMode TKelSystem::DueFrame(int32_t elapsed, int64_t frameStart) {
  if (base::TheErrorLog().ErrorFlag()) SetMode(SystemMode::kScriptError);
  ++framesInMode_;
  // Only the story runs on while the player looks at another window.
  if (mode_ != SystemMode::kRun && mode_ != SystemMode::kView && !devices_.display.Active()) {
    return SystemMode::kIdle;
  }
  RunMode(elapsed);
  const SystemMode result = mode_;
  UpdateCaption(elapsed, frameStart);
  return result;
}

void TKelSystem::SetMode(SystemMode mode) {
  mode_ = mode;
  framesInMode_ = 0;
}

void TKelSystem::ResetAndRun() {
  script_->ResetInterpreter();
  SetMode(SystemMode::kRun);
}

// --- modes ---------------------------------------------------------------------

// Screens that are not part of the engine yet (menu, backlog, save and load
// screens, settings, memo) return to the story at once.
void TKelSystem::RunMode(int32_t elapsed) {
  switch (mode_) {
    case SystemMode::kRun:
      return RunStory(elapsed, false);
    case SystemMode::kView:
      return RunStory(elapsed, true);
    case SystemMode::kExitConfirm:
      return ConfirmExit();
    case SystemMode::kExit:
      return LeaveForIdle();
    case SystemMode::kResetConfirm:
      return ConfirmReset();
    case SystemMode::kDebugStop:
    case SystemMode::kScriptError:
      return ShowStopped();
    case SystemMode::kIdle:
      return;
    default:
      script_->CancelSkip(false);
      script_->SettleInput();
      return SetMode(SystemMode::kRun);
  }
}

void TKelSystem::RunStory(int32_t elapsed, bool view) {
  devices_.input.SetCursorHideDelay(SystemInput::kCursorHideMs);
  devices_.input.Poll();
  if (view) {
    script_->CancelSkip(false);
    script_->UpdateFrame(elapsed, false);
    script_->ComposeFrame(false);
    if (devices_.input.AnyClick() || script_->MappedKeyAction() == SystemAction::kView) {
      SetMode(SystemMode::kRun);
    }
  } else {
    script_->UpdateFrame(elapsed, true);
    script_->ComposeFrame(true);
  }
  Present(false, true);
  CarryOut(static_cast<uint8_t>(script_->PendingRequest()) & kRequestMask);
}

void TKelSystem::CarryOut(uint8_t request) {
  switch (static_cast<SystemRequest>(request)) {
    case SystemRequest::kExitNow:
      return SetMode(SystemMode::kExit);
    case SystemRequest::kExit:
      return SetMode(SystemMode::kExitConfirm);
    case SystemRequest::kScreenMode:
      return devices_.display.ToggleScreenMode();
    case SystemRequest::kView:
      return SetMode(SystemMode::kView);
    case SystemRequest::kReset:
      return SetMode(SystemMode::kResetConfirm);
    case SystemRequest::kSceneReturn:
      return SceneReturn();
    case SystemRequest::kDebugStop:
      return SetMode(SystemMode::kDebugStop);
    case SystemRequest::kMenu:
      return SetMode(SystemMode::kMenu);
    case SystemRequest::kBacklog:
      return SetMode(SystemMode::kBacklog);
    case SystemRequest::kText:
      return SetMode(SystemMode::kMemoEditor);
    case SystemRequest::kSaveScreen:
      return SetMode(SystemMode::kSaveScreen);
    case SystemRequest::kLoadScreen:
      return SetMode(SystemMode::kLoadScreen);
    case SystemRequest::kConfig:
      return SetMode(SystemMode::kConfig);
    case SystemRequest::kQuickSave:
      return QuickSave();
    case SystemRequest::kQuickLoad:
      return QuickLoad();
    case SystemRequest::kSelectLoad:
      return SelectLoad();
    default:
      return;
  }
}

// A quick save that fails is listed for the player; the game goes on.
void TKelSystem::QuickSave() {
  const std::string name = script_->NextQuickSaveName();
  if (!script_->SaveGame(name, true)) {
    base::TheErrorLog().ListError(script::messages::GameDataSaveFailed() + name);
  }
  script_->SetPendingEventLabel(kQuickSaveEvent);
  ReturnToStory();
}

// Rotating quick saves are chosen from a list window, which the engine does
// not have yet: the request is dropped.
void TKelSystem::QuickLoad() {
  if (script_->Settings().quickSaveMode == 1) return;
  if (!script_->IsLoadableSave(script::kQuickSaveFile)) return;
  ShowCursor();
  if (Confirm("QuickLoad_Text", "QuickLoad_Yes", "QuickLoad_no")) {
    script_->LoadGame(script::kQuickSaveFile);
    script_->SetPendingEventLabel(kQuickLoadEvent);
  }
  ReturnToStory();
}

void TKelSystem::SelectLoad() {
  if (!script_->IsLoadableSave(script::kSelectSaveFile)) return;
  ShowCursor();
  if (!Confirm("SelectLoad_Text", "SelectLoad_Yes", "SelectLoad_no")) return;
  script_->LoadGame(script::kSelectSaveFile);
  script_->SetPendingEventLabel(kSelectLoadEvent);
  ReturnToStory();
}

void TKelSystem::ReturnToStory() {
  SetMode(SystemMode::kRun);
  script_->SettleInput();
}

void TKelSystem::SceneReturn() {
  if (!script_->SceneReturnAvailable()) return;
  script_->SceneReturn();
  SetMode(SystemMode::kRun);
  script_->SettleInput();
  script_->SetPendingEventLabel(kSceneReturnEvent);
}

void TKelSystem::ConfirmExit() {
  ShowCursor();
  SetMode(Confirm("EXIT_Text", "EXIT_Yes", "EXIT_no") ? SystemMode::kExit : SystemMode::kRun);
}

void TKelSystem::ConfirmReset() {
  ShowCursor();
  if (Confirm("RESET_Text", "RESET_Yes", "RESET_no")) script_->ResetInterpreter();
  SetMode(SystemMode::kRun);
}

void TKelSystem::LeaveForIdle() {
  ShowCursor();
  script_->CancelSkip(false);
  SetMode(SystemMode::kIdle);
}

// The picture stands still with the position (and the newest errors) over
// it until the player closes the window or returns to the title.
void TKelSystem::ShowStopped() {
  devices_.input.Poll();
  lastFrameTime_ = static_cast<int64_t>(devices_.clock.NowMs());
  script_->ComposeFrame(true);
  Present(false, false);
  const bool error = mode_ == SystemMode::kScriptError;
  if (error) base::TheErrorLog().ClearErrorFlag();
  const std::string position = script_->Reader().PositionText();
  DrawStopText(WithPosition(error ? kScriptErrorText : kDebugStopText, position), error);
}

void TKelSystem::DrawStopText(std::string_view headline, bool withErrors) {
  imaging::TARGB8888 picture;
  picture.AssignImage(script_->Stage().Graphic().ShownPicture());
  // A half-width cell per byte: the face is a fixed-pitch one.
  const auto write = [&](std::string_view text, int32_t y) {
    const auto width = static_cast<int32_t>(text.size()) * kStopFontSize / 2;
    picture.FillSolid(
        {static_cast<float>(kStopTextX), static_cast<float>(y),
         static_cast<float>(kStopTextX + width), static_cast<float>(y + kStopFontSize)},
        kStopBackground);
    stopFont_.DrawGlyphs(picture, text, false, kStopColour, kStopFontSize, kStopFontSize,
                         kStopTextX, y);
  };
  write(headline, kStopHeadlineY);
  if (withErrors) {
    const std::vector<std::string>& errors = base::TheErrorLog().Errors();
    const int shown = std::min<int>(kStopErrorLines, static_cast<int>(errors.size()));
    for (int i = 0; i < shown; ++i) {
      write(errors[errors.size() - 1 - i], kNewestErrorY - i * kErrorLineStep);
    }
  }
  devices_.display.CopyToWindow(picture, {0, 0, picture.Width(), picture.Height()});
  devices_.display.Flush();
}

// --- presenting ------------------------------------------------------------------

void TKelSystem::Present(bool full, bool interlaceAllowed) {
  if (MoviePlaying()) return;
  if (devices_.display.TakeContentsLost()) full = true;
  imaging::TARGB8888::InterlaceActive = interlaceAllowed;
  imaging::TKelGraphic& graphic = script_->Stage().Graphic();
  if (settings_.interlace == 1) {
    graphic.PresentToSurface(devices_.display, full);
  } else {
    graphic.PresentToWindow(devices_.display, full);
  }
  devices_.display.Flush();
  imaging::TARGB8888::InterlaceActive = false;
  imaging::TARGB8888::InterlaceField = 1 - imaging::TARGB8888::InterlaceField;
}

bool TKelSystem::MoviePlaying() const {
  return script_->Services().movie.MovieState() == script::MoviePlayer::kPlaying;
}

// --- caption and helpers -------------------------------------------------------

void TKelSystem::UpdateCaption(int32_t elapsed, int64_t frameStart) {
  const auto work = static_cast<int32_t>(static_cast<int64_t>(devices_.clock.NowMs()) - frameStart);
  averageWork_ = (averageWork_ + work) / 2;
  accumulatedTime_ += elapsed;
  if (accumulatedTime_ <= kCaptionPeriodMs) return;
  caption_ = CaptionText(elapsed);
  devices_.display.SetCaption(caption_);
  accumulatedTime_ = 0;
  averageWork_ = work;
}

// Without a template the caption keeps the game's title.
std::string TKelSystem::CaptionText(int32_t elapsed) const {
  if (settings_.formCaption.empty()) return base::Cp932ToUtf8(settings_.gameTitle);
  const int32_t limit = settings_.fpsLimit;
  const int32_t fps = elapsed > 0 ? std::min(limit, 1000 / elapsed) : limit;
  const int32_t budget = limit > 0 ? 1000 / limit : 0;
  const int32_t cpu = budget > 0 ? std::min(averageWork_ * 100 / budget, 100) : 0;
  std::string text = settings_.formCaption;
  ReplaceAll(text, kFpsPlaceholder, std::to_string(fps));
  ReplaceAll(text, kLimitPlaceholder, std::to_string(limit));
  ReplaceAll(text, kCpuPlaceholder, std::to_string(cpu));
  return base::Cp932ToUtf8(text);
}

void TKelSystem::ShowCursor() {
  devices_.input.SetCursorHideDelay(0);
}

// A confirmation whose text the message table lacks counts as yes.
bool TKelSystem::Confirm(std::string_view textKey, std::string_view yesKey,
                         std::string_view noKey) {
  return devices_.dialogs.ShowConfirm("", resource::MessageText(textKey),
                                      resource::MessageText(yesKey),
                                      resource::MessageText(noKey)) == 1;
}

}  // namespace mavu::shell
