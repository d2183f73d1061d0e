#include "shell/sound/d_sound.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "base/cp932.h"
#include "base/error_log.h"
#include "resource/data_tree.h"
#include "shell/sound/whole_sound.h"

namespace mavu::shell {

namespace {

constexpr int32_t kSilentCentibels = -9000;
constexpr int32_t kCentibelsPerStep = 12;
constexpr int32_t kCentibelsAtZero = -3060;

}  // namespace

std::string TDSound::Load(int32_t channel, std::string_view name, bool forced) {
  if (!Valid(channel)) return {};
  DeferredSlot& slot = At(channel).slot;
  slot.file = name;
  slot.soundClass = kEffectClass;
  slot.parameter = 0;
  slot.state = PlayState::kStopped;
  slot.touched |= deferring_;
  if (deferring_) return {};

  const std::string resolved = resource::ResolveDataPath(name);
  Channel& c = At(channel);
  if (!forced && c.hasBuffer && !resolved.empty() && resolved == c.record.name) return {};
  const DeferredSlot kept = c.slot;
  Free(channel);
  c.slot = kept;
  if (resolved.empty()) return "no such file";
  std::optional<base::Bytes> bytes = resource::TryOpenDataFile(resolved);
  if (!bytes) return "the file cannot be read";
  std::string error;
  PcmBuffer pcm = DecodeWholeSound(std::move(*bytes), error);
  if (pcm == nullptr) return error;
  device_.SetBuffer(channel, std::move(pcm));
  c.hasBuffer = true;
  c.record.name = base::TruncateWhole(resolved, kSoundNameField - 1);
  c.record.soundClass = kEffectClass;
  return {};
}

void TDSound::Free(int32_t channel) {
  if (!Valid(channel)) return;
  device_.SetBuffer(channel, nullptr);
  Channel& c = At(channel);
  c.record = EffectRecord{};
  c.hasBuffer = false;
  c.slot = DeferredSlot{};
}

void TDSound::FreeAll() {
  for (int32_t channel = 0; channel < kChannels; ++channel) Free(channel);
}

void TDSound::Play(int32_t channel, bool loop) {
  if (!Valid(channel)) return;
  DeferredSlot& slot = At(channel).slot;
  slot.state = loop ? PlayState::kPlayingLooped : PlayState::kPlayingOnce;
  slot.touched |= deferring_;
  if (!deferring_) Start(channel, loop);
}

// A second start within the guard time is dropped, so a sound that several
// scripts trigger at once is not heard doubled.
void TDSound::Start(int32_t channel, bool loop) {
  Channel& c = At(channel);
  if (!c.hasBuffer) return;
  const uint64_t now = clock_.NowMs();
  if (c.started && now - c.lastStart < kRestartGuardMs) return;
  c.appliedLevel = classes_.Level(c.record.soundClass);
  device_.Stop(channel);
  ApplyVolume(channel);
  device_.Play(channel, loop);
  c.lastStart = now;
  c.started = true;
}

void TDSound::ApplyVolume(int32_t channel) {
  const Channel& c = At(channel);
  const int32_t level = c.record.volume * c.appliedLevel / 255;
  device_.SetVolume(channel,
                    level > 0 ? level * kCentibelsPerStep + kCentibelsAtZero : kSilentCentibels);
}

void TDSound::Stop(int32_t channel) {
  if (!Valid(channel)) return;
  DeferredSlot& slot = At(channel).slot;
  slot.state = PlayState::kStopped;
  slot.touched |= deferring_;
  if (!deferring_) device_.Stop(channel);
}

void TDSound::SetVolume(int32_t channel, int32_t volume) {
  if (!Valid(channel)) return;
  Channel& c = At(channel);
  c.record.volume = std::clamp(volume, 0, 255);
  c.slot.volume = c.record.volume;
  c.slot.touched |= deferring_;
}

// Heard at once on the channels that play, and until each one's next start.
void TDSound::SetAppliedLevels(int32_t level) {
  for (int32_t channel = 0; channel < kChannels; ++channel) {
    At(channel).appliedLevel = std::clamp(level, 0, 255);
    if (device_.IsPlaying(channel)) ApplyVolume(channel);
  }
}

void TDSound::PlayDecoded(int32_t channel, PcmBuffer pcm, int32_t volume) {
  if (!Valid(channel) || pcm == nullptr || deferring_) return;
  Free(channel);
  device_.SetBuffer(channel, std::move(pcm));
  Channel& c = At(channel);
  c.hasBuffer = true;
  c.record.fromMemory = true;
  c.record.volume = std::clamp(volume, 0, 255);
  c.record.soundClass = kEffectClass;
  c.started = false;
  Start(channel, false);
}

void TDSound::Swap(int32_t a, int32_t b) {
  a = std::clamp(a, 0, kChannels - 1);
  b = std::clamp(b, 0, kChannels - 1);
  if (a == b) return;
  device_.SwapSlots(a, b);
  std::swap(At(a), At(b));
}

int32_t TDSound::Volume(int32_t channel) const {
  return Valid(channel) ? At(channel).record.volume : 0;
}

PlayState TDSound::State(int32_t channel) const {
  if (!Valid(channel) || !At(channel).hasBuffer) return PlayState::kNoFile;
  if (!device_.IsPlaying(channel)) return PlayState::kStopped;
  return device_.IsLooping(channel) ? PlayState::kPlayingLooped : PlayState::kPlayingOnce;
}

const std::string& TDSound::FileName(int32_t channel) const {
  static const std::string kNone;
  return Valid(channel) ? At(channel).record.name : kNone;
}

void TDSound::EndDeferral() {
  deferring_ = false;
  for (int32_t channel = 0; channel < kChannels; ++channel) {
    const DeferredSlot slot = At(channel).slot;
    if (!slot.touched || slot.file.empty()) continue;
    At(channel).slot.touched = false;
    if (!Load(channel, slot.file, true).empty()) continue;
    At(channel).record.soundClass = slot.soundClass;
    if (slot.soundClass != 0) continue;
    if (IsPlaying(slot.state)) Start(channel, slot.state == PlayState::kPlayingLooped);
  }
}

// Sounds built from memory belong to the pictures that played them: they are
// let go and saved as empty records.
void TDSound::Save(base::ByteWriter& out) {
  for (int32_t channel = 0; channel < kChannels; ++channel) {
    Channel& c = At(channel);
    if (c.record.fromMemory) {
      Free(channel);
      out.Zeros(EffectRecord::kSize);
      continue;
    }
    c.record.state = State(channel);
    c.record.Write(out);
  }
}

void TDSound::Restore(base::ByteReader& in) {
  std::vector<EffectRecord> records;
  for (int32_t channel = 0; channel < kChannels; ++channel)
    records.push_back(EffectRecord::Read(in));
  FreeAll();
  for (int32_t channel = 0; channel < kChannels; ++channel) {
    const EffectRecord& saved = records[static_cast<size_t>(channel)];
    if (saved.fromMemory || saved.name.empty()) continue;
    const std::string error = Load(channel, saved.name, true);
    if (!error.empty()) {
      base::TheErrorLog().ListError(base::Utf8ToCp932("サウンドデータのロードに失敗：") +
                                    saved.name);
      continue;
    }
    At(channel).record.soundClass = saved.soundClass;
    At(channel).record.parameter = saved.parameter;
    SetVolume(channel, saved.volume);
    if (IsPlaying(saved.state)) Start(channel, saved.state == PlayState::kPlayingLooped);
  }
}

}  // namespace mavu::shell
