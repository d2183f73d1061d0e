#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "base/clock.h"
#include "shell/sound/dd_sound_device.h"
#include "shell/sound/ogg_data.h"

namespace mavu::shell {

// The stream mixer: the decoders of the stream channels summed into each half
// of the stream buffer. The table lock plays the mixer-busy flag: a channel
// swap waits for the mix in progress and the mix never sees half a swap.
class TOggPlayer : public StreamFiller {
 public:
  static constexpr size_t kChannels = 8;

  TOggPlayer(size_t streamLength, base::Clock& clock);

  TOggData& Decoder(size_t channel) { return *decoders_[channel]; }
  const TOggData& Decoder(size_t channel) const { return *decoders_[channel]; }
  void SwapDecoders(size_t a, size_t b);
  // Off: the halves are filled with silence and nothing is decoded.
  void SetActive(bool active) { active_ = active; }

  // The clock's time of the last fill.
  uint64_t LastFillMs() const { return lastFillMs_; }

  void FillHalf(std::span<int16_t> half, int index) override;

 private:
  base::Clock& clock_;
  std::mutex tableLock_;
  std::array<std::unique_ptr<TOggData>, kChannels> decoders_;
  std::vector<int16_t> block_;
  std::vector<int32_t> sum_;
  std::atomic<bool> active_ = true;
  std::atomic<uint64_t> lastFillMs_ = 0;
};

}  // namespace mavu::shell
