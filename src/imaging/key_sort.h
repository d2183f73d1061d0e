#pragma once

#include <cstdint>
#include <span>

namespace mavu::imaging::detail {

// Ranges of more than this many entries are partitioned; smaller ones are
// finished by selection sort, which is faster on the short runs a frame has.
inline constexpr int kSelectionSortLimit = 64;

// Sorts `order`, a list of indices into `keys`, so that their keys ascend.
// Not stable: callers make their keys unique.
void SortByKey(std::span<uint16_t> order, std::span<const int64_t> keys);

}  // namespace mavu::imaging::detail
