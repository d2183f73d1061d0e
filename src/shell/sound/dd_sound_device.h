#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "base/bytes.h"

namespace mavu::shell {

// Decoded sound in the device's format: 44100 Hz, 16-bit little-endian,
// stereo, interleaved (the form the file-stream cache keeps).
using PcmBuffer = std::shared_ptr<const base::Bytes>;

// What refills the stream buffer: one half at a time, on the audio thread.
class StreamFiller {
 public:
  virtual ~StreamFiller() = default;
  virtual void FillHalf(std::span<int16_t> half, int index) = 0;
};

// One static buffer slot of the device.
struct TDDSDChannel {
  PcmBuffer pcm;
  size_t position = 0;  // in bytes
  bool playing = false;
  bool looping = false;
  float gain = 1;
};

// The sound device: ChannelCount slots, the last of which carries the
// looping stream buffer, all mixed in software into the output. The output
// (an audio callback, or the headless clock) pulls frames with Render. When
// the cursor crosses into one half of the stream buffer, the half it left is
// refilled at once: the half now playing is already full, so the samples due
// never wait for more than one refill within the callback.
class TDDSD7 {
 public:
  static constexpr int32_t kRate = 44100;
  static constexpr int32_t kChannelCount = 16;

  TDDSD7(size_t streamLength, StreamFiller& filler);

  int32_t StaticChannels() const { return kChannelCount - 1; }

  // Static buffers (main thread). A channel outside the slots is ignored.
  void SetBuffer(int32_t channel, PcmBuffer pcm);
  void SwapSlots(int32_t a, int32_t b);
  void Play(int32_t channel, bool loop);
  void Stop(int32_t channel);
  void StopAll();
  // Hundredths of a decibel: 0 is full level, -9000 is silence for the ear.
  void SetVolume(int32_t channel, int32_t centibels);
  bool IsPlaying(int32_t channel) const;
  bool IsLooping(int32_t channel) const;

  // The stream buffer runs from the start; stopped it holds its place.
  void SetStreamRunning(bool running) { streamRunning_ = running; }

  // Where the stream buffer plays now: the half and the frame in it.
  int CursorHalf() const;
  size_t CursorFrame() const;

  // Audio thread: the next frames of the mix.
  void Render(std::span<int16_t> out);

 private:
  void RenderChunk(std::span<int16_t> out);
  void MixStatic(std::span<int32_t> mix);

  StreamFiller& filler_;
  size_t halfFrames_;
  std::vector<int16_t> ring_;
  std::vector<int32_t> mix_;
  std::atomic<size_t> cursor_ = 0;  // frame of the ring played next
  int filledFor_ = -1;              // the half the cursor was in at the last refill
  std::atomic<bool> streamRunning_ = true;

  mutable std::mutex staticLock_;
  std::array<TDDSDChannel, kChannelCount - 1> static_;
};

}  // namespace mavu::shell
