#include "shell/sound/rate_converter.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "base/bytes.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace mavu::shell {

namespace {

// Large inputs go to the resampler in pieces so its int counts never overflow.
constexpr int32_t kResampleChunkFrames = 1 << 16;

bool Repeated(int32_t rate) {
  return rate == RateConverter::kOutputRate || rate == RateConverter::kOutputRate / 2;
}

SwrContext* OpenResampler(int32_t rate, int32_t channels) {
  AVChannelLayout in;
  AVChannelLayout out;
  av_channel_layout_default(&in, channels);
  av_channel_layout_default(&out, 2);
  SwrContext* context = nullptr;
  // Mono reaches both sides at full level, as on the repeated rates; the
  // library's own mix would lower it by 3 dB.
  static constexpr double kMonoToBoth[] = {1.0, 1.0};
  if (swr_alloc_set_opts2(&context, &out, AV_SAMPLE_FMT_S16, RateConverter::kOutputRate, &in,
                          AV_SAMPLE_FMT_S16, rate, 0, nullptr) < 0 ||
      (channels == 1 && swr_set_matrix(context, kMonoToBoth, 1) < 0) || swr_init(context) < 0) {
    swr_free(&context);
    throw std::runtime_error("cannot start the resampler for " + std::to_string(rate) + " Hz");
  }
  return context;
}

}  // namespace

void RateConverter::SwrFree::operator()(SwrContext* context) const {
  swr_free(&context);
}

RateConverter::RateConverter(int32_t rate, int32_t channels) : rate_(rate), channels_(channels) {
  if (channels != 1 && channels != 2) {
    throw base::FormatError("sound with " + std::to_string(channels) +
                            " channels: only mono and stereo play");
  }
  if (rate < kMinInputRate || rate > kMaxInputRate) {
    throw base::FormatError("sound at " + std::to_string(rate) + " Hz: the rate must be " +
                            std::to_string(kMinInputRate) + ".." + std::to_string(kMaxInputRate));
  }
  Reset();
}

RateConverter::~RateConverter() = default;

void RateConverter::Convert(std::span<const int16_t> input, std::vector<int16_t>& out) {
  if (input.size() % static_cast<size_t>(channels_) != 0) {
    throw std::invalid_argument("sound input ends inside a frame");
  }
  if (!resampler_) return Repeat(input, out);
  for (size_t done = 0; done < input.size();) {
    const auto frames = static_cast<int32_t>(
        std::min<size_t>((input.size() - done) / channels_, kResampleChunkFrames));
    Resample(input.data() + done, frames, out);
    done += static_cast<size_t>(frames) * channels_;
  }
}

void RateConverter::Finish(std::vector<int16_t>& out) {
  if (!resampler_) return;
  Resample(nullptr, 0, out);
  Reset();
}

void RateConverter::Reset() {
  // A fresh context forgets the filter history and any partial output at once.
  if (!Repeated(rate_)) resampler_.reset(OpenResampler(rate_, channels_));
}

void RateConverter::Repeat(std::span<const int16_t> input, std::vector<int16_t>& out) const {
  const size_t times = kOutputRate / rate_;
  size_t at = out.size();
  out.resize(at + input.size() / channels_ * times * 2);
  for (size_t i = 0; i < input.size(); i += channels_) {
    const int16_t left = input[i];
    const int16_t right = input[i + channels_ - 1];
    for (size_t k = 0; k < times; ++k) {
      out[at++] = left;
      out[at++] = right;
    }
  }
}

void RateConverter::Resample(const int16_t* input, int32_t frames, std::vector<int16_t>& out) {
  const int room = swr_get_out_samples(resampler_.get(), frames);
  if (room < 0) throw std::runtime_error("the resampler failed");
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(room) * 2);
  auto* target = reinterpret_cast<uint8_t*>(out.data() + at);
  const auto* source = reinterpret_cast<const uint8_t*>(input);
  const int made = swr_convert(resampler_.get(), &target, room, input ? &source : nullptr, frames);
  if (made < 0) {
    out.resize(at);
    throw std::runtime_error("the resampler failed");
  }
  out.resize(at + static_cast<size_t>(made) * 2);
}

}  // namespace mavu::shell
