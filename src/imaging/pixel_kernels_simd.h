#pragma once

#include <cstring>

#include "imaging/pixel_kernels.h"

// The row kernels written once over a vector "traits" type V, instantiated by
// each instruction-set file (pixel_kernels_sse2.cpp, pixel_kernels_avx2.cpp)
// with its own V. A register holds V::kPixels pixels; Widen/Narrow split
// it into two halves of 16-bit lanes and back. Pixels never mix across a
// 128-bit lane, so a pixel pair stays together in every form.
//
// Include only from those files: V is declared in an unnamed namespace there,
// which keeps every instantiation private to its instruction set.
namespace mavu::imaging::kernels::simd {

template <class V>
struct Common {
  using R = typename V::Reg;

  // Applies f to both 16-bit halves of d and s and packs with unsigned
  // saturation, which is the sat() of the formulas.
  template <class F>
  static R Map(R d, R s, F f) {
    return V::Narrow(f(V::WidenLo(d), V::WidenLo(s)), f(V::WidenHi(d), V::WidenHi(s)));
  }
  template <class F>
  static R Map1(R d, F f) {
    return V::Narrow(f(V::WidenLo(d)), f(V::WidenHi(d)));
  }
  // d + (((s - d) * w) >> 7) in 16-bit lanes; (s - d) * w stays within int16 for w <= 127.
  static R Lerp16(R d, R s, R w) {
    return V::Add16(d, V::template Sra16<7>(V::Mullo16(V::Sub16(s, d), w)));
  }
  // d + (((255 - 2d) * w) >> 7)
  static R Invert16(R d, R w) {
    R towards = V::Sub16(V::Set1_16(255), V::Add16(d, d));
    return V::Add16(d, V::template Sra16<7>(V::Mullo16(towards, w)));
  }
  static R Lanes16(const std::array<uint16_t, 4>& lanes) {
    return V::Set4x16(lanes[0], lanes[1], lanes[2], lanes[3]);
  }
};

template <class V>
struct LerpK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = false;
  R w;
  explicit LerpK(const Params& p) : w(V::Set1_16(static_cast<int>(p.weight))) {}
  R operator()(R d, R s, R) const {
    return Common<V>::Map(d, s, [this](R dl, R sl) { return Common<V>::Lerp16(dl, sl, w); });
  }
};

template <class V>
struct AddSatK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = false;
  explicit AddSatK(const Params&) {}
  R operator()(R d, R s, R) const { return V::AddUs8(d, s); }
};

template <class V>
struct AddScaledK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = false;
  R a;
  explicit AddScaledK(const Params& p) : a(V::Set1_16(static_cast<int>(p.weight))) {}
  R operator()(R d, R s, R) const {
    R scaled = Common<V>::Map1(s, [this](R sl) { return V::template Srl16<8>(V::Mullo16(sl, a)); });
    return V::AddUs8(d, scaled);
  }
};

template <class V>
struct MultiplyK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = false;
  R a, full;
  explicit MultiplyK(const Params& p)
      : a(V::Set1_16(static_cast<int>(p.weight))), full(V::Set1_16(255)) {}
  R operator()(R d, R s, R) const {
    return Common<V>::Map(d, s, [this](R dl, R sl) {
      R t = V::Sub16(full, V::template Srl16<8>(V::Mullo16(V::Sub16(full, sl), a)));
      return V::template Srl16<8>(V::Mullo16(t, dl));
    });
  }
};

template <class V>
struct ExclusionK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = false;
  R a;
  explicit ExclusionK(const Params& p) : a(V::Set1_16(static_cast<int>(p.weight))) {}
  R operator()(R d, R s, R) const {
    return Common<V>::Map(d, s, [this](R dl, R sl) {
      return Common<V>::Invert16(dl, V::template Srl16<9>(V::Mullo16(sl, a)));
    });
  }
};

// Registers whose source pixels are all transparent leave the destination as
// it is; the kernels that allow it say so with kMaySkip and Untouched().
template <class V>
bool AllTransparent(typename V::Reg s) {
  return V::AllZero(V::And(s, V::Set1_32(0xFF000000u)));
}

template <class V>
struct AlphaOpaqueK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = false, kMaySkip = true;
  explicit AlphaOpaqueK(const Params&) {}
  static bool Untouched(R s) { return AllTransparent<V>(s); }
  R operator()(R d, R s, R) const {
    R alpha = V::Set1_32(0xFF000000u);
    if (V::AllSet(V::CmpEq32(V::And(s, alpha), alpha))) return s;
    R blended = Common<V>::Map(d, s, [](R dl, R sl) {
      return Common<V>::Lerp16(dl, sl, V::template Srl16<1>(V::BroadcastAlpha16(sl)));
    });
    // Pairs whose two source pixels are both opaque are copied as they are.
    R opaque = V::CmpEq32(V::And(s, alpha), alpha);
    R pair = V::And(opaque, V::SwapPairs(opaque));
    return V::Or(V::And(pair, s), V::AndNot(pair, blended));
  }
};

template <class V>
struct AlphaScaledK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = false, kMaySkip = true;
  R a;
  explicit AlphaScaledK(const Params& p) : a(V::Set1_16(static_cast<int>(p.weight))) {}
  static bool Untouched(R s) { return AllTransparent<V>(s); }
  R operator()(R d, R s, R) const {
    return Common<V>::Map(d, s, [this](R dl, R sl) {
      R w = V::template Srl16<9>(V::Mullo16(V::BroadcastAlpha16(sl), a));
      return Common<V>::Lerp16(dl, sl, w);
    });
  }
};

template <class V>
struct TintK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = false, kMaySkip = true;
  static bool Untouched(R s) { return AllTransparent<V>(s); }
  R lo, hi;
  explicit TintK(const Params& p)
      : lo(V::Set1_32(static_cast<uint32_t>(p.lanes[0] | p.lanes[1] << 8 | p.lanes[2] << 16 |
                                            p.lanes[3] << 24))),
        hi(Common<V>::Lanes16(p.lanes2)) {}
  R operator()(R d, R s, R) const {
    R s1 = V::AddUs8(s, lo);
    return Common<V>::Map(d, s1, [this](R dl, R s1l) {
      R s2 = V::template Srl16<8>(V::Mullo16(s1l, hi));
      return Common<V>::Lerp16(dl, s2, V::template Srl16<1>(V::BroadcastAlpha16(s2)));
    });
  }
};

template <class V>
struct MaskedK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = true;
  R colour, full;
  explicit MaskedK(const Params& p) : colour(Common<V>::Lanes16(p.lanes)), full(V::Set1_16(255)) {}
  R operator()(R d, R s, R m) const {
    // The mask word: its alpha is the mask pixel's blue byte, its colour white.
    R word = V::Or(V::template Sll32<24>(m), V::Set1_32(0x00FFFFFFu));
    R k = Common<V>::Map1(word,
                          [this](R ml) { return V::template Srl16<8>(V::Mullo16(ml, colour)); });
    R s2 =
        Common<V>::Map(k, s, [](R kl, R sl) { return V::template Srl16<8>(V::Mullo16(kl, sl)); });
    return Common<V>::Map(d, s2, [this](R dl, R s2l) {
      R w = V::BroadcastAlpha16(s2l);
      R sum = V::AddUs16(V::Mullo16(s2l, w), V::Mullo16(dl, V::Sub16(full, w)));
      return V::template Srl16<8>(sum);
    });
  }
};

template <class V>
struct RuleWipeK {
  using R = typename V::Reg;
  static constexpr bool kSource = true, kMask = false;
  R threshold, full;
  explicit RuleWipeK(const Params& p) : threshold(V::Set1_16(p.threshold)), full(V::Set1_16(255)) {}
  R operator()(R d, R s, R) const {
    return Common<V>::Map(d, s, [this](R dl, R sl) {
      R ramp = V::template Sll16<3>(V::Sub16(V::BroadcastAlpha16(dl), threshold));
      R w = V::template Srl16<1>(V::Min16(full, V::Max16(V::Zero(), ramp)));
      return Common<V>::Lerp16(dl, sl, w);
    });
  }
};

template <class V>
struct BlendConstK {
  using R = typename V::Reg;
  static constexpr bool kSource = false, kMask = false;
  R keep, add;
  explicit BlendConstK(const Params& p)
      : keep(V::Set1_16(static_cast<int>(p.weight))), add(Common<V>::Lanes16(p.lanes)) {}
  R operator()(R d, R, R) const {
    return Common<V>::Map1(
        d, [this](R dl) { return V::Add16(V::template Srl16<8>(V::Mullo16(dl, keep)), add); });
  }
};

template <class V>
struct AddConstK {
  using R = typename V::Reg;
  static constexpr bool kSource = false, kMask = false;
  R add;
  explicit AddConstK(const Params& p)
      : add(V::Set1_32(static_cast<uint32_t>(p.lanes[0] | p.lanes[1] << 8 | p.lanes[2] << 16 |
                                             p.lanes[3] << 24))) {}
  R operator()(R d, R, R) const { return V::AddUs8(d, add); }
};

template <class V>
struct MultiplyConstK {
  using R = typename V::Reg;
  static constexpr bool kSource = false, kMask = false;
  R factor;
  explicit MultiplyConstK(const Params& p) : factor(Common<V>::Lanes16(p.lanes)) {}
  R operator()(R d, R, R) const {
    return Common<V>::Map1(d,
                           [this](R dl) { return V::template Srl16<8>(V::Mullo16(dl, factor)); });
  }
};

template <class V>
struct InvertConstK {
  using R = typename V::Reg;
  static constexpr bool kSource = false, kMask = false;
  R w;
  explicit InvertConstK(const Params& p) : w(Common<V>::Lanes16(p.lanes)) {}
  R operator()(R d, R, R) const {
    return Common<V>::Map1(d, [this](R dl) { return Common<V>::Invert16(dl, w); });
  }
};

template <class V>
struct SolidK {
  using R = typename V::Reg;
  static constexpr bool kSource = false, kMask = false;
  R colour;
  explicit SolidK(const Params& p) : colour(V::Set1_32(p.colour)) {}
  R operator()(R, R, R) const { return colour; }
};

template <class Kernel>
constexpr bool MaySkip() {
  if constexpr (requires { Kernel::kMaySkip; }) {
    return Kernel::kMaySkip;
  } else {
    return false;
  }
}

// Whole registers first; the last pixels (fewer than a register) go through
// a zero-padded copy so that nothing outside the row is read or written.
template <class V, template <class> class K>
void Run(uint32_t* out, const uint32_t* d, const uint32_t* s, const uint32_t* m, int pairs,
         const Params& params) {
  using R = typename V::Reg;
  using Kernel = K<V>;
  const Kernel kernel(params);
  const int n = pairs * 2;
  int i = 0;
  for (; i + V::kPixels <= n; i += V::kPixels) {
    R sv = Kernel::kSource ? V::Load(s + i) : V::Zero();
    if constexpr (MaySkip<Kernel>()) {
      if (out == d && Kernel::Untouched(sv)) continue;
    }
    R mv = Kernel::kMask ? V::Load(m + i) : V::Zero();
    V::Store(out + i, kernel(V::Load(d + i), sv, mv));
  }
  if (i == n) return;
  uint32_t dt[V::kPixels] = {}, st[V::kPixels] = {}, mt[V::kPixels] = {}, ot[V::kPixels];
  size_t bytes = static_cast<size_t>(n - i) * 4;
  std::memcpy(dt, d + i, bytes);
  if (Kernel::kSource) std::memcpy(st, s + i, bytes);
  if (Kernel::kMask) std::memcpy(mt, m + i, bytes);
  V::Store(ot, kernel(V::Load(dt), V::Load(st), V::Load(mt)));
  std::memcpy(out + i, ot, bytes);
}

template <class V>
void CopyRow(uint32_t* out, const uint32_t*, const uint32_t* s, const uint32_t*, int pairs,
             const Params&) {
  std::memmove(out, s, static_cast<size_t>(pairs) * 8);
}

template <class V>
Table MakeTable(const char* name) {
  return Table{name,
               {CopyRow<V>, Run<V, LerpK>, Run<V, AddSatK>, Run<V, AddScaledK>, Run<V, MultiplyK>,
                Run<V, ExclusionK>, Run<V, AlphaOpaqueK>, Run<V, AlphaScaledK>, Run<V, TintK>,
                Run<V, MaskedK>, Run<V, RuleWipeK>, Run<V, BlendConstK>, Run<V, AddConstK>,
                Run<V, MultiplyConstK>, Run<V, InvertConstK>, Run<V, SolidK>}};
}

}  // namespace mavu::imaging::kernels::simd
