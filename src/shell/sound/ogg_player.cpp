#include "shell/sound/ogg_player.h"

#include <algorithm>

namespace mavu::shell {

namespace {

constexpr int32_t kPeak = 32767;

}  // namespace

TOggPlayer::TOggPlayer(size_t streamLength, base::Clock& clock)
    : clock_(clock), block_(streamLength / 4), sum_(streamLength / 4) {
  for (auto& decoder : decoders_) decoder = std::make_unique<TOggData>(streamLength / 2);
}

void TOggPlayer::SwapDecoders(size_t a, size_t b) {
  std::lock_guard lock(tableLock_);
  std::swap(decoders_[a], decoders_[b]);
}

void TOggPlayer::FillHalf(std::span<int16_t> half, int index) {
  std::lock_guard lock(tableLock_);
  std::fill(sum_.begin(), sum_.end(), 0);
  if (active_) {
    const std::span<int16_t> block = std::span(block_).first(half.size());
    for (auto& decoder : decoders_) {
      if (!decoder->DecodeBlock(block, index)) continue;
      for (size_t i = 0; i < block.size(); ++i) sum_[i] += block[i];
    }
  }
  std::transform(sum_.begin(), sum_.begin() + static_cast<ptrdiff_t>(half.size()), half.begin(),
                 [](int32_t s) { return static_cast<int16_t>(std::clamp(s, -kPeak, kPeak)); });
  lastFillMs_ = clock_.NowMs();
}

}  // namespace mavu::shell
