#pragma once

#include "stereo_track.h"

namespace mavu::demo {

// Adds a room to the track: a feedback delay network of eight lines mixed by
// a Hadamard matrix, each darkened a little on every pass. The reverberation
// falls by 60 dB in `seconds`; `wet` is its level against the dry sound.
// Each side is fed from both, and hears its own half of the lines.
void AddReverb(StereoTrack& track, double seconds, float wet);

}  // namespace mavu::demo
