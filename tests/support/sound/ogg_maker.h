#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "loop_block.h"

namespace mavu::test {

// A sine tone, or silence, to encode.
struct ToneSpec {
  int32_t rate = 44100;
  int32_t channels = 2;
  double seconds = 1.0;         // of tone, after the leading silence
  double frequency = 440.0;     // Hz; 0 = silence
  double amplitude = 0.5;       // of full scale
  double leadingSilence = 0.0;  // seconds of silence before the tone
  int32_t serial = 1;           // of the Ogg stream; files chained need different ones
  double noise = 0.0;           // white noise of this amplitude on each side, for a denser stream
};

// A complete Ogg Vorbis file in memory, encoded with libvorbisenc (VBR).
base::Bytes MakeOgg(const ToneSpec& spec);

// Music files with loop points.
using tools::LoopEntry;
using tools::WithLoopHeader;

// Recomputes the checksum of every complete Ogg page found in `file`, so that
// bytes changed inside pages (by a test or a fuzzer) reach the decoder instead
// of having libogg drop the page.
void RepairPageChecksums(base::Bytes& file);

// A whole file decoded with libvorbisfile: interleaved 16-bit samples.
struct DecodedOgg {
  int32_t rate = 0;
  int32_t channels = 0;
  std::vector<int16_t> samples;
};
// Throws std::runtime_error when the bytes are not Ogg Vorbis.
DecodedOgg DecodeOgg(std::span<const uint8_t> file);

// The full path of a file of Debian's sound-theme-freedesktop (real files made
// by others, at 8000 to 96000 Hz); tests skip when it is not there.
std::string FreedesktopSound(std::string_view name);

}  // namespace mavu::test
