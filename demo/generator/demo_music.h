#pragma once

#include "score.h"

// The demo's music and sound effects, as scores.
namespace mavu::demo {

// The title, a starry night: a music box over a soft electric piano, a pad
// and a round bass, D major, 75 beats a minute, four bars and a lead-in.
Piece TitleTheme();
// The rooftop at sunset: a nylon guitar and an ocarina over a low pad, F
// major in three-four time, 90 beats a minute, eight bars on a falling bass.
Piece RooftopTheme();
// The end card: a rising music-box arpeggio that settles on the tonic.
Piece EndingJingle();
// A shooting star: a quick sparkle up two octaves.
Piece ShootingStar();
// The buttons' click: one soft tick.
Piece ButtonClick();

}  // namespace mavu::demo
