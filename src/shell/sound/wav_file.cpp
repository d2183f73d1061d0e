#include "shell/sound/wav_file.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "base/byte_reader.h"

namespace mavu::shell {

namespace {

constexpr uint16_t kPcm = 1;
constexpr size_t kFmtSize = 16;

struct Format {
  int32_t channels = 0;
  int32_t rate = 0;
  int32_t bits = 0;
};

Format ReadFormat(base::ByteReader& in, uint32_t size) {
  if (size < kFmtSize) throw base::FormatError("WAVE format chunk too short");
  const size_t end = in.Position() + size;
  if (in.U16() != kPcm) throw base::FormatError("WAVE data is not plain PCM");
  Format f;
  f.channels = in.U16();
  f.rate = static_cast<int32_t>(in.U32());
  in.Skip(6);  // byte rate, block align
  f.bits = in.U16();
  in.Seek(end);
  if ((f.channels != 1 && f.channels != 2) || (f.bits != 8 && f.bits != 16) || f.rate <= 0) {
    throw base::FormatError("WAVE format not playable");
  }
  return f;
}

std::vector<int16_t> ReadSamples(base::ByteReader& in, uint32_t size, const Format& f) {
  if (size > in.Remaining()) throw base::FormatError("WAVE data chunk larger than the file");
  const size_t frameBytes = static_cast<size_t>(f.channels * f.bits / 8);
  const size_t count = size / frameBytes * static_cast<size_t>(f.channels);
  std::vector<int16_t> samples(count);
  for (int16_t& s : samples) {
    s = f.bits == 16 ? static_cast<int16_t>(in.U16()) : static_cast<int16_t>((in.U8() - 128) << 8);
  }
  return samples;
}

}  // namespace

bool LooksLikeWav(std::span<const uint8_t> file) {
  return file.size() >= 12 &&
         std::string_view(reinterpret_cast<const char*>(file.data()), 4) == "RIFF" &&
         std::string_view(reinterpret_cast<const char*>(file.data()) + 8, 4) == "WAVE";
}

WavSound ReadWav(std::span<const uint8_t> file) {
  if (!LooksLikeWav(file)) throw base::FormatError("not a RIFF WAVE file");
  base::ByteReader in(file);
  in.Seek(12);
  std::optional<Format> format;
  while (in.Remaining() >= 8) {
    const std::string tag = in.Text(4);
    const uint32_t size = in.U32();
    if (tag == "fmt ") {
      format = ReadFormat(in, size);
    } else if (tag == "data") {
      if (!format) throw base::FormatError("WAVE data before its format");
      return WavSound{format->rate, format->channels, ReadSamples(in, size, *format)};
    } else {
      // Chunks are padded to even lengths.
      if (size >= in.Remaining()) break;
      in.Skip(std::min<size_t>(size + (size & 1), in.Remaining()));
    }
  }
  throw base::FormatError("WAVE file without data");
}

}  // namespace mavu::shell
