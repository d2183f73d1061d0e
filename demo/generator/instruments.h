#pragma once

#include <cstdint>
#include <vector>

// The demo's instruments. Each renders one note in mono: held for `seconds`,
// then released, so the sound runs a little longer than the note. Soft
// attacks and few, quiet upper partials keep them gentle.
namespace mavu::demo {

using Instrument = std::vector<float> (*)(double hz, double seconds, int32_t rate);

// A music box: a frequency-modulated bell whose brightness dies away first.
std::vector<float> MusicBox(double hz, double seconds, int32_t rate);
// A soft electric piano: frequency modulation at the note's own pitch.
std::vector<float> ElectricPiano(double hz, double seconds, int32_t rate);
// A warm pad: two slightly detuned voices of falling partials, slow to swell.
std::vector<float> Pad(double hz, double seconds, int32_t rate);
// A round bass: a sine and a little of its octave.
std::vector<float> Bass(double hz, double seconds, int32_t rate);
// An ocarina-like lead with a vibrato that comes in as the note is held.
std::vector<float> Ocarina(double hz, double seconds, int32_t rate);
// A short soft tick of two partials, the upper one off the harmonic series.
std::vector<float> Tick(double hz, double seconds, int32_t rate);
// A nylon-string pluck (Karplus-Strong, from fixed noise).
std::vector<float> Pluck(double hz, double seconds, int32_t rate);

}  // namespace mavu::demo
