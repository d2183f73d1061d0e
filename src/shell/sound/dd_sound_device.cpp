#include "shell/sound/dd_sound_device.h"

#include <algorithm>
#include <cmath>

namespace mavu::shell {

namespace {

constexpr size_t kMixFrames = 4096;

}  // namespace

TDDSD7::TDDSD7(size_t streamLength, StreamFiller& filler)
    : filler_(filler),
      halfFrames_(streamLength / 8),
      ring_(streamLength / 2),
      mix_(kMixFrames * 2) {}

void TDDSD7::SetBuffer(int32_t channel, PcmBuffer pcm) {
  if (channel < 0 || channel >= StaticChannels()) return;
  std::unique_lock lock(staticLock_);
  TDDSDChannel& slot = static_[static_cast<size_t>(channel)];
  std::swap(slot.pcm, pcm);
  slot.position = 0;
  slot.playing = false;
  lock.unlock();
  // The old buffer goes here, on the main thread, never in the callback.
}

void TDDSD7::SwapSlots(int32_t a, int32_t b) {
  if (a < 0 || b < 0 || a >= StaticChannels() || b >= StaticChannels()) return;
  std::lock_guard lock(staticLock_);
  std::swap(static_[static_cast<size_t>(a)], static_[static_cast<size_t>(b)]);
}

void TDDSD7::Play(int32_t channel, bool loop) {
  if (channel < 0 || channel >= StaticChannels()) return;
  std::lock_guard lock(staticLock_);
  TDDSDChannel& slot = static_[static_cast<size_t>(channel)];
  if (slot.pcm == nullptr || slot.pcm->size() < 2) return;
  slot.position = 0;
  slot.playing = true;
  slot.looping = loop;
}

void TDDSD7::Stop(int32_t channel) {
  if (channel < 0 || channel >= StaticChannels()) return;
  std::lock_guard lock(staticLock_);
  static_[static_cast<size_t>(channel)].playing = false;
}

void TDDSD7::StopAll() {
  std::lock_guard lock(staticLock_);
  for (TDDSDChannel& slot : static_) slot.playing = false;
}

void TDDSD7::SetVolume(int32_t channel, int32_t centibels) {
  if (channel < 0 || channel >= StaticChannels()) return;
  std::lock_guard lock(staticLock_);
  static_[static_cast<size_t>(channel)].gain =
      static_cast<float>(std::pow(10.0, centibels / 2000.0));
}

bool TDDSD7::IsPlaying(int32_t channel) const {
  if (channel < 0 || channel >= StaticChannels()) return false;
  std::lock_guard lock(staticLock_);
  return static_[static_cast<size_t>(channel)].playing;
}

bool TDDSD7::IsLooping(int32_t channel) const {
  if (channel < 0 || channel >= StaticChannels()) return false;
  std::lock_guard lock(staticLock_);
  const TDDSDChannel& slot = static_[static_cast<size_t>(channel)];
  return slot.playing && slot.looping;
}

int TDDSD7::CursorHalf() const {
  return cursor_ < halfFrames_ ? 0 : 1;
}

size_t TDDSD7::CursorFrame() const {
  return cursor_ % halfFrames_;
}

void TDDSD7::Render(std::span<int16_t> out) {
  while (!out.empty()) {
    if (streamRunning_ && filledFor_ != CursorHalf()) {
      filledFor_ = CursorHalf();
      // The half just played out takes the sound that follows the one now due.
      const size_t other = static_cast<size_t>(1 - filledFor_) * halfFrames_ * 2;
      filler_.FillHalf(std::span(ring_).subspan(other, halfFrames_ * 2), 1 - filledFor_);
    }
    size_t frames = std::min(out.size() / 2, kMixFrames);
    if (streamRunning_) frames = std::min(frames, halfFrames_ - CursorFrame());
    RenderChunk(out.first(frames * 2));
    out = out.subspan(frames * 2);
  }
}

void TDDSD7::RenderChunk(std::span<int16_t> out) {
  const size_t frames = out.size() / 2;
  std::span<int32_t> mix = std::span(mix_).first(out.size());
  if (streamRunning_) {
    const size_t start = cursor_ * 2;
    std::copy_n(ring_.begin() + static_cast<ptrdiff_t>(start), out.size(), mix.begin());
    cursor_ = (cursor_ + frames) % (halfFrames_ * 2);
  } else {
    std::fill(mix.begin(), mix.end(), 0);
  }
  MixStatic(mix);
  std::transform(mix.begin(), mix.end(), out.begin(),
                 [](int32_t s) { return static_cast<int16_t>(std::clamp(s, -32768, 32767)); });
}

void TDDSD7::MixStatic(std::span<int32_t> mix) {
  std::lock_guard lock(staticLock_);
  for (TDDSDChannel& slot : static_) {
    if (!slot.playing) continue;
    const base::Bytes& pcm = *slot.pcm;
    for (size_t i = 0; i < mix.size() && slot.playing; ++i) {
      const auto sample = static_cast<int16_t>(pcm[slot.position] | pcm[slot.position + 1] << 8);
      mix[i] += static_cast<int32_t>(std::lrint(sample * slot.gain));
      slot.position += 2;
      if (slot.position + 1 < pcm.size()) continue;
      slot.position = 0;
      slot.playing = slot.looping;
    }
  }
}

}  // namespace mavu::shell
