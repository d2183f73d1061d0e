#include "shell/app/headless_input_player.h"

#include <algorithm>

namespace mavu::shell {
namespace {

constexpr std::string_view kClickAction = "click";

}  // namespace

HeadlessInputPlayer::HeadlessInputPlayer(HeadlessInputScript script, KeyTable keys,
                                         int32_t screenWidth, int32_t screenHeight)
    : script_(std::move(script)),
      keys_(std::move(keys)),
      width_(std::max(screenWidth, 1)),
      height_(std::max(screenHeight, 1)) {}

FrameInput HeadlessInputPlayer::Play(int64_t frame, uint64_t nowMs) {
  InputSnapshot snapshot;
  std::string directAction;
  for (const InputEvent& event : script_.EventsOf(frame)) {
    Apply(event, nowMs, snapshot, directAction);
  }
  snapshot.ctrl = Down(kCtrlKey) || Down(kLeftCtrlKey) || Down(kRightCtrlKey);
  snapshot.alt = Down(kAltKey) || Down(kLeftAltKey) || Down(kRightAltKey);
  for (int key = 0; key < InputSnapshot::kKeys; ++key) {
    snapshot.keyRepeating[key] = down_[key] && holdStart_[key] + kRepeatDelayMs < nowMs;
  }
  FrameInput input{pointerX_, pointerY_, std::move(directAction)};
  if (input.action.empty()) input.action = keys_.MappedAction(snapshot);
  return input;
}

void HeadlessInputPlayer::Apply(const InputEvent& event, uint64_t nowMs, InputSnapshot& snapshot,
                                std::string& directAction) {
  switch (event.type) {
    case InputEvent::Type::kClick:
      MovePointer(event.x, event.y);
      snapshot.clicked[InputSnapshot::kLeft] = true;
      directAction = kClickAction;
      return;
    case InputEvent::Type::kRightClick:
      MovePointer(event.x, event.y);
      snapshot.clicked[InputSnapshot::kRight] = true;
      return;
    case InputEvent::Type::kMove:
      MovePointer(event.x, event.y);
      return;
    case InputEvent::Type::kWheel:
      snapshot.wheel = event.value;
      return;
    case InputEvent::Type::kKey:
      if (!down_[event.value]) {
        down_[event.value] = true;
        holdStart_[event.value] = nowMs;
        snapshot.keyPressed[event.value] = true;
      }
      return;
    case InputEvent::Type::kKeyUp:
      down_[event.value] = false;
      return;
    case InputEvent::Type::kAction:
      directAction = event.action;
      return;
    case InputEvent::Type::kAnswer:  // for the dialogs, not the interpreter
      return;
  }
}

void HeadlessInputPlayer::MovePointer(int32_t x, int32_t y) {
  pointerX_ = std::clamp(x, 0, width_ - 1);
  pointerY_ = std::clamp(y, 0, height_ - 1);
}

}  // namespace mavu::shell
