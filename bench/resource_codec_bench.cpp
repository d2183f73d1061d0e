#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <random>
#include <string>

#include "base/byte_writer.h"
#include "resource/bpe.h"

// The byte-pair codec against zlib on the two kinds of data the engine packs
// most: script text and 32-bit pictures. Bytes processed are unpacked bytes in
// both directions; "ratio" is packed size over unpacked size.
namespace {

using mavu::base::Bytes;

constexpr size_t kTextSize = 512 * 1024;
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 600;
constexpr int kDeflateLevel = 6;

// Script-like CP932 text: backslash commands, labels and Japanese lines.
Bytes ScriptCorpus() {
  static const char* const kWords[] = {"\x82\xa0", "\x82\xa2", "\x82\xa4", "\x82\xa9", "\x82\xb7",
                                       "\x82\xcc", "\x82\xc9", "\x82\xf0", "\x8e\x84", "\x8d\xa1",
                                       "\x93\xfa", "\x90\xb0", "\x8a\x77", "\x8d\x5a", "\x81\x41",
                                       "\x81\x42", "\x83\x41", "\x83\x4c", "\x83\x8b", "\x90\x6c"};
  static const char* const kCommands[] = {"\\wait 500",
                                          "\\bg \"bg\\school01.png\"",
                                          "\\chara 1,\"chara\\girl_a_smile.b\"",
                                          "\\voice \"v0001\"",
                                          "\\if $flag[3] == 1 \\goto @@branch",
                                          "\\bgm \"bgm03\""};
  std::mt19937 random(1234);
  std::string text;
  int label = 0;
  while (text.size() < kTextSize) {
    const unsigned pick = random() % 10;
    if (pick == 0) {
      text += "@@scene_" + std::to_string(label++) + "\r\n";
    } else if (pick < 4) {
      text += kCommands[random() % std::size(kCommands)];
      text += "\r\n";
    } else {
      text += "\\msg ";
      for (unsigned n = 10 + random() % 30; n > 0; --n)
        text += kWords[random() % std::size(kWords)];
      text += "\r\n";
    }
  }
  text.resize(kTextSize);
  return Bytes(text.begin(), text.end());
}

// 0xAARRGGBB pixels: a gradient sky, flat panels and a noisy band.
Bytes PictureCorpus() {
  std::mt19937 random(99);
  mavu::base::ByteWriter out;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      uint32_t pixel = 0xFF000000u | (uint32_t(x * 255 / kPictureWidth) << 16) |
                       (uint32_t(y * 255 / kPictureHeight) << 8) | 0x80;
      if (y > 400 && x > 100 && x < 700) pixel = 0xC0202040u;
      if (y > 250 && y < 300) pixel ^= random() & 0x0F0F0F;
      out.U32(pixel);
    }
  }
  return out.Take();
}

const Bytes& Corpus(int which) {
  static const Bytes text = ScriptCorpus();
  static const Bytes picture = PictureCorpus();
  return which == 0 ? text : picture;
}

Bytes Deflate(const Bytes& input) {
  uLongf size = compressBound(input.size());
  Bytes out(size);
  if (compress2(out.data(), &size, input.data(), input.size(), kDeflateLevel) != Z_OK) std::abort();
  out.resize(size);
  return out;
}

void Report(benchmark::State& state, size_t unpacked, size_t packed) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * unpacked));
  state.counters["ratio"] = static_cast<double>(packed) / static_cast<double>(unpacked);
  state.SetLabel(state.range(0) == 0 ? "script text" : "32-bit picture");
}

void BM_BpeExpand(benchmark::State& state) {
  const Bytes& input = Corpus(static_cast<int>(state.range(0)));
  const Bytes packed = mavu::resource::BpeCompress(input);
  for (auto _ : state) benchmark::DoNotOptimize(mavu::resource::BpeExpand(packed));
  if (mavu::resource::BpeExpand(packed) != input) state.SkipWithError("round trip failed");
  Report(state, input.size(), packed.size());
}

void BM_ZlibInflate(benchmark::State& state) {
  const Bytes& input = Corpus(static_cast<int>(state.range(0)));
  const Bytes packed = Deflate(input);
  Bytes out(input.size());
  for (auto _ : state) {
    uLongf size = out.size();
    if (uncompress(out.data(), &size, packed.data(), packed.size()) != Z_OK) std::abort();
    benchmark::DoNotOptimize(out.data());
  }
  if (out != input) state.SkipWithError("round trip failed");
  Report(state, input.size(), packed.size());
}

void BM_BpeCompress(benchmark::State& state) {
  const Bytes& input = Corpus(static_cast<int>(state.range(0)));
  size_t packedSize = 0;
  for (auto _ : state) {
    const Bytes packed = mavu::resource::BpeCompress(input);
    packedSize = packed.size();
    benchmark::DoNotOptimize(packed.data());
  }
  Report(state, input.size(), packedSize);
}

void BM_ZlibDeflate(benchmark::State& state) {
  const Bytes& input = Corpus(static_cast<int>(state.range(0)));
  size_t packedSize = 0;
  for (auto _ : state) {
    const Bytes packed = Deflate(input);
    packedSize = packed.size();
    benchmark::DoNotOptimize(packed.data());
  }
  Report(state, input.size(), packedSize);
}

}  // namespace

BENCHMARK(BM_BpeExpand)->Arg(0)->Arg(1);
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(1);
BENCHMARK(BM_BpeCompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
