#include <emmintrin.h>

#include "imaging/pixel_kernels_simd.h"

// SSE2 is part of every x86-64 processor: four pixels per register.
namespace mavu::imaging::kernels {
namespace {

struct Sse2 {
  using Reg = __m128i;
  static constexpr int kPixels = 4;

  static Reg Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const Reg*>(p)); }
  static void Store(uint32_t* p, Reg v) { _mm_storeu_si128(reinterpret_cast<Reg*>(p), v); }
  static Reg Zero() { return _mm_setzero_si128(); }
  static Reg Set1_32(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  static Reg Set1_16(int v) { return _mm_set1_epi16(static_cast<int16_t>(v)); }
  static Reg Set4x16(int b, int g, int r, int a) {
    return _mm_setr_epi16(static_cast<int16_t>(b), static_cast<int16_t>(g), static_cast<int16_t>(r),
                          static_cast<int16_t>(a), static_cast<int16_t>(b), static_cast<int16_t>(g),
                          static_cast<int16_t>(r), static_cast<int16_t>(a));
  }
  static Reg WidenLo(Reg v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
  static Reg WidenHi(Reg v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }
  static Reg Narrow(Reg lo, Reg hi) { return _mm_packus_epi16(lo, hi); }
  static Reg Add16(Reg a, Reg b) { return _mm_add_epi16(a, b); }
  static Reg Sub16(Reg a, Reg b) { return _mm_sub_epi16(a, b); }
  static Reg Mullo16(Reg a, Reg b) { return _mm_mullo_epi16(a, b); }
  static Reg AddUs8(Reg a, Reg b) { return _mm_adds_epu8(a, b); }
  static Reg AddUs16(Reg a, Reg b) { return _mm_adds_epu16(a, b); }
  static Reg Min16(Reg a, Reg b) { return _mm_min_epi16(a, b); }
  static Reg Max16(Reg a, Reg b) { return _mm_max_epi16(a, b); }
  template <int N>
  static Reg Srl16(Reg v) {
    return _mm_srli_epi16(v, N);
  }
  template <int N>
  static Reg Sra16(Reg v) {
    return _mm_srai_epi16(v, N);
  }
  template <int N>
  static Reg Sll16(Reg v) {
    return _mm_slli_epi16(v, N);
  }
  template <int N>
  static Reg Sll32(Reg v) {
    return _mm_slli_epi32(v, N);
  }
  static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
  static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
  static Reg AndNot(Reg a, Reg b) { return _mm_andnot_si128(a, b); }
  // Whole-register tests for the shortcuts of transparent and opaque blocks.
  static bool AllSet(Reg m) { return _mm_movemask_epi8(m) == 0xFFFF; }
  static bool AllZero(Reg v) { return AllSet(_mm_cmpeq_epi32(v, _mm_setzero_si128())); }
  static Reg CmpEq32(Reg a, Reg b) { return _mm_cmpeq_epi32(a, b); }
  // Exchanges the two pixels of every pair.
  static Reg SwapPairs(Reg v) { return _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)); }
  // Each pixel's alpha lane copied into its four lanes (16-bit form).
  static Reg BroadcastAlpha16(Reg v) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, _MM_SHUFFLE(3, 3, 3, 3)),
                               _MM_SHUFFLE(3, 3, 3, 3));
  }
};

}  // namespace

const Table* Sse2Table() {
  static const Table table = simd::MakeTable<Sse2>("sse2");
  return &table;
}

}  // namespace mavu::imaging::kernels
