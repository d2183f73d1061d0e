#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "base/clock.h"
#include "base/sound_player.h"
#include "resource/voice_table.h"
#include "script/interpreter/interpreter_services.h"
#include "shell/sound/d_sound.h"
#include "shell/sound/dd_sound_device.h"
#include "shell/sound/ogg_player.h"
#include "shell/sound/s_sound.h"

namespace mavu::shell {

// The speakers' voice settings: volume 0..255 and mute per speaker, and the
// names each speaker goes by.
struct VoiceSettings {
  std::array<int32_t, resource::kSpeakerCount> volumes{};
  std::array<int32_t, resource::kSpeakerCount> mutes{};
  resource::VoiceTable speakers;
};

// The sound system's front: the device, the effect and stream families on
// it, and the scripts' and pictures' view of them.
class TSound final : public script::SoundService, public base::SoundPlayer {
 public:
  static constexpr size_t kDefaultStreamLength = 0x20000;
  static constexpr size_t kMinStreamLength = 16384;
  static constexpr int32_t kVoiceFadeMs = 500;

  explicit TSound(base::Clock& clock, size_t streamLength = kDefaultStreamLength);
  ~TSound() override;

  // Rebuilds the channels for another stream buffer length (raised to the
  // least, rounded to whole frames); only before the output starts.
  void SetStreamLength(size_t streamLength);
  TDDSD7& Device() { return *device_; }

  // Off: the stream buffer stops where it is and every effect stops; on:
  // the stream goes on (effects stay stopped).
  void SetSoundActive(bool active);
  void SetClassLevel(int32_t soundClass, int32_t level);
  void ApplyClassLevels();
  void SetVoiceSettings(VoiceSettings settings) { voices_ = std::move(settings); }

  // The 15 effect records, then the 8 stream records.
  size_t StateBytes() const override;
  void SaveState(base::ByteWriter& out) override;
  // The whole block is read before anything changes.
  void RestoreState(base::ByteReader& in) override;

  // SoundService
  int32_t ChannelCount() const override { return TSSound::kChannels; }
  int32_t DirectChannelCount() const override { return TDSound::kChannels; }
  std::string LoadSound(script::SoundFamily family, int32_t channel,
                        std::string_view file) override;
  void FreeSound(script::SoundFamily family, int32_t channel) override;
  void PlaySound(script::SoundFamily family, int32_t channel, bool loop) override;
  void StopSound(script::SoundFamily family, int32_t channel) override;
  void SetSoundVolume(script::SoundFamily family, int32_t channel, int32_t volume,
                      int32_t ms) override;
  int32_t SoundVolume(script::SoundFamily family, int32_t channel) const override;
  int32_t SoundState(script::SoundFamily family, int32_t channel) const override;
  std::string SoundFile(script::SoundFamily family, int32_t channel) const override;
  void SetSoundClass(int32_t channel, int32_t soundClass) override;
  void SeekSound(int32_t channel, int32_t ms) override { streams_->Seek(channel, ms); }
  void SkipSilence(int32_t channel, int32_t threshold) override {
    streams_->SkipSilence(channel, threshold);
  }
  void EqualizeSound(int32_t channel, std::span<const int32_t> bands, int32_t ms) override {
    streams_->Equalize(channel, bands, ms);
  }
  void SwapSounds(script::SoundFamily family, int32_t channel, int32_t other) override;
  void SetEffectLevels(int32_t level) override { effects_->SetAppliedLevels(level); }
  void MarkVoice(std::string_view file, std::string_view speaker, bool stopWithMessage) override;
  int32_t PositionMs(int32_t channel) const override { return streams_->PositionMs(channel); }
  bool VoicePlaying() const override;
  void FadeOut(int32_t channel, int32_t ms) override { streams_->Fade(channel, 0, ms); }
  void UpdateSounds() override;
  void BeginDeferral() override;
  void EndDeferral() override;
  void ResetSounds() override;

  // SoundPlayer
  std::shared_ptr<const base::Bytes> Decode(std::span<const uint8_t> file) override;
  void PlayDecoded(int32_t channel, std::shared_ptr<const base::Bytes> sound,
                   int32_t volume) override;
  int32_t ChannelLevel(int32_t channel) const override { return streams_->Level(channel); }
  void FadeOutSpeakerVoices(std::string_view speaker, int32_t ms) override;

 private:
  // A voice a message window announced, waiting for the channel that loads it.
  struct VoiceMark {
    std::string file;  // resolved
    int32_t speaker = -1;
    bool stopWithMessage = false;
  };
  struct VoiceTag {
    int32_t speaker = -1;
    bool stopWithMessage = false;
  };

  int32_t SpeakerNumber(std::string_view name) const;
  void TagVoice(int32_t channel);
  bool IsVoice(int32_t channel) const;

  base::Clock& clock_;
  std::unique_ptr<TOggPlayer> player_;
  std::unique_ptr<TDDSD7> device_;
  std::unique_ptr<TDSound> effects_;
  std::unique_ptr<TSSound> streams_;
  VoiceSettings voices_;
  VoiceMark mark_;
  std::array<VoiceTag, TSSound::kChannels> tags_{};
};

}  // namespace mavu::shell
