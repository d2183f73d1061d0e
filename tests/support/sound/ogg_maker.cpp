#include "support/sound/ogg_maker.h"

#include <vorbis/vorbisenc.h>
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

#include "base/byte_writer.h"

namespace mavu::test {

namespace {

constexpr float kQuality = 0.5f;
constexpr int32_t kChunkFrames = 1024;
constexpr size_t kLoopEntries = 16;
constexpr size_t kPageHeader = 27;  // up to the segment count
constexpr int kBigEndian = std::endian::native == std::endian::big ? 1 : 0;

// libvorbisenc's analysis chain, writing Ogg pages into memory.
class VorbisEncoder {
 public:
  explicit VorbisEncoder(const ToneSpec& spec) {
    vorbis_info_init(&info_);
    if (vorbis_encode_init_vbr(&info_, spec.channels, spec.rate, kQuality) != 0) {
      vorbis_info_clear(&info_);
      throw std::invalid_argument("libvorbisenc refuses " + std::to_string(spec.channels) +
                                  " channels at " + std::to_string(spec.rate) + " Hz");
    }
    vorbis_comment_init(&comment_);
    vorbis_analysis_init(&dsp_, &info_);
    vorbis_block_init(&dsp_, &block_);
    ogg_stream_init(&stream_, 1);
    WriteHeaders();
  }
  ~VorbisEncoder() {
    ogg_stream_clear(&stream_);
    vorbis_block_clear(&block_);
    vorbis_dsp_clear(&dsp_);
    vorbis_comment_clear(&comment_);
    vorbis_info_clear(&info_);
  }
  VorbisEncoder(const VorbisEncoder&) = delete;
  VorbisEncoder& operator=(const VorbisEncoder&) = delete;

  // One buffer per channel, room for `frames`.
  float** Buffer(int32_t frames) { return vorbis_analysis_buffer(&dsp_, frames); }
  void Wrote(int32_t frames) {
    vorbis_analysis_wrote(&dsp_, frames);
    EncodeReadyBlocks();
  }
  base::Bytes Finish() {
    Wrote(0);
    FlushPages();
    return file_.Take();
  }

 private:
  void WriteHeaders() {
    ogg_packet id, comments, codebooks;
    vorbis_analysis_headerout(&dsp_, &comment_, &id, &comments, &codebooks);
    for (ogg_packet* packet : {&id, &comments, &codebooks}) ogg_stream_packetin(&stream_, packet);
    FlushPages();  // audio starts on a page of its own
  }
  void EncodeReadyBlocks() {
    while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
      vorbis_analysis(&block_, nullptr);
      vorbis_bitrate_addblock(&block_);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
        ogg_stream_packetin(&stream_, &packet);
        ogg_page page;
        while (ogg_stream_pageout(&stream_, &page) != 0) Append(page);
      }
    }
  }
  void FlushPages() {
    ogg_page page;
    while (ogg_stream_flush(&stream_, &page) != 0) Append(page);
  }
  void Append(const ogg_page& page) {
    file_.Append({page.header, static_cast<size_t>(page.header_len)});
    file_.Append({page.body, static_cast<size_t>(page.body_len)});
  }

  vorbis_info info_;
  vorbis_comment comment_;
  vorbis_dsp_state dsp_;
  vorbis_block block_;
  ogg_stream_state stream_;
  base::ByteWriter file_;
};

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
  VorbisEncoder encoder(spec);
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

base::Bytes WithLoopHeader(std::span<const LoopEntry> entries, const base::Bytes& ogg) {
  if (entries.size() > kLoopEntries) throw std::invalid_argument("the loop block has 16 entries");
  base::ByteWriter out;
  out.Text("ALPHAOGG");
  for (const LoopEntry& e : entries) {
    out.U32(std::bit_cast<uint32_t>(e.target)).U32(std::bit_cast<uint32_t>(e.trigger)).I32(e.count);
  }
  out.Zeros((kLoopEntries - entries.size()) * 12);
  return out.Append(ogg).Take();
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
