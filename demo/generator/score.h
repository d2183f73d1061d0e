#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "instruments.h"
#include "stereo_track.h"

// Music written as text and played by the demo's instruments.
namespace mavu::demo {

// One note of a part: from `beat` for `beats`, at `hz`.
struct Note {
  double beat;
  double beats;
  double hz;
};

// A part is written as words separated by spaces: a note "A4:1" (name,
// optional # or b, octave, then a colon and its length in beats), a chord
// "D4+F#4+A4:4" (notes that start and end together), a rest "-:1", and bar
// lines "|", which must fall on the bars. Throws std::invalid_argument with
// the word that is wrong.
std::vector<Note> ParsePart(std::string_view text, int beatsPerBar);

struct Part {
  Instrument instrument;
  std::string_view notes;
  float gain;
  float pan;          // -1 left .. 1 right
  double hold = 1.0;  // how long a note is held, in its own lengths (strings ring on)
};

struct Piece {
  double bpm;
  int beatsPerBar;
  int bars;
  std::vector<Part> parts;
  double reverbSeconds;  // to fall by 60 dB
  float reverbWet;       // 0: dry
};

// Music that repeats without a seam: the last bar is played first, as a
// lead-in, then all bars; the loop runs from the end of that lead-in
// (`loopStart`) to `loopEnd` and back. What the lead-in leaves ringing at
// the loop's start is what the last bar leaves ringing at its end, so the
// jump cannot be heard, as long as only the last bar rings past the loop's
// end: every other note must have died away (release and room) by then.
// The track goes on a little past `loopEnd`, so that the jump falls inside
// the file.
struct LoopedMusic {
  StereoTrack track;
  double loopStart;
  double loopEnd;
};
LoopedMusic RenderLoop(const Piece& piece, int32_t rate, float peak);

// The piece played once, with `tailSeconds` after its last note to ring out
// (its bar count does not matter).
StereoTrack RenderOnce(const Piece& piece, double tailSeconds, int32_t rate, float peak);

}  // namespace mavu::demo
