#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace mavu::shell {

// The samples of a RIFF WAVE file: 8- or 16-bit PCM, mono or stereo, any
// rate, as interleaved signed 16-bit samples.
struct WavSound {
  int32_t rate = 0;
  int32_t channels = 0;
  std::vector<int16_t> samples;
};

// True when the bytes start as a RIFF WAVE file.
bool LooksLikeWav(std::span<const uint8_t> file);
// Throws base::FormatError for anything else, or a file whose chunks lie.
WavSound ReadWav(std::span<const uint8_t> file);

}  // namespace mavu::shell
