#pragma once

#include <string>
#include <vector>

#include "base/byte_writer.h"
#include "imaging/animation/animation_file.h"
#include "resource/bpe.h"

namespace mavu::test {

// The motion records of an animation file: each a 32-byte name field, with
// `counted` a u32 layer count, then the 1056-byte layer records.
inline base::Bytes MotionRecords(const std::vector<imaging::AnimationMotion>& motions,
                                 bool counted) {
  base::ByteWriter out;
  for (const imaging::AnimationMotion& motion : motions) {
    out.ShortString(motion.name, 32);
    if (counted) out.U32(static_cast<uint32_t>(motion.layers.size()));
    for (const imaging::AnimationLayer& layer : motion.layers) layer.Write(out);
  }
  return out.Take();
}

// A u32 length and the bytes packed.
inline base::ByteWriter& Packed(base::ByteWriter& out, const base::Bytes& bytes) {
  const base::Bytes packed = resource::BpeCompress(bytes);
  return out.U32(static_cast<uint32_t>(packed.size())).Append(packed);
}

// `file` laid out field by field as its version has it, apart from
// WriteAnimationFile: version 5 stores the motion records as they are, 6 packs
// them, 7 packs them with a layer count after each name. Versions 5 and 6
// expect eight layers in every motion.
inline base::Bytes HandMadeAnimation(const imaging::AnimationFile& file) {
  base::ByteWriter out;
  out.FixedText("ABMP" + std::to_string(file.version), 8);
  out.U8(static_cast<uint8_t>(file.motions.size())).U8(file.hasImage ? 1 : 0);
  out.U8(file.imageFormat).U8(static_cast<uint8_t>(file.sounds.size()));
  const base::Bytes records = MotionRecords(file.motions, file.version == 7);
  if (file.version == 5) {
    out.Append(records);
  } else {
    Packed(out, records);
  }
  out.U32(static_cast<uint32_t>(file.image.size())).Append(file.image);
  for (const imaging::EmbeddedSound& sound : file.sounds) {
    out.ShortString(sound.name, 32)
        .U32(static_cast<uint32_t>(sound.data.size()))
        .Append(sound.data);
  }
  return out.Take();
}

}  // namespace mavu::test
