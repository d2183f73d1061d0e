#include "shell/sound/s_sound.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/cp932.h"
#include "base/error_log.h"
#include "resource/data_tree.h"

namespace mavu::shell {

namespace {

constexpr double kBytesPerSecond = 44100.0 * 4;
constexpr float kMaxBinGain = 16;

// A saved gain that is not a plain number is heard as no change.
std::array<float, StreamRecord::kBins> SaneBins(
    const std::array<float, StreamRecord::kBins>& bins) {
  std::array<float, StreamRecord::kBins> sane;
  std::transform(bins.begin(), bins.end(), sane.begin(), [](float g) {
    return std::isfinite(g) ? std::clamp(g, 0.0f, kMaxBinGain) : 1.0f;
  });
  return sane;
}

}  // namespace

TSSound::TSSound(TOggPlayer& player, const TDDSD7& device, base::Clock& clock, size_t streamLength)
    : player_(player),
      device_(device),
      clock_(clock),
      ringSeconds_(static_cast<double>(streamLength) / kBytesPerSecond) {}

std::string TSSound::Load(int32_t channel, std::string_view name, bool forced) {
  if (!Valid(channel)) return {};
  Channel& c = At(channel);
  c.slot.file = name;
  c.slot.soundClass = 0;
  c.slot.parameter = 0;
  c.slot.state = PlayState::kStopped;
  c.slot.volume = VolumeRamp::kFullVolume;
  c.slot.touched |= deferring_;
  if (deferring_) return {};

  const std::string resolved = resource::ResolveDataPath(name);
  if (resolved.empty()) {
    Clear(channel);
    c.record.name = base::TruncateWhole(name, kSoundNameField - 1);
    return "no such file";
  }
  if (!forced && Decoder(channel).IsOpen() && resolved == c.record.name) {
    c.slot.volume = Decoder(channel).TargetVolume();  // the channel goes on as it was
    return {};
  }
  Clear(channel);
  std::optional<base::Bytes> bytes = resource::TryOpenDataFile(resolved);
  const std::string error =
      bytes ? Decoder(channel).Open(std::move(*bytes)) : "the file cannot be read";
  if (!error.empty()) {
    base::TheErrorLog().ListError(base::Utf8ToCp932("ファイルの読み込みに失敗：") + resolved);
    return error;
  }
  c.record.name = base::TruncateWhole(resolved, kSoundNameField - 1);
  Decoder(channel).SetClassLevel(classes_.Level(0));
  return {};
}

// A cleared channel has no file, full volume, a flat equaliser and a fresh
// record; what it was told last stays noted.
void TSSound::Clear(int32_t channel) {
  TOggData& decoder = Decoder(channel);
  decoder.Close();
  decoder.FadeTo(VolumeRamp::kFullVolume, 0);
  decoder.ResetEqualizer();
  decoder.SetOwnGain(VolumeRamp::kFullVolume);
  At(channel).record = StreamRecord{};
}

void TSSound::Free(int32_t channel) {
  if (!Valid(channel)) return;
  Clear(channel);
  At(channel).slot = DeferredSlot{};
}

void TSSound::FreeAll() {
  for (int32_t channel = 0; channel < kChannels; ++channel) Free(channel);
}

void TSSound::Play(int32_t channel, bool loop) {
  if (!Valid(channel)) return;
  DeferredSlot& slot = At(channel).slot;
  slot.state = loop ? PlayState::kPlayingLooped : PlayState::kPlayingOnce;
  slot.touched |= deferring_;
  if (deferring_) return;
  Decoder(channel).SetClassLevel(classes_.Level(At(channel).record.soundClass));
  Decoder(channel).Play(loop);
}

void TSSound::Stop(int32_t channel) {
  if (!Valid(channel)) return;
  DeferredSlot& slot = At(channel).slot;
  slot.state = PlayState::kStopped;
  slot.touched |= deferring_;
  if (!deferring_) Decoder(channel).Stop();
}

void TSSound::Fade(int32_t channel, int32_t volume, int32_t ms) {
  if (!Valid(channel)) return;
  Channel& c = At(channel);
  c.slot.volume = volume;
  c.slot.touched |= deferring_;
  if (deferring_) return;
  c.record.volume = volume;
  c.record.fadeMs = ms;
  Decoder(channel).FadeTo(volume, ms);
}

// The note takes the class too, so that the end of a scene skip knows a
// voice from music.
void TSSound::SetClass(int32_t channel, int32_t soundClass) {
  if (!Valid(channel)) return;
  At(channel).record.soundClass = soundClass;
  At(channel).slot.soundClass = soundClass;
  Decoder(channel).SetClassLevel(classes_.Level(soundClass));
}

void TSSound::Seek(int32_t channel, int32_t ms) {
  if (!Valid(channel)) return;
  At(channel).record.seekMs = ms;
  if (ms > 0) Decoder(channel).Seek(ms / 1000.0);
}

void TSSound::SkipSilence(int32_t channel, int32_t threshold) {
  if (!Valid(channel)) return;
  At(channel).record.silenceThreshold = threshold;
  if (threshold > 0) Decoder(channel).SkipLeadingSilence(threshold);
}

void TSSound::Equalize(int32_t channel, std::span<const int32_t> bands, int32_t ms) {
  if (Valid(channel)) Decoder(channel).SetEqualizer(bands, ms);
}

void TSSound::Swap(int32_t a, int32_t b) {
  a = std::clamp(a, 0, kChannels - 1);
  b = std::clamp(b, 0, kChannels - 1);
  if (a == b) return;
  player_.SwapDecoders(static_cast<size_t>(a), static_cast<size_t>(b));
  std::swap(At(a), At(b));
}

void TSSound::SetOwnGain(int32_t channel, int32_t gain) {
  if (Valid(channel)) Decoder(channel).SetOwnGain(gain);
}

// The decoder runs a whole stream buffer ahead of what is heard; the time
// since the last fill says how far into the buffer the output has come.
int32_t TSSound::PositionMs(int32_t channel) const {
  if (!Valid(channel) || !Decoder(channel).IsOpen()) return 0;
  const double sinceFill = static_cast<double>(clock_.NowMs() - player_.LastFillMs()) / 1000;
  const double heard =
      Decoder(channel).TimeSeconds() - ringSeconds_ + std::min(sinceFill, ringSeconds_);
  return static_cast<int32_t>(
      std::lround(std::clamp(heard, 0.0, Decoder(channel).TotalSeconds()) * 1000));
}

int32_t TSSound::Volume(int32_t channel) const {
  return Valid(channel) ? Decoder(channel).TargetVolume() : 0;
}

PlayState TSSound::State(int32_t channel) const {
  if (!Valid(channel) || !Decoder(channel).IsOpen()) return PlayState::kNoFile;
  if (!Decoder(channel).Playing()) return PlayState::kStopped;
  return Decoder(channel).Looping() ? PlayState::kPlayingLooped : PlayState::kPlayingOnce;
}

int32_t TSSound::Class(int32_t channel) const {
  return Valid(channel) ? At(channel).record.soundClass : 0;
}

const std::string& TSSound::FileName(int32_t channel) const {
  static const std::string kNone;
  return Valid(channel) ? At(channel).record.name : kNone;
}

bool TSSound::Loaded(int32_t channel) const {
  return Valid(channel) && Decoder(channel).IsOpen();
}

int32_t TSSound::Level(int32_t channel) const {
  if (!Valid(channel)) return 0;
  return Decoder(channel).Level(device_.CursorHalf(), device_.CursorFrame());
}

void TSSound::ApplyClassLevels() {
  for (int32_t channel = 0; channel < kChannels; ++channel) {
    Decoder(channel).SetClassLevel(classes_.Level(At(channel).record.soundClass));
  }
}

std::vector<std::string> TSSound::Update() {
  std::vector<std::string> names;
  for (int32_t channel = 0; channel < kChannels; ++channel) {
    Decoder(channel).StopIfSilent();
    if (!Decoder(channel).TakeDecodeError()) continue;
    names.push_back(At(channel).record.name);
    Clear(channel);
  }
  return names;
}

void TSSound::EndDeferral() {
  deferring_ = false;
  for (int32_t channel = 0; channel < kChannels; ++channel) {
    const DeferredSlot slot = At(channel).slot;
    if (!slot.touched) continue;
    At(channel).slot.touched = false;
    if (slot.file.empty()) {
      Clear(channel);
      continue;
    }
    Load(channel, slot.file, true);
    SetClass(channel, slot.soundClass);
    if (slot.soundClass == 0 && IsPlaying(slot.state)) {
      Play(channel, slot.state == PlayState::kPlayingLooped);
    }
    Fade(channel, slot.volume, 0);
  }
}

void TSSound::Save(base::ByteWriter& out) {
  for (int32_t channel = 0; channel < kChannels; ++channel) {
    StreamRecord& record = At(channel).record;
    record.volume = Volume(channel);
    record.state = State(channel);
    record.bins = Decoder(channel).EqualizerGains();
    record.positionSeconds = static_cast<float>(PositionMs(channel) / 1000.0);
    record.Write(out);
  }
}

void TSSound::Restore(base::ByteReader& in) {
  std::vector<StreamRecord> records;
  for (int32_t channel = 0; channel < kChannels; ++channel)
    records.push_back(StreamRecord::Read(in));
  FreeAll();
  for (int32_t channel = 0; channel < kChannels; ++channel) {
    const StreamRecord& saved = records[static_cast<size_t>(channel)];
    if (saved.state != PlayState::kNoFile) RestoreChannel(channel, saved);
  }
}

// Music comes back where it was, fading in over two seconds.
void TSSound::RestoreChannel(int32_t channel, const StreamRecord& saved) {
  if (!Load(channel, saved.name, true).empty()) {
    base::TheErrorLog().ListError(base::Utf8ToCp932("サウンドデータのロードに失敗：") + saved.name);
    // Not even the name stays: a save made now restores to the same channels.
    Free(channel);
    return;
  }
  SetClass(channel, saved.soundClass);
  StreamRecord& record = At(channel).record;
  record.fadeMs = saved.fadeMs;
  record.silenceThreshold = saved.silenceThreshold;
  record.seekMs = saved.seekMs;
  record.parameter = saved.parameter;
  record.reserved = saved.reserved;
  TOggData& decoder = Decoder(channel);
  if (std::isfinite(saved.positionSeconds))
    decoder.Seek(std::round(saved.positionSeconds * 1000.0) / 1000);
  decoder.FadeTo(0, 0);
  Fade(channel, saved.volume, kRestoreFadeMs);
  decoder.SetEqualizerNow(SaneBins(saved.bins));
  if (IsPlaying(saved.state)) Play(channel, saved.state == PlayState::kPlayingLooped);
}

}  // namespace mavu::shell
