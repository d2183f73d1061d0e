#include "support/sound/ogg_maker.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>
#include <string>

#include "vorbis_encoder.h"

namespace mavu::test {

namespace {

constexpr float kQuality = 0.5f;
constexpr int32_t kChunkFrames = 1024;
constexpr int kBigEndian = std::endian::native == std::endian::big ? 1 : 0;

float ToneSample(const ToneSpec& spec, int64_t frame, int64_t silentFrames) {
  if (frame < silentFrames || spec.frequency == 0) return 0;
  const double t = static_cast<double>(frame - silentFrames) / spec.rate;
  return static_cast<float>(spec.amplitude * std::sin(2 * std::numbers::pi * spec.frequency * t));
}

struct MemorySource {
  std::span<const uint8_t> file;
  size_t at = 0;
};

size_t ReadMemory(void* to, size_t size, size_t count, void* source) {
  auto& in = *static_cast<MemorySource*>(source);
  const size_t bytes = std::min(size * count, in.file.size() - in.at);
  std::memcpy(to, in.file.data() + in.at, bytes);
  in.at += bytes;
  return size == 0 ? 0 : bytes / size;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
  auto& in = *static_cast<MemorySource*>(source);
  const int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<int64_t>(in.at)
                                            : static_cast<int64_t>(in.file.size());
  const int64_t to = base + offset;
  if (to < 0 || to > static_cast<int64_t>(in.file.size())) return -1;
  in.at = static_cast<size_t>(to);
  return 0;
}

long TellMemory(void* source) {
  return static_cast<long>(static_cast<MemorySource*>(source)->at);
}

}  // namespace

base::Bytes MakeOgg(const ToneSpec& spec) {
  tools::VorbisEncoder encoder(spec.channels, spec.rate, kQuality, spec.serial);
  const auto silentFrames = std::llround(spec.leadingSilence * spec.rate);
  const auto totalFrames = silentFrames + std::llround(spec.seconds * spec.rate);
  for (int64_t start = 0; start < totalFrames; start += kChunkFrames) {
    const auto frames = static_cast<int32_t>(std::min<int64_t>(kChunkFrames, totalFrames - start));
    float** channels = encoder.Buffer(frames);
    for (int32_t i = 0; i < frames; ++i) {
      const float sample = ToneSample(spec, start + i, silentFrames);
      for (int32_t c = 0; c < spec.channels; ++c) channels[c][i] = sample;
    }
    encoder.Wrote(frames);
  }
  return encoder.Finish();
}

DecodedOgg DecodeOgg(std::span<const uint8_t> file) {
  MemorySource source{file};
  OggVorbis_File vf;
  const ov_callbacks callbacks{ReadMemory, SeekMemory, nullptr, TellMemory};
  if (ov_open_callbacks(&source, &vf, nullptr, 0, callbacks) != 0) {
    throw std::runtime_error("not an Ogg Vorbis file");
  }
  const vorbis_info* info = ov_info(&vf, -1);
  DecodedOgg decoded{static_cast<int32_t>(info->rate), info->channels, {}};
  char buffer[8192];
  int section = 0;
  long got = 0;
  while ((got = ov_read(&vf, buffer, sizeof buffer, kBigEndian, 2, 1, &section)) > 0) {
    const size_t at = decoded.samples.size();
    decoded.samples.resize(at + static_cast<size_t>(got) / 2);
    std::memcpy(decoded.samples.data() + at, buffer, static_cast<size_t>(got));
  }
  ov_clear(&vf);
  if (got < 0) throw std::runtime_error("damaged Ogg Vorbis data");
  return decoded;
}

std::string FreedesktopSound(std::string_view name) {
  return "/usr/share/sounds/freedesktop/stereo/" + std::string(name);
}

}  // namespace mavu::test
