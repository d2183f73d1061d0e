#include <immintrin.h>

#include "imaging/pixel_kernels_simd.h"

// AVX2: eight pixels per register. This file is compiled with -mavx2 and is
// only used after the processor has been asked whether it has AVX2.
namespace mavu::imaging::kernels {
namespace {

struct Avx2 {
  using Reg = __m256i;
  static constexpr int kPixels = 8;

  static Reg Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const Reg*>(p)); }
  static void Store(uint32_t* p, Reg v) { _mm256_storeu_si256(reinterpret_cast<Reg*>(p), v); }
  static Reg Zero() { return _mm256_setzero_si256(); }
  static Reg Set1_32(uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  static Reg Set1_16(int v) { return _mm256_set1_epi16(static_cast<int16_t>(v)); }
  static Reg Set4x16(int b, int g, int r, int a) {
    uint64_t lanes = static_cast<uint64_t>(b) | static_cast<uint64_t>(g) << 16 |
                     static_cast<uint64_t>(r) << 32 | static_cast<uint64_t>(a) << 48;
    return _mm256_set1_epi64x(static_cast<int64_t>(lanes));
  }
  // Unpacking works within each 128-bit lane, which keeps pixel pairs whole.
  static Reg WidenLo(Reg v) { return _mm256_unpacklo_epi8(v, _mm256_setzero_si256()); }
  static Reg WidenHi(Reg v) { return _mm256_unpackhi_epi8(v, _mm256_setzero_si256()); }
  static Reg Narrow(Reg lo, Reg hi) { return _mm256_packus_epi16(lo, hi); }
  static Reg Add16(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
  static Reg Sub16(Reg a, Reg b) { return _mm256_sub_epi16(a, b); }
  static Reg Mullo16(Reg a, Reg b) { return _mm256_mullo_epi16(a, b); }
  static Reg AddUs8(Reg a, Reg b) { return _mm256_adds_epu8(a, b); }
  static Reg AddUs16(Reg a, Reg b) { return _mm256_adds_epu16(a, b); }
  static Reg Min16(Reg a, Reg b) { return _mm256_min_epi16(a, b); }
  static Reg Max16(Reg a, Reg b) { return _mm256_max_epi16(a, b); }
  template <int N>
  static Reg Srl16(Reg v) {
    return _mm256_srli_epi16(v, N);
  }
  template <int N>
  static Reg Sra16(Reg v) {
    return _mm256_srai_epi16(v, N);
  }
  template <int N>
  static Reg Sll16(Reg v) {
    return _mm256_slli_epi16(v, N);
  }
  template <int N>
  static Reg Sll32(Reg v) {
    return _mm256_slli_epi32(v, N);
  }
  static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
  static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
  static Reg AndNot(Reg a, Reg b) { return _mm256_andnot_si256(a, b); }
  // Whole-register tests for the shortcuts of transparent and opaque blocks.
  static bool AllSet(Reg m) { return _mm256_movemask_epi8(m) == -1; }
  static bool AllZero(Reg v) { return _mm256_testz_si256(v, v) != 0; }
  static Reg CmpEq32(Reg a, Reg b) { return _mm256_cmpeq_epi32(a, b); }
  static Reg SwapPairs(Reg v) { return _mm256_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)); }
  static Reg BroadcastAlpha16(Reg v) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, _MM_SHUFFLE(3, 3, 3, 3)),
                                  _MM_SHUFFLE(3, 3, 3, 3));
  }
};

}  // namespace

const Table* Avx2Table() {
  static const Table* table = []() -> const Table* {
    if (!__builtin_cpu_supports("avx2")) return nullptr;
    static const Table avx2 = simd::MakeTable<Avx2>("avx2");
    return &avx2;
  }();
  return table;
}

}  // namespace mavu::imaging::kernels
