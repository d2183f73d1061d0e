#include "imaging/pixel_kernels.h"

namespace mavu::imaging::kernels {

const Table* Sse2Table() { return nullptr; }
const Table* Avx2Table() { return nullptr; }

const Table& Best() {
  static const Table& best = []() -> const Table& {
    if (const Table* t = Avx2Table()) return *t;
    if (const Table* t = Sse2Table()) return *t;
    return ScalarTable();
  }();
  return best;
}

}  // namespace mavu::imaging::kernels
