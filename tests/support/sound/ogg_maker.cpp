#include "support/sound/ogg_maker.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>

#include "vorbis_encoder.h"

namespace mavu::test {

namespace {

constexpr float kQuality = 0.5f;
constexpr int32_t kChunkFrames = 1024;
constexpr size_t kPageHeader = 27;  // up to the segment count
constexpr int kBigEndian = std::endian::native == std::endian::big ? 1 : 0;

float ToneSample(const ToneSpec& spec, int64_t frame, int64_t silentFrames) {
  if (frame < silentFrames || spec.frequency == 0) return 0;
  const double t = static_cast<double>(frame - silentFrames) / spec.rate;
  return static_cast<float>(spec.amplitude * std::sin(2 * std::numbers::pi * spec.frequency * t));
}

// Reproducible noise, different on each side.
class Noise {
 public:
  explicit Noise(double amplitude) : amplitude_(static_cast<float>(amplitude)) {}
  float Next() { return amplitude_ == 0 ? 0 : amplitude_ * spread_(engine_); }

 private:
  float amplitude_;
  std::minstd_rand engine_;
  std::uniform_real_distribution<float> spread_{-1.0f, 1.0f};
};

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
  Noise noise(spec.noise);
  for (int64_t start = 0; start < totalFrames; start += kChunkFrames) {
    const auto frames = static_cast<int32_t>(std::min<int64_t>(kChunkFrames, totalFrames - start));
    float** channels = encoder.Buffer(frames);
    for (int32_t i = 0; i < frames; ++i) {
      const float sample = ToneSample(spec, start + i, silentFrames);
      for (int32_t c = 0; c < spec.channels; ++c) channels[c][i] = sample + noise.Next();
    }
    encoder.Wrote(frames);
  }
  return encoder.Finish();
}

void RepairPageChecksums(base::Bytes& file) {
  for (size_t at = 0; at + kPageHeader <= file.size(); ++at) {
    if (std::memcmp(file.data() + at, "OggS", 4) != 0) continue;
    const size_t segments = file[at + kPageHeader - 1];
    const size_t headerBytes = kPageHeader + segments;
    if (at + headerBytes > file.size()) return;
    size_t bodyBytes = 0;
    for (size_t i = 0; i < segments; ++i) bodyBytes += file[at + kPageHeader + i];
    if (at + headerBytes + bodyBytes > file.size()) continue;
    ogg_page page{file.data() + at, static_cast<long>(headerBytes), file.data() + at + headerBytes,
                  static_cast<long>(bodyBytes)};
    ogg_page_checksum_set(&page);
  }
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
