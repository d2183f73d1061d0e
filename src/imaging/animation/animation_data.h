#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::imaging {

// What a key asks the compositor to do with its layer.
enum class KeyDrawType : uint8_t {
  kNone = 0,
  kAlpha = 1,
  kAdd = 2,
  kMultiply = 3,
  kExclusion = 4,
  kColourAdd = 5,
  kColourMultiply = 6,
  kCopy = 7,
  kFillBlend = 8,
  kAlphaStretched = 9,
  kAddStretched = 10,
  kMultiplyStretched = 11,
  kExclusionStretched = 12,
  kCopyStretched = 13,
  kSolid = 14,  // a blend fill, as 8
  kFillAdd = 15,
  kFillMultiply = 16,
  kFillInvert = 17,
  kAfterimage = 18,
  kHitArea = 19,
  kMasked = 20,
};

// What happens when a layer's clock reaches a key (A = the key's argument).
enum class KeyAction : uint8_t {
  kNone = 0,
  kJump = 1,               // to key A, keeping the time past this key
  kStartMark = 2,          // a selected motion starts the layer here
  kRandomWaitSeconds = 3,  // 0 .. A x 1000 - 1 ms
  kJumpWhileSounding = 4,  // as kJump while the sound channel's level is above 32
  kSwitchMotion = 5,       // to motion A
  kWaitSeconds = 6,        // A x 1000 ms
  kEnd = 7,                // every layer to its last key
  kPlaySound = 8,          // embedded sound A
  kRandomWaitHundredths = 9,
  kWaitHundredths = 10,
};

// One key of a layer: a 32-byte record, the same in memory and in files.
struct AnimationKey {
  static constexpr size_t kBytes = 32;

  int32_t time = 0;                      // ms from the motion's start, ascending
  std::array<int16_t, 4> source{};       // left, top, right, bottom in the image
  std::array<int16_t, 5> destination{};  // left, top, right, bottom, priority
  uint32_t colour = 0xFFFFFFFF;          // its alpha is the layer's opacity
  uint8_t drawType = 0;                  // KeyDrawType
  uint8_t sourceMode = 0;                // interpolation of the source rectangle
  uint8_t destinationMode = 0;           // of the destination rectangle and priority
  uint8_t colourMode = 0;                // of the colour
  uint8_t action = 0;                    // KeyAction
  uint8_t argument = 0;

  bool operator==(const AnimationKey&) const = default;
  void Write(base::ByteWriter& out) const;
  static AnimationKey Read(base::ByteReader& in);
};

// One layer: a name and 32 keys, a 1056-byte record.
struct AnimationLayer {
  static constexpr int kKeys = 32;
  static constexpr size_t kNameField = 32;
  static constexpr size_t kBytes = kNameField + kKeys * AnimationKey::kBytes;

  std::string name;
  std::array<AnimationKey, kKeys> keys;

  // "Layer<n>" with key k at k x 1000 ms and nothing else set.
  static AnimationLayer Fresh(int number);
  bool operator==(const AnimationLayer&) const = default;
  void Write(base::ByteWriter& out) const;
  static AnimationLayer Read(base::ByteReader& in);
};

// A named motion of up to 64 layers; layer 0 frames the others.
struct AnimationMotion {
  static constexpr int kMaxLayers = 64;
  static constexpr size_t kNameField = 32;
  static constexpr int kFreshLayers = 4;

  std::string name;
  std::vector<AnimationLayer> layers;

  static AnimationMotion Fresh();
  bool operator==(const AnimationMotion&) const = default;
};

}  // namespace mavu::imaging
