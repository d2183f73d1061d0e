// TKelScript: the per-frame update and the execution loop.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "script/interpreter/kel_script.h"

namespace mavu::script {
namespace {

constexpr std::string_view kDefaultMotion = "*Default";

bool WaitBlocksSkipping(WaitState state) {
  return state == WaitState::kButton || state == WaitState::kMovie;
}

struct RequestAction {
  SystemAction action;
  SystemRequest request;
  uint32_t lockBits;
};
// The actions that post a request, unless their lock bit is set.
constexpr std::array<RequestAction, 12> kRequestActions = {{
    {SystemAction::kMenu, SystemRequest::kMenu, lock::kMenu},
    {SystemAction::kView, SystemRequest::kView, lock::kView},
    {SystemAction::kLog, SystemRequest::kBacklog, lock::kLog},
    {SystemAction::kLoad, SystemRequest::kLoadScreen, lock::kLoad},
    {SystemAction::kSave, SystemRequest::kSaveScreen, lock::kSave},
    {SystemAction::kConfig, SystemRequest::kConfig, lock::kConfig},
    {SystemAction::kScreen, SystemRequest::kScreenMode, lock::kScreen},
    {SystemAction::kText, SystemRequest::kText, lock::kText},
    {SystemAction::kQuickLoad, SystemRequest::kQuickLoad, lock::kLoad},
    {SystemAction::kQuickSave, SystemRequest::kQuickSave, lock::kSave},
    {SystemAction::kSelectLoad, SystemRequest::kSelectLoad, lock::kLoad},
    {SystemAction::kSceneReturn, SystemRequest::kSceneReturn, lock::kSceneSkip},
}};

struct ModeAction {
  SystemAction action;
  SkipMode mode;
  uint32_t lockBits;
};
constexpr std::array<ModeAction, 3> kModeActions = {{
    {SystemAction::kAuto, SkipMode::kAuto, lock::kAuto},
    {SystemAction::kSkip, SkipMode::kSkip, lock::kSkip},
    {SystemAction::kLogSkip, SkipMode::kReadSkip, lock::kSkip},
}};

}  // namespace

void TKelScript::UpdateFrame(int32_t elapsed, bool inputAllowed) {
  request_ = SystemRequest::kNone;
  elapsed = std::max(elapsed, 0);
  services_.sound.UpdateSounds();
  StepSceneSkip(elapsed);
  bool skipping = Skipping();
  if (TakeInput(inputAllowed)) ApplyAction(MappedKeyAction(), skipping);
  if (!sceneSkipShown_ && WaitBlocksSkipping(Module().waitState)) LeaveSkip();
  HandleMode();
  const int32_t stepTime = AdvanceTime(elapsed);
  if (stepTime > 0) AdvanceScene(stepTime);
  RunCommands(skipping);
  if (skipping) autoDelay_ = 0;
}

// Scene skip without loading shows its animation instead of the scene from
// its first step until the mode is left.
void TKelScript::StepSceneSkip(int32_t elapsed) {
  if (Module().mode != SkipMode::kSceneSkipNoLoad) return;
  if (!sceneSkipShown_) {
    stage_.StartSceneSkipAnimation();
    services_.sound.BeginDeferral();
    sceneSkipShown_ = true;
  }
  stage_.AdvanceSceneSkipAnimation(elapsed);
}

// Input is not taken while the scene-skip animation runs towards no target.
// The pointer hovers over the system objects first (and over the scene's
// objects during a button wait).
bool TKelScript::TakeInput(bool inputAllowed) {
  if (!inputAllowed || (sceneSkipShown_ && !sceneSkipTargetActive_)) return false;
  if (CurrentWaitState() != WaitState::kMovie) {
    uint32_t hover = groups::kSystemHover;
    if (Module().waitState == WaitState::kButton) hover |= groups::kButtonWaitHover;
    objects_->HoverAll(Module().updateMask, services_.input.PointerX(), services_.input.PointerY(),
                       hover);
  }
  return true;
}

void TKelScript::ApplyAction(SystemAction action, bool& skipping) {
  switch (action) {
    case SystemAction::kNone:
      return;
    case SystemAction::kReset:
      return RequestUnlessLocked(SystemRequest::kReset, lock::kReset);
    case SystemAction::kExit:
      return RequestUnlessLocked(SystemRequest::kExit, lock::kExit);
    case SystemAction::kClick:
      return Click(services_.input.PointerX(), services_.input.PointerY(), false);
    case SystemAction::kKeyClick:
      return Click(kNoPosition, kNoPosition, false);
    case SystemAction::kSkipClick:
      skipping = true;
      return Click(kNoPosition, kNoPosition, false);
    default:
      break;
  }
  if (CurrentWaitState() == WaitState::kMovie) return;
  ApplySystemAction(action);
}

void TKelScript::ApplySystemAction(SystemAction action) {
  for (const RequestAction& entry : kRequestActions) {
    if (entry.action == action) return RequestUnlessLocked(entry.request, entry.lockBits);
  }
  for (const ModeAction& entry : kModeActions) {
    if (entry.action == action) return ModeUnlessLocked(entry.mode, entry.lockBits);
  }
  if (action != SystemAction::kSceneSkipLoad && action != SystemAction::kSceneSkipNoLoad) return;
  if (!SceneSkipAvailable()) return;
  SetMode(action == SystemAction::kSceneSkipNoLoad ? SkipMode::kSceneSkipNoLoad
                                                   : SkipMode::kSceneSkip);
}

void TKelScript::RequestUnlessLocked(SystemRequest request, uint32_t lockBits) {
  if (!Module().Locked(lockBits)) request_ = request;
}

void TKelScript::ModeUnlessLocked(SkipMode mode, uint32_t lockBits) {
  if (!Module().Locked(lockBits)) SetMode(mode);
}

// Auto mode clicks once a click or message-end wait has nothing left to wait
// for; the skip modes click every step. A lock set meanwhile ends the mode.
void TKelScript::HandleMode() {
  switch (Module().mode) {
    case SkipMode::kOff:
      autoDelay_ = 0;
      return;
    case SkipMode::kAuto: {
      if (Module().Locked(lock::kAuto)) return LeaveSkip();
      const WaitState state = Module().waitState;
      const bool atEnd = state == WaitState::kClick || state == WaitState::kMessageEnd;
      if (autoDelay_ == 0 && !services_.sound.VoicePlaying() && atEnd && Module().waitTime <= 0) {
        Click(kNoPosition, kNoPosition, true);
      }
      return;
    }
    case SkipMode::kSkip:
    case SkipMode::kReadSkip:
      if (Module().Locked(lock::kSkip)) return LeaveSkip();
      return Click(kNoPosition, kNoPosition, true);
    case SkipMode::kSceneSkip:
    case SkipMode::kSceneSkipNoLoad:
      if (Module().Locked(lock::kSceneSkip)) return LeaveSkip();
      return Click(kNoPosition, kNoPosition, true);
  }
}

// The step's time: the elapsed time, none while the freeze counter runs (after
// a long load), plus the bonus a click on a clk wait left.
int32_t TKelScript::AdvanceTime(int32_t elapsed) {
  Module().elapsedTime = static_cast<int32_t>(
      std::min<int64_t>(int64_t{Module().elapsedTime} + elapsed, kMaxElapsedTime));
  if (holdCounter_ > 0) --holdCounter_;
  if (freezeCounter_ > 0) --freezeCounter_;
  int64_t step = freezeCounter_ > 0 ? 0 : elapsed;
  step = std::min<int64_t>(step + timeBonus_, kMaxElapsedTime);
  timeBonus_ = 0;
  const auto countDown = [step](int32_t& value) {
    if (value > 0) value = static_cast<int32_t>(std::max<int64_t>(value - step, 0));
  };
  countDown(Module().waitTime);
  countDown(Module().clickSkipTime);
  countDown(autoDelay_);
  return static_cast<int32_t>(step);
}

void TKelScript::AdvanceScene(int32_t ms) {
  imaging::Stage& stage = stage_;
  RefreshSystemButtons();
  stage.AdvanceCamera(ms);
  stage.PlayWaitMotion(WaitMotion());
  stage.AdvanceWaitIndicator(ms);
  if (!pendingEvent_.empty()) {
    stage.PlayEventMotion(pendingEvent_);
    pendingEvent_.clear();
  }
  stage.AdvanceEventIndicator(ms);
  objects_->SetCameraOffset(stage.CameraOffsetX(), stage.CameraOffsetY());
  objects_->AdvanceAll(Module().updateMask, ms, groups::kScene);
  stage.AdvanceLayers(ms);
  // Windows that count auto-mode time add what their typed characters took.
  int64_t& gained = stage.Context().autoWaitGained;
  AddAutoAdvanceDelay(static_cast<int32_t>(std::min<int64_t>(gained, kMaxElapsedTime)));
  gained = 0;
}

std::string_view TKelScript::WaitMotion() const {
  const bool off = Module().mode == SkipMode::kOff;
  const bool automatic = Module().mode == SkipMode::kAuto;
  switch (Module().waitState) {
    case WaitState::kTimed:
      if (off) return "*OnWait";
      break;
    case WaitState::kClick:
      if (Module().waitTime != -1) break;
      if (off) return "*OnClick";
      if (automatic) return "*OnAuto";
      break;
    case WaitState::kMessage:
      if (off) return "*OnMessage";
      break;
    case WaitState::kMessageEnd:
      if (off) return "*OnScroll";
      if (automatic) return "*OnAuto";
      break;
    case WaitState::kButton:
      return "*OnButton";
    case WaitState::kWave:
      if (off) return "*OnWave";
      break;
    default:
      break;
  }
  return kDefaultMotion;
}

// Commands run until one waits, an error is raised, a request is posted, the
// hold counter runs or the budget is spent: max(commands per frame, 1)
// commands, or kSkipCommandLimit + 1 while skipping. A waiting interpreter
// counts one iteration for each test of its wait.
void TKelScript::RunCommands(bool& skipping) {
  for (int32_t i = 0;; ++i) {
    if (StopAtSceneSkipTarget()) skipping = false;
    if (skipping ? i > kSkipCommandLimit : i >= std::max(Module().commandsPerFrame, 1)) return;
    if (holdCounter_ > 0 || request_ != SystemRequest::kNone || ErrorRaised()) return;
    if (skipping) ClickWhileSkipping();
    if (Module().waitState == WaitState::kRunning) {
      ExecuteCommand(Reader().ReadCommand());
    } else {
      UpdateWait();
    }
    if (skipping) ClickWhileSkipping();
    if (Module().waitState != WaitState::kRunning || ErrorRaised()) return;
  }
}

bool TKelScript::StopAtSceneSkipTarget() {
  if (!sceneSkipTargetActive_) return false;
  if (std::abs(int64_t{Reader().CurrentLine()} - sceneSkipTarget_) >= kSceneSkipTargetLines) {
    return false;
  }
  sceneSkipTargetActive_ = false;
  LeaveSkip();
  return true;
}

void TKelScript::ClickWhileSkipping() {
  for (int k = 0; k < kSkipClicks && Module().waitState != WaitState::kRunning; ++k) {
    Click(kNoPosition, kNoPosition, true);
  }
}

void TKelScript::UpdateWait() {
  const WaitState state = Module().waitState;
  if (state == WaitState::kMessage || state == WaitState::kMessageEnd) return UpdateMessageWait();
  if (WaitEnded()) Module().waitState = WaitState::kRunning;
}

bool TKelScript::WaitEnded() {
  const SoundService& sound = services_.sound;
  switch (Module().waitState) {
    case WaitState::kTimed:
    case WaitState::kClick:
      return Module().waitTime == 0;
    case WaitState::kTime:
      return Module().elapsedTime >= Module().timeTarget;
    case WaitState::kSoundTime:
      return sound.ChannelState(Module().soundChannel) <= 1 ||
             sound.PositionMs(Module().soundChannel) >= Module().soundTimeTarget;
    case WaitState::kButton:
      if (Module().waitTime != 0) return false;
      SetResultObject("ResultBtn", {});
      SetResultInteger("ResultBtnInt", 0);
      SetResultString("ResultBtnStr", {});
      return true;
    case WaitState::kWave: {
      const int32_t channel = sound.ChannelState(Module().waveChannel);
      return channel != SoundService::kPlaying && channel != SoundService::kPlayingLooped;
    }
    case WaitState::kMovie:
      return services_.movie.MovieState() != MoviePlayer::kPlaying;
    case WaitState::kForever:
      return false;
    default:
      return true;
  }
}

// A message that reaches its end starts the auto-advance delay.
void TKelScript::UpdateMessageWait() {
  const int32_t state = objects_->MessageState();
  const WaitState next = state == ObjectRegistry::kMessageAtEnd     ? WaitState::kMessageEnd
                         : state == ObjectRegistry::kMessageShowing ? WaitState::kMessage
                                                                    : WaitState::kRunning;
  if (Module().waitState == WaitState::kMessage && next == WaitState::kMessageEnd) {
    AddAutoAdvanceDelay(settings_.autoClickMs);
  }
  Module().waitState = next;
}

}  // namespace mavu::script
