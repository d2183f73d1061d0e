#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::shell {

// Play states as records and scripts see them.
enum class PlayState : uint8_t { kNoFile = 0, kStopped = 1, kPlayingOnce = 2, kPlayingLooped = 3 };

inline constexpr size_t kSoundNameField = 128;

// An effect channel as saved: 142 bytes.
//   0 128 file name (length byte, then at most 127 bytes)   128 4 volume 0..255
// 132   1 play state    133 4 class    137 4 load parameter    141 1 built from memory
struct EffectRecord {
  static constexpr size_t kSize = 142;

  std::string name;
  int32_t volume = 255;
  PlayState state = PlayState::kNoFile;
  int32_t soundClass = 0;
  int32_t parameter = 0;
  bool fromMemory = false;

  void Write(base::ByteWriter& out) const;
  static EffectRecord Read(base::ByteReader& in);
};

// A stream channel as saved: 1189 bytes.
//    0  128 file name    128 4 volume 0..255    132 4 fade ms    136 4 silence threshold
//  140    4 seek ms      144 1 play state       145 1024 256 f32 equaliser bin gains
// 1169    4 class       1173 4 load parameter  1177 4 f32 position in seconds
// 1181    8 reserved, kept as found
struct StreamRecord {
  static constexpr size_t kSize = 1189;
  static constexpr size_t kBins = 256;

  std::string name;
  int32_t volume = 255;
  int32_t fadeMs = 0;
  int32_t silenceThreshold = 0;
  int32_t seekMs = 0;
  PlayState state = PlayState::kNoFile;
  std::array<float, kBins> bins = FlatBins();
  int32_t soundClass = 0;
  int32_t parameter = 0;
  float positionSeconds = 0;
  std::array<uint8_t, 8> reserved{};

  static std::array<float, kBins> FlatBins();
  void Write(base::ByteWriter& out) const;
  static StreamRecord Read(base::ByteReader& in);
};

}  // namespace mavu::shell
