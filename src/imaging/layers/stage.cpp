#include "imaging/layers/stage.h"

namespace mavu::imaging {
namespace {

constexpr std::string_view kDefaultMotion = "*Default";

}  // namespace

Stage::Stage(base::SoundPlayer* sound)
    : waitIndicator_(graphic_.Context()),
      eventIndicator_(graphic_.Context()),
      sceneSkip_(graphic_.Context()) {
  graphic_.Context().sound = sound;
  graphic_.Context().backlog = &backlog_;
}

void Stage::Reset() {
  graphic_.EndTransition();
  camera_.CameraReset();
  waitIndicator_.Reset();
  eventIndicator_.Reset();
  backlog_.Clear();
  Context().deferring = false;
}

void Stage::LoadSceneSkipAnimation() {
  sceneSkip_.LoadFile(kSceneSkipFile, {}, true);
}

bool Stage::HasWaitMotion(std::string_view name) const {
  return waitIndicator_.Animation().FindMotion(name) >= 0;
}

void Stage::PlayWaitMotion(std::string_view name) {
  waitIndicator_.PlayMotion(HasWaitMotion(name) ? name : kDefaultMotion, false);
}

void Stage::PlayEventMotion(std::string_view name) {
  eventIndicator_.PlayMotion(name, true);
}

void Stage::DrawWaitIndicators() {
  waitIndicator_.Post(-1, 0, 0);
  eventIndicator_.Post(-1, 0, 0);
}

void Stage::StartSceneSkipAnimation() {
  sceneSkip_.PlayMotionAt(0, true);
  sceneSkip_.Enable();
  Context().deferring = true;
}

void Stage::EndSceneSkipAnimation() {
  Context().deferring = false;
  sceneSkip_.Hide();
  waitIndicator_.CarryOutDeferred();
  eventIndicator_.CarryOutDeferred();
}

}  // namespace mavu::imaging
