#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "base/clock.h"
#include "shell/sound/dd_sound_device.h"
#include "shell/sound/sound_family.h"

namespace mavu::shell {

// The effect channels: files decoded whole into the device's static buffers.
// Volumes are heard from the next start; each start takes its class level then.
class TDSound {
 public:
  static constexpr int32_t kChannels = TDDSD7::kChannelCount - 1;
  static constexpr int32_t kEffectClass = 2;
  static constexpr uint64_t kRestartGuardMs = 20;

  TDSound(TDDSD7& device, base::Clock& clock) : device_(device), clock_(clock) {}

  // Channels outside 0..kChannels-1 are ignored by every operation.
  // An empty string on success, else why the file did not load.
  std::string Load(int32_t channel, std::string_view name, bool forced = false);
  void Free(int32_t channel);
  void Play(int32_t channel, bool loop);
  void Stop(int32_t channel);
  void SetVolume(int32_t channel, int32_t volume);
  // The class level every channel applies until its next start.
  void SetAppliedLevels(int32_t level);
  // Sound decoded elsewhere (an animation's own), played once at `volume`.
  void PlayDecoded(int32_t channel, PcmBuffer pcm, int32_t volume);
  // Both clamped to the channels.
  void Swap(int32_t a, int32_t b);

  int32_t Volume(int32_t channel) const;
  PlayState State(int32_t channel) const;
  const std::string& FileName(int32_t channel) const;

  ClassLevels& Classes() { return classes_; }
  void StopAll() { device_.StopAll(); }
  void FreeAll();

  void SetDeferring(bool deferring) { deferring_ = deferring; }
  void EndDeferral();

  void Save(base::ByteWriter& out);
  // The records are read whole before anything changes (FormatError leaves
  // the channels as they were).
  void Restore(base::ByteReader& in);

 private:
  struct Channel {
    EffectRecord record;
    int32_t appliedLevel = 255;
    uint64_t lastStart = 0;
    bool started = false;
    bool hasBuffer = false;
    DeferredSlot slot;
  };

  static bool Valid(int32_t channel) { return channel >= 0 && channel < kChannels; }
  Channel& At(int32_t channel) { return channels_[static_cast<size_t>(channel)]; }
  const Channel& At(int32_t channel) const { return channels_[static_cast<size_t>(channel)]; }
  void Start(int32_t channel, bool loop);
  void ApplyVolume(int32_t channel);

  TDDSD7& device_;
  base::Clock& clock_;
  ClassLevels classes_;
  std::array<Channel, kChannels> channels_;
  bool deferring_ = false;
};

}  // namespace mavu::shell
