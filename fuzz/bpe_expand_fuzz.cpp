#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "resource/bpe.h"

// Expands arbitrary bytes as a packed stream and as head-less blocks. Whatever
// expands must survive a compress/expand round trip unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> input(data, size);
  if (auto expanded = mavu::resource::BpeExpand(input)) {
    auto again = mavu::resource::BpeExpand(mavu::resource::BpeCompress(*expanded));
    if (!again || *again != *expanded) std::abort();
  }
  const uint32_t length = static_cast<uint32_t>(size * 4);
  mavu::resource::BpeExpandBlocks(input, length, (size & 1) != 0);
  return 0;
}
