#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_reader.h"
#include "base/sound_player.h"
#include "imaging/animation/animation_data.h"
#include "imaging/animation/hit_stack.h"
#include "imaging/argb8888.h"

namespace mavu::imaging {

class TARGB8888CellDraw;

// A picture with a keyframe timeline (`TAnimationBmp`): one image, motions of
// up to 64 layers, and the sounds its keys play. A plain ".bmp", ".jpg" or
// ".png" file becomes a still that shows the whole image; a ".b" file brings
// its own motions. Each frame the owner advances the clocks and posts the
// layers to the compositor. Pictures and sounds are held through the
// process-wide caches.
class TAnimationBmp {
 public:
  static constexpr int kMaxLayers = AnimationMotion::kMaxLayers;
  static constexpr int kKeys = AnimationLayer::kKeys;
  static constexpr int32_t kSliceMs = 50;
  // Action 4 jumps only while the channel is louder than this (of 255).
  static constexpr int32_t kSoundingLevel = 32;
  static constexpr uint32_t kHitAreaColour = 0x80FF0000;
  static constexpr float kHitAreaPriority = 5000;

  using Clocks = std::array<int32_t, kMaxLayers>;

  explicit TAnimationBmp(base::SoundPlayer* sound = nullptr);
  ~TAnimationBmp();
  TAnimationBmp(const TAnimationBmp&) = delete;
  TAnimationBmp& operator=(const TAnimationBmp&) = delete;

  // Resets, then loads the stream by the name's extension: ".b" (ABMP7, 6 or
  // 5), ".bmp", ".jpg", ".png". False, the object reset, for anything else or
  // a file that does not read.
  bool Load(base::ByteReader& in, std::string_view name);
  // One empty motion, no picture, no sounds; clocks and waits 0, volume 255.
  void Reset();

  // Out of range is ignored.
  void SelectMotion(int index);
  // The motion's index (letter case ignored), or -1.
  int FindMotion(std::string_view name) const;
  int CurrentMotion() const { return current_; }
  int MotionCount() const { return static_cast<int>(motions_.size()); }
  const AnimationMotion& Motion(int index) const { return motions_[static_cast<size_t>(index)]; }

  // Moves the clocks on in slices of at most 50 ms, then collects the hit areas.
  void Advance(int32_t ms);
  // Posts the layers of the current motion as placed at (x, y, priority) with
  // the opacity (0..255); layers named "*message" are further faded by
  // `messageOpacity`.
  void Post(TARGB8888CellDraw& compositor, float x, float y, float priority, int opacity,
            int messageOpacity = 255);
  // Every layer of the current motion has reached its last key.
  bool IsFinished() const;

  // One layer filling the rectangle with the colour, looping.
  void SetSolidColour(const RectI& rect, uint32_t colour);
  // Takes the picture of another file (any kind Load reads), keeping these
  // motions. A different size scales every key's source rectangle, and the
  // destination size of every layer after the first. False when it does not load.
  bool ReplaceImage(base::ByteReader& in, std::string_view name);

  void SetSound(base::SoundPlayer* sound) { sound_ = sound; }
  void SetLevelChannel(int32_t channel) { levelChannel_ = channel; }
  void SetPlayChannel(int32_t channel) { playChannel_ = channel; }
  void SetVolume(int32_t volume) { volume_ = volume; }
  int32_t Volume() const { return volume_; }
  void SetShowHitAreas(bool on) { showHitAreas_ = on; }

  const std::string& Name() const { return name_; }
  const TARGB8888* Image() const { return image_.get(); }
  // A copy of `picture` becomes this object's own picture, in place of the
  // cached one.
  void SetOwnImage(const TARGB8888& picture);
  const THitStack& HitStack() const { return hitStack_; }
  // An area of the owner's, on top of those the keys collected.
  void PushHitArea(const THitStack::Entry& area) { hitStack_.Push(area); }

  // The layer clocks and waits, as a layer saves and restores them.
  Clocks& LayerClocks() { return clocks_; }
  Clocks& LayerWaits() { return waits_; }
  const Clocks& LayerClocks() const { return clocks_; }
  const Clocks& LayerWaits() const { return waits_; }

 private:
  struct SoundSlot {
    std::string name;
    std::shared_ptr<const base::Bytes> source;
    std::shared_ptr<const base::Bytes> decoded;
  };
  struct Placed;

  bool LoadAnimationFile(base::ByteReader& in);
  bool LoadStill(base::ByteReader& in);
  void TakeImage(std::shared_ptr<TARGB8888> image);
  void ReleaseImage();
  void ReleaseSounds();
  void InstallSound(SoundSlot& slot, std::span<const uint8_t> data);
  void ScaleSources(int oldWidth, int oldHeight);

  AnimationMotion& CurrentMotionData() { return motions_[static_cast<size_t>(current_)]; }
  void AdvanceSlice(int32_t slice);
  // False when the slice must stop here (the motion changed).
  bool AdvanceLayer(int layer, int32_t slice);
  int KeyAt(const AnimationLayer& layer, int32_t clock) const;
  // The first key later than the clock; kKeys when there is none.
  static int NextKey(const AnimationLayer& layer, int32_t clock);
  void EnterKey(int layer, const AnimationKey& key);
  void ForEachPlacedLayer(float x, float y, float priority, int opacity, int messageOpacity,
                          bool hitOnly, TARGB8888CellDraw* compositor);
  Placed PlaceLayer(const AnimationLayer& layer, int index);
  void PostLayer(TARGB8888CellDraw& compositor, const Placed& placed, const Placed* previous);
  void CollectHitAreas();

  base::SoundPlayer* sound_;
  std::string name_;
  std::shared_ptr<TARGB8888> image_;
  bool imageCached_ = false;
  std::vector<AnimationMotion> motions_;
  int current_ = 0;
  int lastMotion_ = -1;
  Clocks clocks_{};
  Clocks waits_{};
  std::array<int, kMaxLayers> lastKeys_{};
  std::vector<SoundSlot> sounds_;
  int32_t levelChannel_ = 0;
  int32_t playChannel_ = 0;
  int32_t volume_ = 255;
  THitStack hitStack_;
  bool showHitAreas_ = false;
};

}  // namespace mavu::imaging
