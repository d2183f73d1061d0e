#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "imaging/animation/animation_bmp.h"
#include "imaging/layers/image_lib_state.h"
#include "imaging/layers/layer_context.h"

namespace mavu::imaging {

// One picture on the screen (`TImageLib`): a TAnimationBmp placed at a
// position and priority, moved and faded over time, reacting to the pointer by
// playing the motions of reserved names ("*OnMouse", "*OffMouse", "*Enable",
// "*Disable"), with its whole state in one 1331-byte record. Message windows
// and buttons are layers too.
class TImageLib {
 public:
  static constexpr int kAnchorStart = 0;
  static constexpr int kAnchorCentre = 1;
  static constexpr int kAnchorEnd = 2;
  static constexpr size_t kMaxName = ImageLibState::kNameField - 1;

  explicit TImageLib(LayerContext& context);
  virtual ~TImageLib() = default;
  TImageLib(const TImageLib&) = delete;
  TImageLib& operator=(const TImageLib&) = delete;

  // The layer operations, in their slot order.
  virtual void Reset();
  virtual void Update(int32_t elapsed);
  virtual void Post(int32_t layerMask, int32_t dx, int32_t dy);
  virtual void Show();
  virtual void Hide();
  virtual void Enable();
  virtual void Disable();
  virtual void MouseMove(int32_t layerMask, int32_t x, int32_t y);

  // "rect,x,y,w,h,colour" makes a solid rectangle; any other name is a file of
  // the data tree, whose picture `imageFile` (when given) replaces. Nothing
  // changes when both names are those loaded already, unless forced. False
  // when the file did not load (the layer is then reset, the names kept).
  bool LoadFile(std::string_view file, std::string_view imageFile, bool force);
  bool LoadRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);

  void MoveTo(int32_t x, int32_t y, int32_t priority, int32_t duration);
  void FadeTo(int32_t opacity, int32_t duration);
  void SetEasing(uint8_t easing) { state_.easing = easing; }
  void SetAnchor(int32_t h, int32_t v);
  void SetHitRect(const ImageLibState::Rect& rect) { state_.hit = rect; }
  void SetHoverWindow(const ImageLibState::Rect& rect) { state_.hover = rect; }
  void SetMasks(int32_t mouse, int32_t draw);
  void SetTag(std::string_view tag);
  void SetUserValue(int32_t value) { state_.userValue = value; }
  void WatchMotion(std::string_view name, std::string_view label);
  void SetLevelChannel(int32_t channel);
  void SetPlayChannel(int32_t channel);

  // Selects a motion unless it is current already (`restart` plays it anew);
  // a name the file lacks is ignored. A layer that is not enabled is hidden.
  void PlayMotion(std::string_view name, bool restart);
  void PlayMotionAt(int index, bool restart);
  // The point, relative to where the layer is going (its move target), lies
  // in one of its hit areas.
  bool HitTest(int32_t x, int32_t y) const;

  // The save record; loading reloads the files and puts the motion, clocks
  // and waits back. Throws base::FormatError for a damaged record, with the
  // layer unchanged.
  void SaveState(base::ByteWriter& out) const;
  void LoadState(base::ByteReader& in);

  // Carries out the loads, showing and motion recorded while deferring.
  void CarryOutDeferred();

  std::function<void()> onMouseEnter;
  std::function<void()> onMouseLeave;
  // The watched motion became current; the label is what was given with it.
  std::function<void(const std::string& label)> onWatchedMotion;

  const ImageLibState& State() const { return state_; }
  bool Shown() const { return state_.shown; }
  bool Enabled() const { return state_.enabled; }
  bool Loaded() const { return !state_.file.empty(); }
  int32_t Opacity() const { return state_.opacity; }
  int CurrentMotionIndex() const { return animation_.CurrentMotion(); }
  std::string CurrentMotionName() const;
  // Where the target edge 0 (left/top), 1 (centre), 2 (right/bottom) lies, the
  // anchor taken into account.
  int32_t TargetEdgeX(int edge) const;
  int32_t TargetEdgeY(int edge) const;
  TAnimationBmp& Animation() { return animation_; }
  const TAnimationBmp& Animation() const { return animation_; }
  LayerContext& Context() { return context_; }
  const LayerContext& Context() const { return context_; }

 protected:
  bool MotionIsCurrent(std::string_view name) const;
  // Plays the motion when the file has it; false when it does not.
  bool PlayIfPresent(std::string_view name, bool restart = false);
  ImageLibState& MutableState() { return state_; }

 private:
  struct Deferred {
    std::optional<std::string> file;
    std::string imageFile;
    std::optional<bool> shown;
    std::optional<std::string> motion;
  };

  bool LoadRectText(const std::vector<std::string>& items, std::string_view file);
  bool LoadThroughDataTree(std::string_view file, std::string_view imageFile, bool force);
  void SelectMotion(int index, bool restart);
  void UpdateMove(int32_t elapsed);
  void UpdateFade(int32_t elapsed);
  void UpdateAnimation(int32_t elapsed);
  static int32_t EdgeOffset(int edge, int32_t size);
  int32_t ImageWidth() const;
  int32_t ImageHeight() const;
  int32_t AnchorX() const;
  int32_t AnchorY() const;
  bool PointerInHoverWindow() const;

  LayerContext& context_;
  TAnimationBmp animation_;
  ImageLibState state_;
  Deferred deferred_;
};

}  // namespace mavu::imaging
