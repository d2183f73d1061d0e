#include "imaging/animation/animation_file.h"

#include <array>
#include <string_view>

#include "base/byte_writer.h"
#include "resource/bpe.h"

namespace mavu::imaging {
namespace {

constexpr size_t kMagicBytes = 8;
constexpr size_t kMotionNameField = AnimationMotion::kNameField;
// An ABMP5/6 motion record: the name and eight layers.
constexpr size_t kOldMotionBytes = kMotionNameField + 8 * AnimationLayer::kBytes;
constexpr int kMaxCount = 255;

constexpr std::array<std::string_view, 3> kMagics = {"ABMP5", "ABMP6", "ABMP7"};

[[noreturn]] void Fail(const std::string& why) {
  throw AnimationFileError("animation file: " + why);
}

// The version the magic names (5, 6, 7), or 0.
int VersionOf(std::string_view field) {
  const std::string_view magic = field.substr(0, field.find('\0'));
  for (size_t i = 0; i < kMagics.size(); ++i) {
    if (magic == kMagics[i]) return static_cast<int>(5 + i);
  }
  return 0;
}

std::vector<AnimationLayer> ReadLayers(base::ByteReader& in, size_t count) {
  if (count > static_cast<size_t>(AnimationMotion::kMaxLayers)) {
    Fail("a motion of " + std::to_string(count) + " layers (64 at most)");
  }
  if (count > in.Remaining() / AnimationLayer::kBytes) Fail("layers past the end of the motions");
  std::vector<AnimationLayer> layers;
  layers.reserve(count);
  for (size_t i = 0; i < count; ++i) layers.push_back(AnimationLayer::Read(in));
  return layers;
}

std::vector<AnimationMotion> ReadMotions(base::ByteReader& in, size_t count, bool counted) {
  const size_t least = counted ? kMotionNameField + 4 : kOldMotionBytes;
  if (count > in.Remaining() / least) Fail("more motions than the file holds");
  std::vector<AnimationMotion> motions(count);
  for (AnimationMotion& motion : motions) {
    motion.name = in.ShortString(kMotionNameField, true);
    const size_t layers = counted ? in.U32() : AnimationFile::kOldLayerCount;
    motion.layers = ReadLayers(in, layers);
  }
  return motions;
}

std::vector<AnimationMotion> ReadPackedMotions(base::ByteReader& in, size_t count, bool counted) {
  const uint32_t length = in.U32();
  if (length > in.Remaining()) Fail("a packed motion block past the end of the file");
  std::optional<base::Bytes> unpacked = resource::BpeExpand(in.Span(length));
  if (!unpacked) Fail("a packed motion block that does not unpack");
  base::ByteReader block(*unpacked);
  return ReadMotions(block, count, counted);
}

std::vector<EmbeddedSound> ReadSounds(base::ByteReader& in, size_t count) {
  std::vector<EmbeddedSound> sounds(count);
  for (EmbeddedSound& sound : sounds) {
    sound.name = in.ShortString(EmbeddedSound::kNameField, true);
    const uint32_t length = in.U32();
    if (length > in.Remaining()) Fail("sound " + sound.name + " past the end of the file");
    sound.data = in.Take(length);
  }
  return sounds;
}

AnimationFile ReadBody(base::ByteReader& in, int version) {
  AnimationFile file;
  file.version = version;
  const uint8_t motions = in.U8();
  file.hasImage = in.U8() == 1;
  file.imageFormat = in.U8();
  const uint8_t sounds = in.U8();
  if (version == 5) {
    file.motions = ReadMotions(in, motions, false);
  } else {
    file.motions = ReadPackedMotions(in, motions, version == 7);
  }
  const uint32_t imageLength = in.U32();
  if (imageLength > in.Remaining()) Fail("an image past the end of the file");
  file.image = in.Take(imageLength);
  file.sounds = ReadSounds(in, sounds);
  return file;
}

void CheckCount(size_t count, int most, const char* what) {
  if (count > static_cast<size_t>(most)) {
    Fail(std::to_string(count) + " " + what + " (" + std::to_string(most) + " at most)");
  }
}

}  // namespace

std::optional<AnimationFile> ReadAnimationFile(base::ByteReader& in) {
  const size_t start = in.Position();
  if (in.Remaining() < kMagicBytes) return std::nullopt;
  const int version = VersionOf(in.Text(kMagicBytes));
  if (version == 0) {
    in.Seek(start);
    return std::nullopt;
  }
  try {
    return ReadBody(in, version);
  } catch (const AnimationFileError&) {
    throw;
  } catch (const base::FormatError& e) {
    Fail(e.what());
  }
}

base::Bytes WriteAnimationFile(const AnimationFile& file) {
  CheckCount(file.motions.size(), kMaxCount, "motions");
  CheckCount(file.sounds.size(), kMaxCount, "sounds");
  base::ByteWriter motions;
  for (const AnimationMotion& motion : file.motions) {
    CheckCount(motion.layers.size(), AnimationMotion::kMaxLayers, "layers");
    motions.ShortString(motion.name, kMotionNameField);
    motions.U32(static_cast<uint32_t>(motion.layers.size()));
    for (const AnimationLayer& layer : motion.layers) layer.Write(motions);
  }
  const base::Bytes packed = resource::BpeCompress(motions.Data());
  base::ByteWriter out;
  out.FixedText(kMagics[2], kMagicBytes);
  out.U8(static_cast<uint8_t>(file.motions.size()));
  out.U8(file.hasImage ? 1 : 0).U8(file.imageFormat);
  out.U8(static_cast<uint8_t>(file.sounds.size()));
  out.U32(static_cast<uint32_t>(packed.size())).Append(packed);
  out.U32(static_cast<uint32_t>(file.image.size())).Append(file.image);
  for (const EmbeddedSound& sound : file.sounds) {
    out.ShortString(sound.name, EmbeddedSound::kNameField);
    out.U32(static_cast<uint32_t>(sound.data.size())).Append(sound.data);
  }
  return out.Take();
}

}  // namespace mavu::imaging
