#include "shell/sound/whole_sound.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/byte_reader.h"
#include "shell/sound/ogg_data.h"
#include "shell/sound/rate_converter.h"
#include "shell/sound/wav_file.h"

namespace mavu::shell {

namespace {

constexpr size_t kMinBytes = 32768;
constexpr size_t kGranule = 1024;

// Sized from the length at the output rate: a 22050 Hz file needs twice the
// bytes its own sample count gives.
size_t BufferBytes(double seconds) {
  const double frames = std::ceil(std::min(seconds, 1e6) * TOggData::kRate);
  const size_t bytes = std::max(static_cast<size_t>(frames) * TOggData::kBytesPerFrame, kMinBytes);
  return std::min((bytes + kGranule - 1) / kGranule, kMaxWholeSoundBytes / kGranule) * kGranule;
}

// Little-endian bytes, padded with silence to the buffer's size.
PcmBuffer Packed(const std::vector<int16_t>& samples, size_t bytes) {
  auto pcm = std::make_shared<base::Bytes>(bytes);
  for (size_t i = 0; i < std::min(samples.size(), bytes / 2); ++i) {
    const auto v = static_cast<uint16_t>(samples[i]);
    (*pcm)[2 * i] = static_cast<uint8_t>(v);
    (*pcm)[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
  return pcm;
}

// Animations may carry plain WAVE sounds as well as Ogg Vorbis.
PcmBuffer DecodeWav(const base::Bytes& file, std::string& error) {
  try {
    const WavSound wav = ReadWav(file);
    RateConverter converter(wav.rate, wav.channels);
    // Only as much input as the longest buffer holds once widened.
    const size_t frames = kMaxWholeSoundBytes / TOggData::kBytesPerFrame *
                              static_cast<size_t>(wav.rate) / TOggData::kRate +
                          1;
    const std::span<const int16_t> input(wav.samples);
    std::vector<int16_t> samples;
    converter.Convert(
        input.first(std::min(input.size(), frames * static_cast<size_t>(wav.channels))), samples);
    converter.Finish(samples);
    return Packed(samples, BufferBytes(static_cast<double>(samples.size() / 2) / TOggData::kRate));
  } catch (const base::FormatError& e) {
    error = e.what();
    return nullptr;
  }
}

}  // namespace

PcmBuffer DecodeWholeSound(base::Bytes file, std::string& error) {
  if (LooksLikeWav(file)) return DecodeWav(file, error);
  TOggData decoder(kMinBytes);
  error = decoder.Open(std::move(file));
  if (!error.empty()) return nullptr;
  std::vector<int16_t> samples(BufferBytes(decoder.TotalSeconds()) / 2);
  decoder.Play(false);
  decoder.DecodeBlock(samples, 0);
  if (decoder.TakeDecodeError()) {
    error = "damaged sound data";
    return nullptr;
  }
  return Packed(samples, samples.size() * 2);
}

}  // namespace mavu::shell
