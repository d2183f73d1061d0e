#include "shell/sound/whole_sound.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "shell/sound/ogg_data.h"

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

}  // namespace

PcmBuffer DecodeWholeSound(base::Bytes file, std::string& error) {
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
  auto pcm = std::make_shared<base::Bytes>(samples.size() * 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    const auto v = static_cast<uint16_t>(samples[i]);
    (*pcm)[2 * i] = static_cast<uint8_t>(v);
    (*pcm)[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
  return pcm;
}

}  // namespace mavu::shell
