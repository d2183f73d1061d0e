#include "support/script/recording_services.h"

#include "script/interpreter/movie_record.h"

namespace mavu::script {

int32_t RecordingServices::SoundState(SoundFamily family, int32_t channel) const {
  if (family == SoundFamily::kEffect) return kStopped;
  auto it = channelStates.find(channel);
  return it == channelStates.end() ? kStopped : it->second;
}

std::string RecordingServices::LoadSound(SoundFamily family, int32_t channel,
                                         std::string_view file) {
  soundCalls.push_back(std::string(family == SoundFamily::kStream ? "snd" : "dsnd") + " l " +
                       std::to_string(channel) + " " + std::string(file));
  return loadError;
}

void RecordingServices::EqualizeSound(int32_t channel, std::span<const int32_t> bands, int32_t ms) {
  std::string call = "snd eq " + std::to_string(channel);
  for (int32_t band : bands) call += " " + std::to_string(band);
  soundCalls.push_back(call + " ms " + std::to_string(ms));
}

void RecordingServices::Note(SoundFamily family, std::string_view verb, int32_t channel,
                             std::initializer_list<int32_t> values) {
  std::string call = std::string(family == SoundFamily::kStream ? "snd " : "dsnd ") +
                     std::string(verb) + " " + std::to_string(channel);
  for (int32_t value : values) call += " " + std::to_string(value);
  soundCalls.push_back(call);
}

int32_t RecordingServices::PositionMs(int32_t channel) const {
  auto it = positions.find(channel);
  return it == positions.end() ? 0 : it->second;
}

void RecordingServices::ResetSounds() {
  channelStates.clear();
  positions.clear();
  voicePlaying = false;
  ++soundResets;
}

void RecordingServices::SaveState(base::ByteWriter& out) {
  for (int32_t channel = 0; channel < channels; ++channel) {
    out.I32(SoundState(SoundFamily::kStream, channel));
  }
}

void RecordingServices::RestoreState(base::ByteReader& in) {
  if (in.Remaining() < StateBytes()) throw base::FormatError("sound block short");
  for (int32_t channel = 0; channel < channels; ++channel) channelStates[channel] = in.I32();
  soundCalls.push_back("restore");
}

void RecordingServices::SaveMovie(base::ByteWriter& out) const {
  MovieRecord record;
  record.state = movieState;
  record.Write(out);
}

void RecordingServices::RestoreMovie(base::ByteReader& in) {
  movieState = MovieRecord::Read(in).state;
}

bool RecordingServices::InMovieRect(int32_t x, int32_t y) const {
  return x >= movieLeft && x < movieRight && y >= movieTop && y < movieBottom;
}

}  // namespace mavu::script
