#include "shell/sound/sound.h"

#include <algorithm>

#include "base/cp932.h"
#include "base/error_log.h"
#include "resource/data_tree.h"
#include "shell/sound/whole_sound.h"

namespace mavu::shell {

namespace {

using script::SoundFamily;

constexpr size_t kFrameBytes = 4;
// Two halves of whole frames.
constexpr size_t kLengthGranule = 2 * kFrameBytes;

bool IsStream(SoundFamily family) {
  return family == SoundFamily::kStream;
}

}  // namespace

TSound::TSound(base::Clock& clock, size_t streamLength) : clock_(clock) {
  SetStreamLength(streamLength);
}

// The output has stopped before this: nothing renders from the channels now.
TSound::~TSound() = default;

void TSound::SetStreamLength(size_t streamLength) {
  streamLength = std::max(streamLength, kMinStreamLength) / kLengthGranule * kLengthGranule;
  streams_.reset();
  effects_.reset();
  device_.reset();
  player_ = std::make_unique<TOggPlayer>(streamLength, clock_);
  device_ = std::make_unique<TDDSD7>(streamLength, *player_);
  effects_ = std::make_unique<TDSound>(*device_, clock_);
  streams_ = std::make_unique<TSSound>(*player_, *device_, clock_, streamLength);
  tags_.fill(VoiceTag{});
}

void TSound::SetSoundActive(bool active) {
  player_->SetActive(active);
  device_->SetStreamRunning(active);
  if (!active) effects_->StopAll();
}

void TSound::SetClassLevel(int32_t soundClass, int32_t level) {
  effects_->Classes().Set(soundClass, level);
  streams_->Classes().Set(soundClass, level);
}

void TSound::ApplyClassLevels() {
  streams_->ApplyClassLevels();
}

size_t TSound::StateBytes() const {
  return TDSound::kChannels * EffectRecord::kSize + TSSound::kChannels * StreamRecord::kSize;
}

void TSound::SaveState(base::ByteWriter& out) {
  effects_->Save(out);
  streams_->Save(out);
}

void TSound::RestoreState(base::ByteReader& in) {
  // Both families read their records first, so a short block throws before
  // either has changed; the effects' block is checked for the streams too.
  if (in.Remaining() < StateBytes()) throw base::FormatError("the sound state is cut short");
  effects_->Restore(in);
  streams_->Restore(in);
  tags_.fill(VoiceTag{});
}

std::string TSound::LoadSound(SoundFamily family, int32_t channel, std::string_view file) {
  if (!IsStream(family)) return effects_->Load(channel, file);
  std::string error = streams_->Load(channel, file);
  if (error.empty()) TagVoice(channel);
  return error;
}

void TSound::FreeSound(SoundFamily family, int32_t channel) {
  if (!IsStream(family)) return effects_->Free(channel);
  streams_->Free(channel);
  if (channel >= 0 && channel < TSSound::kChannels)
    tags_[static_cast<size_t>(channel)] = VoiceTag{};
}

void TSound::PlaySound(SoundFamily family, int32_t channel, bool loop) {
  IsStream(family) ? streams_->Play(channel, loop) : effects_->Play(channel, loop);
}

void TSound::StopSound(SoundFamily family, int32_t channel) {
  IsStream(family) ? streams_->Stop(channel) : effects_->Stop(channel);
}

void TSound::SetSoundVolume(SoundFamily family, int32_t channel, int32_t volume, int32_t ms) {
  IsStream(family) ? streams_->Fade(channel, volume, ms) : effects_->SetVolume(channel, volume);
}

int32_t TSound::SoundVolume(SoundFamily family, int32_t channel) const {
  return IsStream(family) ? streams_->Volume(channel) : effects_->Volume(channel);
}

int32_t TSound::SoundState(SoundFamily family, int32_t channel) const {
  return static_cast<int32_t>(IsStream(family) ? streams_->State(channel)
                                               : effects_->State(channel));
}

std::string TSound::SoundFile(SoundFamily family, int32_t channel) const {
  return IsStream(family) ? streams_->FileName(channel) : effects_->FileName(channel);
}

void TSound::SetSoundClass(int32_t channel, int32_t soundClass) {
  streams_->SetClass(channel, soundClass);
  TagVoice(channel);
}

void TSound::SwapSounds(SoundFamily family, int32_t channel, int32_t other) {
  if (!IsStream(family)) return effects_->Swap(channel, other);
  streams_->Swap(channel, other);
  const auto a = static_cast<size_t>(std::clamp(channel, 0, TSSound::kChannels - 1));
  const auto b = static_cast<size_t>(std::clamp(other, 0, TSSound::kChannels - 1));
  std::swap(tags_[a], tags_[b]);
}

void TSound::MarkVoice(std::string_view file, std::string_view speaker, bool stopWithMessage) {
  mark_ = VoiceMark{resource::ResolveDataPath(file), SpeakerNumber(speaker), stopWithMessage};
}

int32_t TSound::SpeakerNumber(std::string_view name) const {
  if (name.empty()) return -1;
  for (size_t i = 0; i < voices_.speakers.Speakers.size(); ++i) {
    const auto& names = voices_.speakers.Speakers[i];
    if (std::find(names.begin(), names.end(), name) != names.end()) return static_cast<int32_t>(i);
  }
  return -1;
}

// A voice channel that loads the announced voice belongs to its speaker and
// plays at the speaker's volume; any other load plays at full volume.
void TSound::TagVoice(int32_t channel) {
  if (channel < 0 || channel >= TSSound::kChannels) return;
  VoiceTag& tag = tags_[static_cast<size_t>(channel)];
  const bool marked = !mark_.file.empty() && streams_->FileName(channel) == mark_.file;
  if (marked) tag = VoiceTag{mark_.speaker, mark_.stopWithMessage};
  if (!IsVoice(channel)) tag = VoiceTag{};
  int32_t gain = VolumeRamp::kFullVolume;
  if (tag.speaker >= 0) {
    const auto s = static_cast<size_t>(tag.speaker);
    gain = voices_.mutes[s] != 0 ? 0 : std::clamp(voices_.volumes[s], 0, 255);
  }
  streams_->SetOwnGain(channel, gain);
}

bool TSound::IsVoice(int32_t channel) const {
  return streams_->Class(channel) == TSSound::kVoiceClass;
}

bool TSound::VoicePlaying() const {
  for (int32_t channel = 0; channel < TSSound::kChannels; ++channel) {
    if (IsVoice(channel) && IsPlaying(streams_->State(channel))) return true;
  }
  return false;
}

void TSound::FadeOutSpeakerVoices(std::string_view speaker, int32_t ms) {
  const int32_t number = SpeakerNumber(speaker);
  for (int32_t channel = 0; channel < TSSound::kChannels; ++channel) {
    const VoiceTag& tag = tags_[static_cast<size_t>(channel)];
    if (IsVoice(channel) && IsPlaying(streams_->State(channel)) && tag.stopWithMessage &&
        tag.speaker == number) {
      streams_->Fade(channel, 0, ms);
    }
  }
}

void TSound::UpdateSounds() {
  for (const std::string& name : streams_->Update()) {
    base::TheErrorLog().ListError(base::Utf8ToCp932("サウンドデータの再生に失敗：") + name);
  }
}

void TSound::BeginDeferral() {
  effects_->SetDeferring(true);
  streams_->SetDeferring(true);
}

void TSound::EndDeferral() {
  effects_->EndDeferral();
  streams_->EndDeferral();
  for (int32_t channel = 0; channel < TSSound::kChannels; ++channel) TagVoice(channel);
}

void TSound::ResetSounds() {
  effects_->FreeAll();
  streams_->FreeAll();
  tags_.fill(VoiceTag{});
  mark_ = VoiceMark{};
}

std::shared_ptr<const base::Bytes> TSound::Decode(std::span<const uint8_t> file) {
  std::string error;
  return DecodeWholeSound(base::Bytes(file.begin(), file.end()), error);
}

void TSound::PlayDecoded(int32_t channel, std::shared_ptr<const base::Bytes> sound,
                         int32_t volume) {
  effects_->PlayDecoded(channel, std::move(sound), volume);
}

}  // namespace mavu::shell
