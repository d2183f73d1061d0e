#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct SwrContext;

namespace mavu::shell {

// Turns decoded 16-bit sound of any rate, mono or stereo, into the mixer's
// 44100 Hz stereo. 22050 and 44100 Hz are widened by repeating samples, so old
// sounds made for them stay bit for bit what their authors heard; every other
// rate goes through libswresample, which keeps filter state between calls.
class RateConverter {
 public:
  static constexpr int32_t kOutputRate = 44100;
  // The lowest rate Vorbis encoders write. Below it a read multiplies by
  // thousands on conversion and the resampler's delay spans seconds of output.
  static constexpr int32_t kMinInputRate = 8000;
  static constexpr int32_t kMaxInputRate = 384000;

  // Throws base::FormatError for channel counts other than 1 or 2 and for
  // rates outside kMinInputRate..kMaxInputRate: both come from the sound file.
  RateConverter(int32_t rate, int32_t channels);
  ~RateConverter();
  RateConverter(const RateConverter&) = delete;
  RateConverter& operator=(const RateConverter&) = delete;

  // Appends the stereo frames for `input` (interleaved, whole frames only:
  // std::invalid_argument otherwise) to `out`. The resampler holds back a few
  // frames until more input or Finish arrives.
  void Convert(std::span<const int16_t> input, std::vector<int16_t>& out);
  // Appends the frames still held back at the end of the stream; the converter
  // then starts afresh.
  void Finish(std::vector<int16_t>& out);
  // Drops whatever is held back, as after a seek.
  void Reset();

 private:
  struct SwrFree {
    void operator()(SwrContext* context) const;
  };

  void Repeat(std::span<const int16_t> input, std::vector<int16_t>& out) const;
  // `frames` is 0 to drain the resampler.
  void Resample(const int16_t* input, int32_t frames, std::vector<int16_t>& out);

  int32_t rate_;
  int32_t channels_;
  std::unique_ptr<SwrContext, SwrFree> resampler_;  // null for the repeated rates
};

}  // namespace mavu::shell
