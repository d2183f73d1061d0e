#include "demo_music.h"

namespace mavu::demo {

Piece TitleTheme() {
  return {
      .bpm = 75,
      .beatsPerBar = 4,
      .bars = 4,
      .parts =
          {
              // Dmaj7 | Bm7 | Gmaj7 | Asus4 A
              {Pad, "D4+F#4+A4+C#5:4 | D4+F#4+A4+B4:4 | D4+F#4+G4+B4:4 | D4+E4+A4:2 C#4+E4+A4:2",
               0.07f, 0},
              {Bass, "D2:2 A2:2 | B1:2 F#2:2 | G1:2 D2:2 | A1:2 E2:2", 0.28f, 0},
              {ElectricPiano,
               "D4:0.5 A4:0.5 D5:0.5 F#5:0.5 A4:0.5 F#5:0.5 D5:0.5 A4:0.5 | "
               "B3:0.5 F#4:0.5 B4:0.5 D5:0.5 F#4:0.5 D5:0.5 B4:0.5 F#4:0.5 | "
               "G3:0.5 D4:0.5 F#4:0.5 B4:0.5 D4:0.5 B4:0.5 F#4:0.5 D4:0.5 | "
               "A3:0.5 E4:0.5 A4:0.5 C#5:0.5 E4:0.5 C#5:0.5 A4:0.5 E4:0.5",
               0.1f, -0.35f, 2.0},
              {MusicBox,
               "F#5:1.5 E5:0.5 F#5:1 A5:1 | B5:1.5 A5:0.5 F#5:2 | "
               "G5:1.5 F#5:0.5 D5:1 B4:1 | C#5:1 E5:1 A5:1 G5:0.5 E5:0.5",
               0.34f, 0.2f},
          },
      .reverbSeconds = 2.2,
      .reverbWet = 0.3f,
  };
}

Piece RooftopTheme() {
  return {
      .bpm = 90,
      .beatsPerBar = 3,
      .bars = 8,
      .parts =
          {
              // F | C/E | Dm | Am/C | Bb | F/A | Gm7 | C7
              {Pluck, "F2:3 | E2:3 | D2:3 | C2:3 | Bb1:3 | A1:3 | G1:3 | C2:3", 0.32f, -0.1f},
              {Pluck,
               "-:0.5 C3:0.5 F3:0.5 A3:0.5 C4:0.5 A3:0.5 | "
               "-:0.5 C3:0.5 E3:0.5 G3:0.5 C4:0.5 G3:0.5 | "
               "-:0.5 A2:0.5 D3:0.5 F3:0.5 A3:0.5 F3:0.5 | "
               "-:0.5 A2:0.5 C3:0.5 E3:0.5 A3:0.5 E3:0.5 | "
               "-:0.5 F2:0.5 D3:0.5 F3:0.5 Bb3:0.5 F3:0.5 | "
               "-:0.5 F2:0.5 C3:0.5 F3:0.5 A3:0.5 F3:0.5 | "
               "-:0.5 D3:0.5 F3:0.5 Bb3:0.5 D4:0.5 Bb3:0.5 | "
               "-:0.5 G2:0.5 E3:0.5 G3:0.5 Bb3:0.5 G3:0.5",
               0.2f, 0.3f, 2.5},
              {Pad,
               "F3+A3+C4:3 | E3+G3+C4:3 | D3+F3+A3:3 | C3+E3+A3:3 | D3+F3+Bb3:3 | C3+F3+A3:3 | "
               "D3+F3+G3+Bb3:3 | E3+G3+Bb3+C4:3",
               0.05f, 0},
              {Ocarina,
               "A4:1 C5:1 F5:1 | E5:2 D5:0.5 C5:0.5 | D5:1 F5:1 A5:1 | G5:2 E5:1 | "
               "F5:1 D5:1 Bb4:1 | C5:2 A4:1 | Bb4:1 A4:1 G4:1 | E4:1.5 G4:0.5 Bb4:1",
               0.3f, -0.2f},
          },
      .reverbSeconds = 1.8,
      .reverbWet = 0.25f,
  };
}

Piece EndingJingle() {
  return {
      .bpm = 75,
      .beatsPerBar = 2,
      .bars = 3,
      .parts =
          {
              // Gmaj7 | D
              {Pad, "G3+B3+D4+F#4:2 | D3+A3+D4+F#4+A4:4", 0.07f, 0},
              {Bass, "G2:2 | D2:4", 0.28f, 0},
              {ElectricPiano, "-:2 | A4+D5+F#5:4", 0.1f, -0.3f},
              {MusicBox, "B4:0.5 D5:0.5 F#5:0.5 A5:0.5 | D6:4", 0.34f, 0.2f},
          },
      .reverbSeconds = 2.5,
      .reverbWet = 0.3f,
  };
}

Piece ShootingStar() {
  return {
      .bpm = 150,
      .beatsPerBar = 4,
      .bars = 1,
      .parts = {{MusicBox, "A5:0.25 D6:0.25 F#6:0.25 A6:0.25 D7:1.5", 0.5f, 0}},
      .reverbSeconds = 2.5,
      .reverbWet = 0.45f,
  };
}

Piece ButtonClick() {
  return {
      .bpm = 60,
      .beatsPerBar = 1,
      .bars = 1,
      .parts = {{Tick, "E6:0.05", 1.0f, 0}},
      .reverbSeconds = 0,
      .reverbWet = 0,
  };
}

}  // namespace mavu::demo
