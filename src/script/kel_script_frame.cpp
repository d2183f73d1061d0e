// TKelScript: the per-frame update and the execution loop.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "script/kel_script.h"

namespace mavu::script {
namespace {

constexpr std::string_view kDefaultMotion = "*Default";

bool WaitBlocksSkipping(WaitState state) {
  return state == WaitState::Button || state == WaitState::Movie;
}

struct TRequestAction {
  SystemAction action;
  SystemRequest request;
  uint32_t lockBits;
};
// The actions that post a request, unless their lock bit is set.
constexpr std::array<TRequestAction, 12> kRequestActions = {{
    {SystemAction::Menu, SystemRequest::Menu, lock::kMenu},
    {SystemAction::View, SystemRequest::View, lock::kView},
    {SystemAction::Log, SystemRequest::Backlog, lock::kLog},
    {SystemAction::Load, SystemRequest::LoadScreen, lock::kLoad},
    {SystemAction::Save, SystemRequest::SaveScreen, lock::kSave},
    {SystemAction::Config, SystemRequest::Config, lock::kConfig},
    {SystemAction::Screen, SystemRequest::ScreenMode, lock::kScreen},
    {SystemAction::Text, SystemRequest::Text, lock::kText},
    {SystemAction::QuickLoad, SystemRequest::QuickLoad, lock::kLoad},
    {SystemAction::QuickSave, SystemRequest::QuickSave, lock::kSave},
    {SystemAction::SelectLoad, SystemRequest::SelectLoad, lock::kLoad},
    {SystemAction::SceneReturn, SystemRequest::SceneReturn, lock::kSceneSkip},
}};

struct TModeAction {
  SystemAction action;
  SkipMode mode;
  uint32_t lockBits;
};
constexpr std::array<TModeAction, 3> kModeActions = {{
    {SystemAction::Auto, SkipMode::Auto, lock::kAuto},
    {SystemAction::Skip, SkipMode::Skip, lock::kSkip},
    {SystemAction::LogSkip, SkipMode::ReadSkip, lock::kSkip},
}};

}  // namespace

void TKelScript::UpdateFrame(int32_t elapsed, bool inputAllowed) {
  request_ = SystemRequest::None;
  elapsed = std::max(elapsed, 0);
  StepSceneSkip(elapsed);
  bool skipping = Skipping();
  if (TakeInput(inputAllowed)) ApplyAction(MappedKeyAction(), skipping);
  if (!sceneSkipShown_ && WaitBlocksSkipping(module_.waitState)) LeaveSkip();
  HandleMode();
  const int32_t stepTime = AdvanceTime(elapsed);
  if (stepTime > 0) AdvanceScene(stepTime);
  RunCommands(skipping);
  if (skipping) autoDelay_ = 0;
}

// Scene skip without loading shows its animation instead of the scene from
// its first step until the mode is left.
void TKelScript::StepSceneSkip(int32_t elapsed) {
  if (module_.mode != SkipMode::SceneSkipNoLoad) return;
  if (!sceneSkipShown_) {
    services_.stage.StartSceneSkipAnimation();
    sceneSkipShown_ = true;
  }
  services_.stage.AdvanceSceneSkipAnimation(elapsed);
}

// Input is not taken while the scene-skip animation runs towards no target.
// The pointer hovers over the system objects first (and over the scene's
// objects during a button wait).
bool TKelScript::TakeInput(bool inputAllowed) {
  if (!inputAllowed || (sceneSkipShown_ && !sceneSkipTargetActive_)) return false;
  if (CurrentWaitState() != WaitState::Movie) {
    uint32_t hover = groups::kSystemHover;
    if (module_.waitState == WaitState::Button) hover |= groups::kButtonWaitHover;
    objects_->HoverAll(module_.updateMask, services_.input.PointerX(), services_.input.PointerY(),
                       hover);
  }
  return true;
}

void TKelScript::ApplyAction(SystemAction action, bool& skipping) {
  switch (action) {
    case SystemAction::Reset:
      return RequestUnlessLocked(SystemRequest::Reset, lock::kReset);
    case SystemAction::Exit:
      return RequestUnlessLocked(SystemRequest::Exit, lock::kExit);
    case SystemAction::Click:
      return Click(services_.input.PointerX(), services_.input.PointerY(), false);
    case SystemAction::KeyClick:
      return Click(kNoPosition, kNoPosition, false);
    case SystemAction::SkipClick:
      skipping = true;
      return Click(kNoPosition, kNoPosition, false);
    default:
      break;
  }
  if (CurrentWaitState() == WaitState::Movie) return;
  ApplySystemAction(action);
}

void TKelScript::ApplySystemAction(SystemAction action) {
  for (const TRequestAction& entry : kRequestActions) {
    if (entry.action == action) return RequestUnlessLocked(entry.request, entry.lockBits);
  }
  for (const TModeAction& entry : kModeActions) {
    if (entry.action == action) return ModeUnlessLocked(entry.mode, entry.lockBits);
  }
  if (action != SystemAction::SceneSkipLoad && action != SystemAction::SceneSkipNoLoad) return;
  if (!SceneSkipAvailable()) return;
  SetMode(action == SystemAction::SceneSkipNoLoad ? SkipMode::SceneSkipNoLoad
                                                  : SkipMode::SceneSkip);
}

void TKelScript::RequestUnlessLocked(SystemRequest request, uint32_t lockBits) {
  if (!module_.Locked(lockBits)) request_ = request;
}

void TKelScript::ModeUnlessLocked(SkipMode mode, uint32_t lockBits) {
  if (!module_.Locked(lockBits)) SetMode(mode);
}

// Auto mode clicks once a click or message-end wait has nothing left to wait
// for; the skip modes click every step. A lock set meanwhile ends the mode.
void TKelScript::HandleMode() {
  switch (module_.mode) {
    case SkipMode::Off:
      autoDelay_ = 0;
      return;
    case SkipMode::Auto: {
      if (module_.Locked(lock::kAuto)) return LeaveSkip();
      const WaitState state = module_.waitState;
      const bool atEnd = state == WaitState::Click || state == WaitState::MessageEnd;
      if (autoDelay_ == 0 && !services_.sound.VoicePlaying() && atEnd && module_.waitTime <= 0) {
        Click(kNoPosition, kNoPosition, true);
      }
      return;
    }
    case SkipMode::Skip:
    case SkipMode::ReadSkip:
      if (module_.Locked(lock::kSkip)) return LeaveSkip();
      return Click(kNoPosition, kNoPosition, true);
    case SkipMode::SceneSkip:
    case SkipMode::SceneSkipNoLoad:
      if (module_.Locked(lock::kSceneSkip)) return LeaveSkip();
      return Click(kNoPosition, kNoPosition, true);
  }
}

// The step's time: the elapsed time, none while the freeze counter runs (after
// a long load), plus the bonus a click on a clk wait left.
int32_t TKelScript::AdvanceTime(int32_t elapsed) {
  module_.elapsedTime = static_cast<int32_t>(
      std::min<int64_t>(int64_t{module_.elapsedTime} + elapsed, kMaxElapsedTime));
  if (holdCounter_ > 0) --holdCounter_;
  if (freezeCounter_ > 0) --freezeCounter_;
  int64_t step = freezeCounter_ > 0 ? 0 : elapsed;
  step = std::min<int64_t>(step + timeBonus_, kMaxElapsedTime);
  timeBonus_ = 0;
  const auto countDown = [step](int32_t& value) {
    if (value > 0) value = static_cast<int32_t>(std::max<int64_t>(value - step, 0));
  };
  countDown(module_.waitTime);
  countDown(module_.clickSkipTime);
  countDown(autoDelay_);
  return static_cast<int32_t>(step);
}

void TKelScript::AdvanceScene(int32_t ms) {
  TStage& stage = services_.stage;
  RefreshSystemButtons();
  stage.AdvanceCamera(ms);
  const std::string motion = WaitMotion();
  stage.PlayWaitMotion(stage.HasWaitMotion(motion) ? motion : std::string(kDefaultMotion));
  stage.AdvanceWaitIndicator(ms);
  if (!pendingEvent_.empty()) {
    stage.PlayEventMotion(pendingEvent_);
    pendingEvent_.clear();
  }
  stage.AdvanceEventIndicator(ms);
  objects_->SetCameraOffset(stage.CameraX(), stage.CameraY());
  objects_->AdvanceAll(module_.updateMask, ms, groups::kScene);
  stage.AdvanceLayers(ms);
}

std::string TKelScript::WaitMotion() const {
  const bool off = module_.mode == SkipMode::Off;
  const bool automatic = module_.mode == SkipMode::Auto;
  switch (module_.waitState) {
    case WaitState::Timed:
      if (off) return "*OnWait";
      break;
    case WaitState::Click:
      if (module_.waitTime != -1) break;
      if (off) return "*OnClick";
      if (automatic) return "*OnAuto";
      break;
    case WaitState::Message:
      if (off) return "*OnMessage";
      break;
    case WaitState::MessageEnd:
      if (off) return "*OnScroll";
      if (automatic) return "*OnAuto";
      break;
    case WaitState::Button:
      return "*OnButton";
    case WaitState::Wave:
      if (off) return "*OnWave";
      break;
    default:
      break;
  }
  return std::string(kDefaultMotion);
}

// Commands run until one waits, an error is raised, a request is posted, the
// hold counter runs or the budget is spent: max(commands per frame, 1)
// commands, or kSkipCommandLimit + 1 while skipping. A waiting interpreter
// counts one iteration for each test of its wait.
void TKelScript::RunCommands(bool& skipping) {
  for (int32_t i = 0;; ++i) {
    if (StopAtSceneSkipTarget()) skipping = false;
    if (skipping ? i > kSkipCommandLimit : i >= std::max(module_.commandsPerFrame, 1)) return;
    if (holdCounter_ > 0 || request_ != SystemRequest::None || ErrorRaised()) return;
    if (skipping) ClickWhileSkipping();
    if (module_.waitState == WaitState::Running) {
      ExecuteCommand(reader_.ReadCommand());
    } else {
      UpdateWait();
    }
    if (skipping) ClickWhileSkipping();
    if (module_.waitState != WaitState::Running || ErrorRaised()) return;
  }
}

bool TKelScript::StopAtSceneSkipTarget() {
  if (!sceneSkipTargetActive_) return false;
  if (std::abs(int64_t{reader_.CurrentLine()} - sceneSkipTarget_) >= kSceneSkipTargetLines) {
    return false;
  }
  sceneSkipTargetActive_ = false;
  LeaveSkip();
  return true;
}

void TKelScript::ClickWhileSkipping() {
  for (int k = 0; k < kSkipClicks && module_.waitState != WaitState::Running; ++k) {
    Click(kNoPosition, kNoPosition, true);
  }
}

void TKelScript::UpdateWait() {
  const WaitState state = module_.waitState;
  if (state == WaitState::Message || state == WaitState::MessageEnd) return UpdateMessageWait();
  if (WaitEnded()) module_.waitState = WaitState::Running;
}

bool TKelScript::WaitEnded() {
  const TSoundService& sound = services_.sound;
  switch (module_.waitState) {
    case WaitState::Timed:
    case WaitState::Click:
      return module_.waitTime == 0;
    case WaitState::Time:
      return module_.elapsedTime >= module_.timeTarget;
    case WaitState::SoundTime:
      return sound.ChannelState(module_.soundChannel) <= 1 ||
             sound.PositionMs(module_.soundChannel) >= module_.soundTimeTarget;
    case WaitState::Button:
      if (module_.waitTime != 0) return false;
      SetResultObject("ResultBtn", {});
      SetResultInteger("ResultBtnInt", 0);
      SetResultString("ResultBtnStr", {});
      return true;
    case WaitState::Wave: {
      const int32_t channel = sound.ChannelState(module_.waveChannel);
      return channel != TSoundService::kPlaying && channel != TSoundService::kFading;
    }
    case WaitState::Movie:
      return services_.movie.MovieState() != TMoviePlayer::kPlaying;
    case WaitState::Forever:
      return false;
    default:
      return true;
  }
}

// A message that reaches its end starts the auto-advance delay.
void TKelScript::UpdateMessageWait() {
  const int32_t state = objects_->MessageState();
  const WaitState next = state == TObjectRegistry::kMessageAtEnd     ? WaitState::MessageEnd
                         : state == TObjectRegistry::kMessageShowing ? WaitState::Message
                                                                     : WaitState::Running;
  if (module_.waitState == WaitState::Message && next == WaitState::MessageEnd) {
    AddAutoAdvanceDelay(settings_.autoClickMs);
  }
  module_.waitState = next;
}

}  // namespace mavu::script
