#include "shell/app/headless_input_player.h"

#include <algorithm>

namespace mavu::shell {
namespace {

constexpr std::string_view kClickAction = "click";

}  // namespace

THeadlessInputPlayer::THeadlessInputPlayer(THeadlessInputScript script, TKeyTable keys,
                                           int32_t screenWidth, int32_t screenHeight)
    : script_(std::move(script)),
      keys_(std::move(keys)),
      width_(std::max(screenWidth, 1)),
      height_(std::max(screenHeight, 1)) {}

TFrameInput THeadlessInputPlayer::Play(int64_t frame, uint64_t nowMs) {
  TInputSnapshot snapshot;
  std::string directAction;
  for (const TInputEvent& event : script_.EventsOf(frame)) {
    Apply(event, nowMs, snapshot, directAction);
  }
  snapshot.ctrl = Down(kCtrlKey) || Down(kLeftCtrlKey) || Down(kRightCtrlKey);
  snapshot.alt = Down(kAltKey) || Down(kLeftAltKey) || Down(kRightAltKey);
  for (int key = 0; key < TInputSnapshot::kKeys; ++key) {
    snapshot.keyRepeating[key] = down_[key] && holdStart_[key] + kRepeatDelayMs < nowMs;
  }
  TFrameInput input{pointerX_, pointerY_, std::move(directAction)};
  if (input.action.empty()) input.action = keys_.MappedAction(snapshot);
  return input;
}

void THeadlessInputPlayer::Apply(const TInputEvent& event, uint64_t nowMs, TInputSnapshot& snapshot,
                                 std::string& directAction) {
  switch (event.type) {
    case TInputEvent::Type::Click:
      MovePointer(event.x, event.y);
      snapshot.clicked[TInputSnapshot::kLeft] = true;
      directAction = kClickAction;
      return;
    case TInputEvent::Type::RightClick:
      MovePointer(event.x, event.y);
      snapshot.clicked[TInputSnapshot::kRight] = true;
      return;
    case TInputEvent::Type::Move:
      MovePointer(event.x, event.y);
      return;
    case TInputEvent::Type::Wheel:
      snapshot.wheel = event.value;
      return;
    case TInputEvent::Type::Key:
      if (!down_[event.value]) {
        down_[event.value] = true;
        holdStart_[event.value] = nowMs;
        snapshot.keyPressed[event.value] = true;
      }
      return;
    case TInputEvent::Type::KeyUp:
      down_[event.value] = false;
      return;
    case TInputEvent::Type::Action:
      directAction = event.action;
      return;
  }
}

void THeadlessInputPlayer::MovePointer(int32_t x, int32_t y) {
  pointerX_ = std::clamp(x, 0, width_ - 1);
  pointerY_ = std::clamp(y, 0, height_ - 1);
}

}  // namespace mavu::shell
