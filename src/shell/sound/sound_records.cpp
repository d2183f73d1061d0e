#include "shell/sound/sound_records.h"

#include <bit>

namespace mavu::shell {

namespace {

// A state byte beyond the four states is read as no file rather than trusted.
PlayState ReadState(base::ByteReader& in) {
  const uint8_t v = in.U8();
  return v <= static_cast<uint8_t>(PlayState::kPlayingLooped) ? static_cast<PlayState>(v)
                                                              : PlayState::kNoFile;
}

}  // namespace

void EffectRecord::Write(base::ByteWriter& out) const {
  out.ShortString(name, kSoundNameField).I32(volume).U8(static_cast<uint8_t>(state));
  out.I32(soundClass).I32(parameter).U8(fromMemory ? 1 : 0);
}

EffectRecord EffectRecord::Read(base::ByteReader& in) {
  EffectRecord r;
  r.name = in.ShortString(kSoundNameField);
  r.volume = in.I32();
  r.state = ReadState(in);
  r.soundClass = in.I32();
  r.parameter = in.I32();
  r.fromMemory = in.U8() != 0;
  return r;
}

std::array<float, StreamRecord::kBins> StreamRecord::FlatBins() {
  std::array<float, kBins> bins;
  bins.fill(1.0f);
  return bins;
}

void StreamRecord::Write(base::ByteWriter& out) const {
  out.ShortString(name, kSoundNameField).I32(volume).I32(fadeMs).I32(silenceThreshold);
  out.I32(seekMs).U8(static_cast<uint8_t>(state));
  for (float bin : bins) out.U32(std::bit_cast<uint32_t>(bin));
  out.I32(soundClass).I32(parameter).U32(std::bit_cast<uint32_t>(positionSeconds));
  out.Append(reserved);
}

StreamRecord StreamRecord::Read(base::ByteReader& in) {
  StreamRecord r;
  r.name = in.ShortString(kSoundNameField);
  r.volume = in.I32();
  r.fadeMs = in.I32();
  r.silenceThreshold = in.I32();
  r.seekMs = in.I32();
  r.state = ReadState(in);
  for (float& bin : r.bins) bin = std::bit_cast<float>(in.U32());
  r.soundClass = in.I32();
  r.parameter = in.I32();
  r.positionSeconds = std::bit_cast<float>(in.U32());
  for (uint8_t& b : r.reserved) b = in.U8();
  return r;
}

}  // namespace mavu::shell
