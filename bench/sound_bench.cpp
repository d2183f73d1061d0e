// One second of game audio: 8 music streams (44100 Hz stereo Ogg Vorbis,
// 10 s each, looping) and 15 looping effects. The floor is libvorbisfile alone
// decoding the 8 streams from memory and summing them; the engine plays the
// same streams through TOggPlayer with the equaliser on and pulls the mix,
// effects included, through TDDSD7::Render in 1024-frame callbacks, as the
// audio thread does. The "core%" counter is the CPU time per second of audio
// in percent of one core.
#include <benchmark/benchmark.h>
#include <time.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/clock.h"
#include "shell/sound/dd_sound_device.h"
#include "shell/sound/ogg_player.h"
#include "shell/sound/whole_sound.h"
#include "support/sound/ogg_maker.h"

namespace {

using mavu::base::Bytes;
using mavu::shell::TDDSD7;
using mavu::shell::TOggPlayer;

constexpr size_t kStreams = TOggPlayer::kChannels;
constexpr int32_t kEffects = 15;
constexpr size_t kFramesPerSecond = 44100;
constexpr size_t kCallbackFrames = 1024;
constexpr size_t kStreamLength = 0x20000;  // the front's default stream buffer
constexpr int kBigEndian = 0;

// A tone with noise on top: a bit rate nearer music's than a pure tone's.
Bytes MusicLike(double frequency, double seconds) {
  return mavu::test::MakeOgg(
      {.seconds = seconds, .frequency = frequency, .amplitude = 0.15, .noise = 0.05});
}

const std::vector<Bytes>& Streams() {
  static const std::vector<Bytes> streams = [] {
    std::vector<Bytes> made;
    for (size_t i = 0; i < kStreams; ++i) made.push_back(MusicLike(220.0 * (i + 2) / 2, 10.0));
    return made;
  }();
  return streams;
}

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs `oneSecond` (one second of audio) per iteration; "core%" is its CPU time
// in percent of one core.
template <typename OneSecond>
void RunAudioSeconds(benchmark::State& state, OneSecond oneSecond) {
  const double start = ThreadCpuSeconds();
  for (auto _ : state) oneSecond();
  state.counters["core%"] =
      100 * (ThreadCpuSeconds() - start) / static_cast<double>(state.iterations());
}

// One stream read by libvorbisfile straight from memory.
class PlainStream {
 public:
  explicit PlainStream(const Bytes& file) : file_(file) {
    const ov_callbacks callbacks{Read, Seek, nullptr, Tell};
    if (ov_open_callbacks(this, &vf_, nullptr, 0, callbacks) != 0) {
      throw std::runtime_error("not an Ogg Vorbis stream");
    }
  }
  ~PlainStream() { ov_clear(&vf_); }
  PlainStream(const PlainStream&) = delete;
  PlainStream& operator=(const PlainStream&) = delete;

  // Fills `out` with 16-bit stereo, from the start again at the end.
  void Decode(std::span<int16_t> out) {
    auto* bytes = reinterpret_cast<char*>(out.data());
    const size_t total = out.size_bytes();
    for (size_t done = 0; done < total;) {
      int section = 0;
      const long got =
          ov_read(&vf_, bytes + done, static_cast<int>(total - done), kBigEndian, 2, 1, &section);
      if (got < 0) throw std::runtime_error("decoding failed");
      if (got == 0) ov_raw_seek(&vf_, 0);
      done += static_cast<size_t>(got);
    }
  }

 private:
  static size_t Read(void* out, size_t size, size_t count, void* self) {
    auto* s = static_cast<PlainStream*>(self);
    const size_t items = size == 0 ? 0 : std::min(count, (s->file_.size() - s->pos_) / size);
    std::memcpy(out, s->file_.data() + s->pos_, items * size);
    s->pos_ += items * size;
    return items;
  }
  static int Seek(void* self, ogg_int64_t offset, int whence) {
    auto* s = static_cast<PlainStream*>(self);
    const auto base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s->pos_ : s->file_.size();
    const auto target = static_cast<int64_t>(base) + offset;
    if (target < 0 || target > static_cast<int64_t>(s->file_.size())) return -1;
    s->pos_ = static_cast<size_t>(target);
    return 0;
  }
  static long Tell(void* self) { return static_cast<long>(static_cast<PlainStream*>(self)->pos_); }

  const Bytes& file_;
  size_t pos_ = 0;
  OggVorbis_File vf_{};
};

void BM_VorbisfileFloor(benchmark::State& state) {
  std::vector<std::unique_ptr<PlainStream>> streams;
  for (const Bytes& file : Streams()) streams.push_back(std::make_unique<PlainStream>(file));
  std::vector<int16_t> block(kFramesPerSecond * 2);
  std::vector<int32_t> sum(block.size());
  std::vector<int16_t> mix(block.size());
  RunAudioSeconds(state, [&] {
    std::fill(sum.begin(), sum.end(), 0);
    for (auto& stream : streams) {
      stream->Decode(block);
      for (size_t i = 0; i < block.size(); ++i) sum[i] += block[i];
    }
    std::transform(sum.begin(), sum.end(), mix.begin(),
                   [](int32_t s) { return static_cast<int16_t>(std::clamp(s, -32768, 32767)); });
    benchmark::DoNotOptimize(mix.data());
  });
}
BENCHMARK(BM_VorbisfileFloor)->Unit(benchmark::kMillisecond);

// Effects of 0.3 to 1.7 s, as a game's looping ambience and short sounds.
std::vector<mavu::shell::PcmBuffer> Effects() {
  std::vector<mavu::shell::PcmBuffer> effects;
  for (int32_t i = 0; i < kEffects; ++i) {
    std::string error;
    effects.push_back(
        mavu::shell::DecodeWholeSound(MusicLike(300.0 + 40 * i, 0.3 + 0.1 * i), error));
    if (effects.back() == nullptr) throw std::runtime_error(error);
  }
  return effects;
}

void BM_EngineMix(benchmark::State& state) {
  mavu::base::SimulatedClock clock;
  TOggPlayer player(kStreamLength, clock);
  TDDSD7 device(kStreamLength, player);
  constexpr std::array<int32_t, 8> kBands = {255, 230, 200, 170, 170, 200, 230, 255};
  for (size_t i = 0; i < kStreams; ++i) {
    mavu::shell::TOggData& decoder = player.Decoder(i);
    if (const std::string error = decoder.Open(Streams()[i]); !error.empty()) {
      throw std::runtime_error(error);
    }
    decoder.SetEqualizer(kBands, 0);
    decoder.Play(true);
  }
  const std::vector<mavu::shell::PcmBuffer> effects = Effects();
  for (int32_t i = 0; i < kEffects; ++i) {
    device.SetBuffer(i, effects[static_cast<size_t>(i)]);
    device.SetVolume(i, -600);
    device.Play(i, true);
  }
  std::vector<int16_t> callback(kCallbackFrames * 2);
  RunAudioSeconds(state, [&] {
    for (size_t done = 0; done < kFramesPerSecond; done += kCallbackFrames) {
      const size_t frames = std::min(kCallbackFrames, kFramesPerSecond - done);
      device.Render(std::span(callback).first(frames * 2));
    }
    benchmark::DoNotOptimize(callback.data());
  });
}
BENCHMARK(BM_EngineMix)->Unit(benchmark::kMillisecond);

}  // namespace
