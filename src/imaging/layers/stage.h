#pragma once

#include <cstdint>
#include <string_view>

#include "base/sound_player.h"
#include "imaging/kel_log_data.h"
#include "imaging/layers/camera.h"
#include "imaging/layers/image_lib.h"
#include "imaging/layers/kel_graphic.h"

namespace mavu::imaging {

// What the interpreter draws on beyond its script objects: the screen with its
// compositor and transitions, the camera, the two wait indicators (the first
// shows the wait motions, the second event motions such as "*OnSave"), the
// scene-skip animation, and the backlog store the message windows write to.
// Every layer of the game stands on the stage's layer context.
class Stage {
 public:
  static constexpr std::string_view kSceneSkipFile = "System\\SceneSkip\\SceneSkip.b";

  explicit Stage(base::SoundPlayer* sound = nullptr);
  Stage(const Stage&) = delete;
  Stage& operator=(const Stage&) = delete;

  // What an interpreter reset does to the stage: transitions end, the camera,
  // indicators and backlog start afresh.
  void Reset();
  // Read once the game's data is mounted.
  void LoadSceneSkipAnimation();

  void AdvanceCamera(int32_t ms) { camera_.CameraAdvance(ms); }
  int32_t CameraOffsetX() const { return camera_.OffsetX(); }
  int32_t CameraOffsetY() const { return camera_.OffsetY(); }

  bool HasWaitMotion(std::string_view name) const;
  void PlayWaitMotion(std::string_view name);
  void AdvanceWaitIndicator(int32_t ms) { waitIndicator_.Update(ms); }
  void PlayEventMotion(std::string_view name);
  void AdvanceEventIndicator(int32_t ms) { eventIndicator_.Update(ms); }
  void DrawWaitIndicators();

  // While the scene-skip animation is shown, layer loads, motions and showing
  // are only recorded; Ending it lets the owners of layers carry them out.
  void StartSceneSkipAnimation();
  void AdvanceSceneSkipAnimation(int32_t ms) { sceneSkip_.Update(ms); }
  void EndSceneSkipAnimation();
  void DrawSceneSkipAnimation() { sceneSkip_.Post(-1, 0, 0); }

  void AdvanceLayers(int32_t ms) { graphic_.Advance(ms); }
  void Compose() { graphic_.Compose(); }

  LayerContext& Context() { return graphic_.Context(); }
  TKelGraphic& Graphic() { return graphic_; }
  const TKelGraphic& Graphic() const { return graphic_; }
  TCamera& Camera() { return camera_; }
  TImageLib& WaitIndicator() { return waitIndicator_; }
  TImageLib& EventIndicator() { return eventIndicator_; }
  TImageLib& SceneSkipLayer() { return sceneSkip_; }
  TKelLogData& Backlog() { return backlog_; }

 private:
  TKelGraphic graphic_;
  TCamera camera_;
  TImageLib waitIndicator_;
  TImageLib eventIndicator_;
  TImageLib sceneSkip_;
  TKelLogData backlog_;
};

}  // namespace mavu::imaging
