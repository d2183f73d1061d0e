#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "base/bytes.h"

namespace mavu::base {

// What pictures need of the sound system: animation keys play the sounds
// embedded in their files, and a key can follow the level of a music channel.
// The shell implements it; NullSoundPlayer stands in where there is no sound.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;

  // The sound file decoded into the form PlayDecoded takes; null when it does
  // not decode.
  virtual std::shared_ptr<const Bytes> Decode(std::span<const uint8_t> file) = 0;
  // Plays decoded sound on a direct-sound channel at a volume of 0..255.
  virtual void PlayDecoded(int32_t channel, std::shared_ptr<const Bytes> sound, int32_t volume) = 0;
  // The loudness of a streamed-sound channel now, 0..255.
  virtual int32_t ChannelLevel(int32_t channel) const = 0;
  // Fades out over `ms` the voices still playing that were marked to stop
  // with their message and belong to the speaker.
  virtual void FadeOutSpeakerVoices(std::string_view speaker, int32_t ms) = 0;
};

// Decodes nothing, plays nothing and hears silence.
class NullSoundPlayer : public SoundPlayer {
 public:
  std::shared_ptr<const Bytes> Decode(std::span<const uint8_t>) override { return nullptr; }
  void PlayDecoded(int32_t, std::shared_ptr<const Bytes>, int32_t) override {}
  int32_t ChannelLevel(int32_t) const override { return 0; }
  void FadeOutSpeakerVoices(std::string_view, int32_t) override {}
};

}  // namespace mavu::base
