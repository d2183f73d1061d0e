#include <algorithm>

#include "imaging/pixel_kernels.h"

// One channel at a time, written as directly as the formulas read. This is
// the reference the vector kernels are tested against, and the fallback on
// processors without them.
namespace mavu::imaging::kernels {
namespace {

int Channel(uint32_t pixel, int c) {
  return static_cast<int>((pixel >> (8 * c)) & 0xFF);
}
int Alpha(uint32_t pixel) {
  return Channel(pixel, 3);
}
int Sat(int v) {
  return std::clamp(v, 0, 255);
}
// Arithmetic shift, rounding toward minus infinity as the packed shift does.
int Sar(int v, int bits) {
  return v >> bits;
}

template <class F>
uint32_t PerChannel(F f) {
  uint32_t out = 0;
  for (int c = 0; c < 4; ++c) out |= static_cast<uint32_t>(f(c)) << (8 * c);
  return out;
}

int LerpChannel(int d, int s, int w) {
  return Sat(d + Sar((s - d) * w, 7));
}

uint32_t LerpPixel(uint32_t d, uint32_t s, int w) {
  return PerChannel([&](int c) { return LerpChannel(Channel(d, c), Channel(s, c), w); });
}

template <class F>
void ForEach(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
             F f) {
  for (int i = 0; i < pairs * 2; ++i) {
    out[i] = f(d[i], s ? s[i] : 0u, m ? m[i] : 0u);
  }
}

void Copy(uint32_t* out, const uint32_t*, const uint32_t* s, const uint32_t*, int pairs,
          const Params&) {
  std::copy(s, s + pairs * 2, out);
}

void Lerp(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
          const Params& p) {
  int w = static_cast<int>(p.weight);
  ForEach(out, d, s, m, pairs,
          [&](uint32_t dp, uint32_t sp, uint32_t) { return LerpPixel(dp, sp, w); });
}

void AddSat(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
            const Params&) {
  ForEach(out, d, s, m, pairs, [](uint32_t dp, uint32_t sp, uint32_t) {
    return PerChannel([&](int c) { return std::min(255, Channel(dp, c) + Channel(sp, c)); });
  });
}

void AddScaled(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
               const Params& p) {
  int a = static_cast<int>(p.weight);
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t sp, uint32_t) {
    return PerChannel(
        [&](int c) { return std::min(255, Channel(dp, c) + ((Channel(sp, c) * a) >> 8)); });
  });
}

void Multiply(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
              const Params& p) {
  int a = static_cast<int>(p.weight);
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t sp, uint32_t) {
    return PerChannel([&](int c) {
      int t = 255 - (((255 - Channel(sp, c)) * a) >> 8);
      return (t * Channel(dp, c)) >> 8;
    });
  });
}

int InvertChannel(int d, int w) {
  return Sat(d + Sar(((255 - d) - d) * w, 7));
}

void Exclusion(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
               const Params& p) {
  int a = static_cast<int>(p.weight);
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t sp, uint32_t) {
    return PerChannel(
        [&](int c) { return InvertChannel(Channel(dp, c), (Channel(sp, c) * a) >> 9); });
  });
}

void AlphaOpaque(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t*, int pairs,
                 const Params&) {
  for (int i = 0; i < pairs * 2; i += 2) {
    if (Alpha(s[i]) == 255 && Alpha(s[i + 1]) == 255) {
      out[i] = s[i];
      out[i + 1] = s[i + 1];
      continue;
    }
    for (int k = i; k < i + 2; ++k) out[k] = LerpPixel(d[k], s[k], Alpha(s[k]) >> 1);
  }
}

void AlphaScaled(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
                 const Params& p) {
  int a = static_cast<int>(p.weight);
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t sp, uint32_t) {
    return LerpPixel(dp, sp, (Alpha(sp) * a) >> 9);
  });
}

void Tint(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
          const Params& p) {
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t sp, uint32_t) {
    uint32_t s2 = PerChannel([&](int c) {
      int s1 = std::min(255, Channel(sp, c) + p.lanes[c]);
      return (s1 * p.lanes2[c]) >> 8;
    });
    return LerpPixel(dp, s2, Alpha(s2) >> 1);
  });
}

void Masked(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
            const Params& p) {
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t sp, uint32_t mp) {
    uint32_t mask = (mp << 24) | 0x00FFFFFFu;
    uint32_t s2 = PerChannel([&](int c) {
      int k = (Channel(mask, c) * p.lanes[c]) >> 8;
      return (k * Channel(sp, c)) >> 8;
    });
    int w = Alpha(s2);
    return PerChannel([&](int c) {
      int sum = Channel(s2, c) * w + Channel(dp, c) * (255 - w);
      return std::min(sum, 65535) >> 8;
    });
  });
}

void RuleWipe(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
              const Params& p) {
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t sp, uint32_t) {
    int w = std::min(255, std::max(0, (Alpha(dp) - p.threshold) * 8)) >> 1;
    return LerpPixel(dp, sp, w);
  });
}

void BlendConst(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
                const Params& p) {
  int keep = static_cast<int>(p.weight);
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t, uint32_t) {
    return PerChannel([&](int c) { return ((Channel(dp, c) * keep) >> 8) + p.lanes[c]; });
  });
}

void AddConst(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
              const Params& p) {
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t, uint32_t) {
    return PerChannel([&](int c) { return std::min(255, Channel(dp, c) + p.lanes[c]); });
  });
}

void MultiplyConst(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m,
                   int pairs, const Params& p) {
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t, uint32_t) {
    return PerChannel([&](int c) { return (Channel(dp, c) * p.lanes[c]) >> 8; });
  });
}

void InvertConst(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
                 const Params& p) {
  ForEach(out, d, s, m, pairs, [&](uint32_t dp, uint32_t, uint32_t) {
    return PerChannel([&](int c) { return InvertChannel(Channel(dp, c), p.lanes[c]); });
  });
}

void Solid(uint32_t* out, const uint32_t*, const uint32_t*, const uint32_t*, int pairs,
           const Params& p) {
  std::fill(out, out + pairs * 2, p.colour);
}

}  // namespace

const Table& ScalarTable() {
  static const Table table{
      "scalar",
      {Copy, Lerp, AddSat, AddScaled, Multiply, Exclusion, AlphaOpaque, AlphaScaled, Tint, Masked,
       RuleWipe, BlendConst, AddConst, MultiplyConst, InvertConst, Solid}};
  return table;
}

}  // namespace mavu::imaging::kernels
