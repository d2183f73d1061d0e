#include "imaging/pixel_kernels.h"

namespace mavu::imaging::kernels {

#if !MAVU_IMAGING_X86_KERNELS
// Other processors run the scalar kernels.
const Table* Sse2Table() {
  return nullptr;
}
const Table* Avx2Table() {
  return nullptr;
}
#endif

const Table& Best() {
  static const Table& best = []() -> const Table& {
    if (const Table* t = Avx2Table()) return *t;
    if (const Table* t = Sse2Table()) return *t;
    return ScalarTable();
  }();
  return best;
}

}  // namespace mavu::imaging::kernels
