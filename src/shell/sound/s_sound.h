#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "base/clock.h"
#include "shell/sound/dd_sound_device.h"
#include "shell/sound/ogg_player.h"
#include "shell/sound/sound_family.h"

namespace mavu::shell {

// The stream channels: music, voices and long sounds decoded while they play
// and mixed into the device's stream buffer.
class TSSound {
 public:
  static constexpr int32_t kChannels = static_cast<int32_t>(TOggPlayer::kChannels);
  static constexpr int32_t kVoiceClass = 1;
  static constexpr int32_t kRestoreFadeMs = 2000;

  TSSound(TOggPlayer& player, const TDDSD7& device, base::Clock& clock, size_t streamLength);

  // Channels outside 0..kChannels-1 are ignored by every operation.
  // An empty string on success, else why the file did not load.
  std::string Load(int32_t channel, std::string_view name, bool forced = false);
  void Free(int32_t channel);
  void Play(int32_t channel, bool loop);
  void Stop(int32_t channel);
  void Fade(int32_t channel, int32_t volume, int32_t ms);
  void SetClass(int32_t channel, int32_t soundClass);
  void Seek(int32_t channel, int32_t ms);
  void SkipSilence(int32_t channel, int32_t threshold);
  void Equalize(int32_t channel, std::span<const int32_t> bands, int32_t ms);
  // Both clamped to the channels.
  void Swap(int32_t a, int32_t b);
  // The speaker's voice volume (0 when muted) for a channel that plays a voice.
  void SetOwnGain(int32_t channel, int32_t gain);

  int32_t PositionMs(int32_t channel) const;
  int32_t Volume(int32_t channel) const;
  PlayState State(int32_t channel) const;
  int32_t Class(int32_t channel) const;
  const std::string& FileName(int32_t channel) const;
  bool Loaded(int32_t channel) const;
  // The loudness of the channel where the output plays now, 0..255.
  int32_t Level(int32_t channel) const;

  ClassLevels& Classes() { return classes_; }
  // Every channel takes its class's level now.
  void ApplyClassLevels();
  void FreeAll();
  // Once per frame: channels faded to silence stop; channels whose decoding
  // failed are cleared and their names returned.
  std::vector<std::string> Update();

  void SetDeferring(bool deferring) { deferring_ = deferring; }
  void EndDeferral();

  void Save(base::ByteWriter& out);
  // The records are read whole before anything changes.
  void Restore(base::ByteReader& in);

 private:
  struct Channel {
    StreamRecord record;
    DeferredSlot slot;
  };

  static bool Valid(int32_t channel) { return channel >= 0 && channel < kChannels; }
  Channel& At(int32_t channel) { return channels_[static_cast<size_t>(channel)]; }
  const Channel& At(int32_t channel) const { return channels_[static_cast<size_t>(channel)]; }
  TOggData& Decoder(int32_t channel) { return player_.Decoder(static_cast<size_t>(channel)); }
  const TOggData& Decoder(int32_t channel) const {
    return player_.Decoder(static_cast<size_t>(channel));
  }
  void Clear(int32_t channel);
  void RestoreChannel(int32_t channel, const StreamRecord& saved);

  TOggPlayer& player_;
  const TDDSD7& device_;
  base::Clock& clock_;
  double ringSeconds_;
  ClassLevels classes_;
  std::array<Channel, kChannels> channels_;
  bool deferring_ = false;
};

}  // namespace mavu::shell
