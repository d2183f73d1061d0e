#pragma once

#include <array>
#include <cstdint>

// Row kernels behind every draw, fill and effect of TARGB8888. Each works on
// `pairs` pixel pairs (2 x pairs pixels) and writes out[i] = f(d[i], s[i], m[i]):
//   d  the destination as read (or the first input of an effect),
//   s  the source (or the second input), unused by the fills,
//   m  the mask row of masked draws.
// `out` may equal `d`. Channels are B, G, R, A alike unless said otherwise;
// all arithmetic is the packed 16-bit integer arithmetic the results are
// defined by, so every implementation gives the same bits.
namespace mavu::imaging::kernels {

enum class Op : uint8_t {
  kCopy,           // out = s
  kLerp,           // out = sat(d + (((s - d) * weight) >> 7))
  kAddSat,         // out = min(255, d + s)
  kAddScaled,      // out = min(255, d + ((s * weight) >> 8))
  kMultiply,       // t = 255 - (((255 - s) * weight) >> 8); out = (t * d) >> 8
  kExclusion,      // w = (s * weight) >> 9; out = sat(d + (((255 - 2d) * w) >> 7))
  kAlphaOpaque,    // pair with both source alphas 255 copied, else w = sA >> 1 as kLerp
  kAlphaScaled,    // w = (sA * weight) >> 9, as kLerp
  kTint,           // s1 = min(255, s + lanes); s2 = (s1 * lanes2) >> 8; w = s2A >> 1, as kLerp
  kMasked,         // k = (M * lanes) >> 8 with M = (mB, 255, 255, 255) as (A, R, G, B);
                   // s2 = (k * s) >> 8; w = s2A; out = (s2 * w + d * (255 - w)) >> 8
  kRuleWipe,       // w = min(255, max(0, (dA - threshold) * 8)) >> 1, as kLerp
  kBlendConst,     // out = ((d * weight) >> 8) + lanes
  kAddConst,       // out = min(255, d + lanes)
  kMultiplyConst,  // out = (d * lanes) >> 8
  kInvertConst,    // out = sat(d + (((255 - 2d) * lanes) >> 7))
  kSolid,          // out = colour
  kCount,
};

inline constexpr int kOpCount = static_cast<int>(Op::kCount);

// Per-draw constants, set up once outside the pixel loops. Lane order is the
// memory order of a pixel: B, G, R, A.
struct Params {
  uint32_t weight = 0;
  int32_t threshold = 0;
  uint32_t colour = 0;
  std::array<uint16_t, 4> lanes{};
  std::array<uint16_t, 4> lanes2{};
};

using RowFn = void (*)(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m,
                       int pairs, const Params& params);

struct Table {
  const char* name;
  std::array<RowFn, kOpCount> rows;

  RowFn operator[](Op op) const { return rows[static_cast<int>(op)]; }
};

// The plain scalar reference every vector form must match bit for bit.
const Table& ScalarTable();
// Vector forms; null when the processor (or the build) lacks the instructions.
const Table* Sse2Table();
const Table* Avx2Table();
// The fastest form this processor runs, chosen once.
const Table& Best();

}  // namespace mavu::imaging::kernels
