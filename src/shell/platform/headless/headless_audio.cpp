#include "shell/platform/headless/headless_audio.h"

#include <algorithm>
#include <span>

#include "shell/sound/dd_sound_device.h"

namespace mavu::shell {

namespace {

constexpr size_t kChunkFrames = 4096;

}  // namespace

bool HeadlessAudio::Start(TDDSD7& device) {
  device_ = &device;
  startMs_ = clock_.NowMs();
  framesDone_ = 0;
  scratch_.resize(kChunkFrames * 2);
  return true;
}

void HeadlessAudio::CatchUp() {
  if (device_ == nullptr) return;
  const uint64_t due = (clock_.NowMs() - startMs_) * TDDSD7::kRate / 1000;
  while (framesDone_ < due) {
    const size_t frames = static_cast<size_t>(std::min<uint64_t>(due - framesDone_, kChunkFrames));
    device_->Render(std::span(scratch_).first(frames * 2));
    framesDone_ += frames;
  }
}

}  // namespace mavu::shell
