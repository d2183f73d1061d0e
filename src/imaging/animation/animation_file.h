#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/bytes.h"
#include "imaging/animation/animation_data.h"

namespace mavu::imaging {

// Damage in an animation file whose magic was recognised.
class AnimationFileError : public base::FormatError {
 public:
  using FormatError::FormatError;
};

// The picture formats an animation file can embed.
enum class EmbeddedImageFormat : uint8_t { kBmp = 0, kJpeg = 1, kPng = 2, kPngToo = 3 };

struct EmbeddedSound {
  static constexpr size_t kNameField = 32;

  std::string name;
  base::Bytes data;
  bool operator==(const EmbeddedSound&) const = default;
};

// The contents of a ".b" file: motions, the embedded picture and sounds.
//
//   header, 12 bytes: magic "ABMP7" (or 5, 6) NUL-padded to 8; u8 motion
//     count; u8 image flag; u8 image format; u8 sound count
//   ABMP7: u32 L, then L bytes of a byte-pair packed block holding, per
//     motion, a 32-byte name field, u32 layer count N, N layer records
//   ABMP6: the same block, but each motion is a name field and 8 layers
//   ABMP5: no packed block; the motions (name and 8 layers each) follow directly
//   then: u32 image length and the image; per sound a 32-byte name field,
//     u32 length and the data.
struct AnimationFile {
  static constexpr int kVersion7 = 7;
  static constexpr int kOldLayerCount = 8;

  int version = kVersion7;
  std::vector<AnimationMotion> motions;
  bool hasImage = false;
  uint8_t imageFormat = 0;
  base::Bytes image;
  std::vector<EmbeddedSound> sounds;

  bool operator==(const AnimationFile&) const = default;
};

// Reads an "ABMP7", "ABMP6" or "ABMP5" file from the reader's position. None
// when the magic is none of them (the position is then where it was);
// AnimationFileError for a file that is damaged or asks for more than its
// bytes can hold (more than 64 layers in a motion included).
std::optional<AnimationFile> ReadAnimationFile(base::ByteReader& in);

// The file as "ABMP7". Throws AnimationFileError for contents that format
// cannot hold (more than 255 motions or sounds, more than 64 layers).
base::Bytes WriteAnimationFile(const AnimationFile& file);

}  // namespace mavu::imaging
