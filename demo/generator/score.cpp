#include "score.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "reverb.h"

namespace mavu::demo {

namespace {

// Semitones above C of the letters A to G.
constexpr std::array<int, 7> kLetterSemitones = {9, 11, 0, 2, 4, 5, 7};
constexpr int kA4 = 69;  // MIDI numbering: C4 = 60
constexpr double kA4Hz = 440.0;
// How far the loop's file goes on past its end.
constexpr double kPastLoopEnd = 0.5;

[[noreturn]] void Refuse(std::string_view word, std::string_view why) {
  throw std::invalid_argument("\"" + std::string(word) + "\": " + std::string(why));
}

double PitchHz(std::string_view name) {
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') Refuse(name, "not a note name");
  int semitone = kLetterSemitones[static_cast<size_t>(name[0] - 'A')];
  size_t at = 1;
  if (name[at] == '#' || name[at] == 'b') semitone += name[at++] == '#' ? 1 : -1;
  if (at + 1 != name.size() || name[at] < '0' || name[at] > '8') Refuse(name, "no octave 0-8");
  const int midi = (name[at] - '0' + 1) * 12 + semitone;
  return kA4Hz * std::pow(2.0, (midi - kA4) / 12.0);
}

void AddWord(std::string_view word, double& beat, std::vector<Note>& notes) {
  const size_t colon = word.find(':');
  if (colon == std::string_view::npos) Refuse(word, "no length");
  const std::string length(word.substr(colon + 1));
  size_t used = 0;
  double beats = 0;
  try {
    beats = std::stod(length, &used);
  } catch (const std::exception&) {
  }
  if (used != length.size() || !(beats > 0)) Refuse(word, "not a length in beats");
  std::string_view pitches = word.substr(0, colon);
  while (pitches != "-") {
    const size_t plus = pitches.find('+');
    notes.push_back({beat, beats, PitchHz(pitches.substr(0, plus))});
    if (plus == std::string_view::npos) break;
    pitches.remove_prefix(plus + 1);
  }
  beat += beats;
}

double Seconds(const Piece& piece, double beats) {
  return beats * 60.0 / piece.bpm;
}

// Each note of each part, placed at every offset (seconds) given.
void Play(const Piece& piece, std::span<const double> offsets, StereoTrack& track) {
  for (const Part& part : piece.parts) {
    for (const Note& note : ParsePart(part.notes, piece.beatsPerBar)) {
      const std::vector<float> sound =
          part.instrument(note.hz, Seconds(piece, note.beats * part.hold), track.Rate());
      for (double offset : offsets) {
        const double at = offset + Seconds(piece, note.beat);
        if (at >= 0) track.Mix(sound, at, part.gain, part.pan);
      }
    }
  }
  if (piece.reverbWet > 0) AddReverb(track, piece.reverbSeconds, piece.reverbWet);
}

}  // namespace

std::vector<Note> ParsePart(std::string_view text, int beatsPerBar) {
  std::vector<Note> notes;
  double beat = 0;
  while (!text.empty()) {
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    text.remove_prefix(start);
    const std::string_view word = text.substr(0, text.find(' '));
    text.remove_prefix(word.size());
    if (word != "|") {
      AddWord(word, beat, notes);
    } else if (std::fmod(beat, beatsPerBar) != 0) {
      Refuse(word, "a bar line inside a bar, at beat " + std::to_string(beat));
    }
  }
  return notes;
}

LoopedMusic RenderLoop(const Piece& piece, int32_t rate, float peak) {
  const double bar = Seconds(piece, piece.beatsPerBar);
  const double loop = bar * piece.bars;
  LoopedMusic music{StereoTrack(rate, bar + loop + kPastLoopEnd), bar, bar + loop};
  // The last bar as the lead-in, the loop, and the start of its repeat.
  const std::array<double, 3> offsets = {bar - loop, bar, bar + loop};
  Play(piece, offsets, music.track);
  music.track.Normalize(peak);
  return music;
}

StereoTrack RenderOnce(const Piece& piece, double tailSeconds, int32_t rate, float peak) {
  double end = 0;
  for (const Part& part : piece.parts) {
    for (const Note& note : ParsePart(part.notes, piece.beatsPerBar)) {
      end = std::max(end, note.beat + note.beats);
    }
  }
  StereoTrack track(rate, Seconds(piece, end) + tailSeconds);
  const std::array<double, 1> offsets = {0};
  Play(piece, offsets, track);
  track.Normalize(peak);
  return track;
}

}  // namespace mavu::demo
