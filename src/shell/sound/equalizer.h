#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

struct fftwf_plan_s;

namespace mavu::shell {

// The equaliser of one stream channel: 256 bin gains (1.0 = unchanged) that
// ramp toward their targets, applied to 44100 Hz stereo frames by fast
// convolution. The left and right samples of a frame form one complex value,
// so one transform filters both sides; even gains act on the positive
// frequencies from the constant component upward, odd gains on the negative
// ones from the top down.
//
// Real gains make a filter centred on the frame it computes, which needs the
// 64 frames after it as much as the 64 before. The sound therefore comes out
// kLatencyFrames late, flat or not, so that the last frames of a block are
// filtered with the next block's start instead of clicking at every block.
//
// Construction and destruction plan and free the transforms, which is not
// thread-safe: do both on one thread. Process never allocates and may run on
// the audio thread; the owner serialises it with the setters.
class Equalizer {
 public:
  static constexpr size_t kBins = 256;
  static constexpr size_t kLatencyFrames = 64;

  Equalizer();
  ~Equalizer();
  Equalizer(const Equalizer&) = delete;
  Equalizer& operator=(const Equalizer&) = delete;

  // Spreads 4, 8 or 16 band values (0-255, 255 = unchanged, lowest band
  // first) over the bins and ramps to them over `ms` milliseconds (at once
  // below 1). Any other count is refused and changes nothing.
  bool SetBands(std::span<const int32_t> bandGains, int32_t ms);
  // Restores saved gains without a ramp.
  void SetGainsNow(std::span<const float, kBins> gains);
  std::array<float, kBins> CurrentGains() const;
  // Flat gains and no remembered frames.
  void Reset();

  // Whether some bin is, or is heading, noticeably away from 1.
  bool Active() const;
  // Filters interleaved 16-bit stereo frames in place: the block comes back
  // with the last kLatencyFrames of the earlier calls in front and its own
  // last kLatencyFrames held back for the next call.
  void Process(std::span<int16_t> interleavedStereo);

 private:
  struct Bin {
    float current = 1;
    float target = 1;
    float step = 0;
  };
  struct FftwDeleter {
    void operator()(fftwf_plan_s* plan) const;
    void operator()(std::complex<float>* buffer) const;
  };
  using Plan = std::unique_ptr<fftwf_plan_s, FftwDeleter>;
  using Buffer = std::unique_ptr<std::complex<float>, FftwDeleter>;

  // Each transform holds the frames that the last one carried (the look-behind
  // and the look-ahead of its first new frame) and up to kStride new frames.
  static constexpr size_t kCarried = 2 * kLatencyFrames;
  static constexpr size_t kStride = kBins - kCarried;

  void ProcessStride(std::span<int16_t> samples, size_t pos, size_t count);
  void Advance(size_t frames);
  void Filter();

  std::array<Bin, kBins> bins_{};
  // Frames until every bin reaches its target; all bins ramp together.
  double rampFrames_ = 0;
  // Starts with the carried frames between calls.
  Buffer signal_;
  Buffer spectrum_;
  Buffer filtered_;
  Plan forward_;
  Plan backward_;
};

}  // namespace mavu::shell
