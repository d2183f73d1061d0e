#pragma once

#include <cstdint>
#include <vector>

#include "base/clock.h"
#include "shell/sound/audio_output.h"

namespace mavu::shell {

// The output of a headless run: it pulls and mixes as much sound as the
// simulated clock has advanced and lets it go, so positions, fades and loop
// points run as they would on a sound card.
class HeadlessAudio : public AudioOutput {
 public:
  explicit HeadlessAudio(base::Clock& clock) : clock_(clock) {}

  bool Start(TDDSD7& device) override;
  void Stop() override { device_ = nullptr; }

  // Mixes the frames due up to the clock's time now.
  void CatchUp();

 private:
  base::Clock& clock_;
  TDDSD7* device_ = nullptr;
  uint64_t startMs_ = 0;
  uint64_t framesDone_ = 0;
  std::vector<int16_t> scratch_;
};

}  // namespace mavu::shell
