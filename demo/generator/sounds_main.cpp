// mavu-demo-sounds OUT_DIR: makes the demo game's music and sound effects as
// Ogg Vorbis files. What the game loads goes below OUT_DIR/pack; the click
// that the button animation embeds goes to OUT_DIR/art.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "demo_music.h"
#include "loop_block.h"
#include "output_file.h"
#include "vorbis_encoder.h"

namespace {

using namespace mavu;
namespace fs = std::filesystem;

// Everything at the mixer's rate: the engine widens 22050 Hz sound by
// repeating samples, which would mirror a bright click near 20 kHz.
constexpr int32_t kRate = 44100;
constexpr float kQuality = 0.5f;  // about 160 kbit/s for music
constexpr int32_t kSerial = 1;
constexpr size_t kChunkFrames = 4096;
// Peaks in full scale: music at -6 dB, the effects below it.
constexpr float kMusicPeak = 0.5f;
constexpr float kStarPeak = 0.35f;
constexpr float kClickPeak = 0.25f;
constexpr double kJingleTail = 2.0;
constexpr double kStarTail = 1.5;
constexpr double kClickTail = 0.12;

// Mono takes the left side.
base::Bytes Encode(const demo::StereoTrack& track, int32_t channels) {
  tools::VorbisEncoder encoder(channels, track.Rate(), kQuality, kSerial);
  const std::span<const float> left = track.Left();
  const std::span<const float> right = track.Right();
  for (size_t start = 0; start < track.Frames(); start += kChunkFrames) {
    const size_t frames = std::min(kChunkFrames, track.Frames() - start);
    float** buffer = encoder.Buffer(static_cast<int32_t>(frames));
    std::copy_n(left.begin() + static_cast<ptrdiff_t>(start), frames, buffer[0]);
    if (channels == 2)
      std::copy_n(right.begin() + static_cast<ptrdiff_t>(start), frames, buffer[1]);
    encoder.Wrote(static_cast<int32_t>(frames));
  }
  return encoder.Finish();
}

// Music that loops from its end back to the end of its lead-in, for ever.
base::Bytes LoopedOgg(const demo::Piece& piece) {
  const demo::LoopedMusic music = demo::RenderLoop(piece, kRate, kMusicPeak);
  const tools::LoopEntry loop{static_cast<float>(music.loopStart),
                              static_cast<float>(music.loopEnd), -1};
  return tools::WithLoopHeader(std::span(&loop, 1), Encode(music.track, 2));
}

bool Write(const fs::path& path, const base::Bytes& bytes) {
  return demo::WriteOutput("mavu-demo-sounds", path, bytes);
}

bool WriteAll(const fs::path& out) {
  const fs::path pack = out / "pack";
  return Write(pack / "bgm" / "title.ogg", LoopedOgg(demo::TitleTheme())) &&
         Write(pack / "bgm" / "rooftop.ogg", LoopedOgg(demo::RooftopTheme())) &&
         Write(pack / "bgm" / "ending.ogg",
               Encode(RenderOnce(demo::EndingJingle(), kJingleTail, kRate, kMusicPeak), 2)) &&
         Write(pack / "se" / "star.ogg",
               Encode(RenderOnce(demo::ShootingStar(), kStarTail, kRate, kStarPeak), 2)) &&
         Write(out / "art" / "click.ogg",
               Encode(RenderOnce(demo::ButtonClick(), kClickTail, kRate, kClickPeak), 1));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mavu-demo-sounds OUT_DIR\n");
    return 2;
  }
  try {
    return WriteAll(argv[1]) ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mavu-demo-sounds: %s\n", e.what());
    return 1;
  }
}
