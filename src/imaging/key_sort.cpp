#include "imaging/key_sort.h"

#include <algorithm>
#include <cstddef>

namespace mavu::imaging::detail {
namespace {

using Iter = uint16_t*;

void SelectionSort(Iter first, Iter last, const int64_t* keys) {
  for (; last - first > 1; ++first) {
    Iter smallest = first;
    for (Iter p = first + 1; p != last; ++p) {
      if (keys[*p] < keys[*smallest]) smallest = p;
    }
    std::iter_swap(first, smallest);
  }
}

int64_t MedianOfThree(int64_t a, int64_t b, int64_t c) {
  return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// Hoare partition around a key taken from the range, so both returned parts
// are non-empty: [first, cut) holds keys <= pivot, [cut, last) keys >= pivot.
Iter Partition(Iter first, Iter last, const int64_t* keys) {
  ptrdiff_t n = last - first;
  int64_t pivot = MedianOfThree(keys[first[0]], keys[first[n / 2]], keys[first[n - 1]]);
  ptrdiff_t i = 0, j = n - 1;
  while (true) {
    while (keys[first[i]] < pivot) ++i;
    while (keys[first[j]] > pivot) --j;
    if (i >= j) return first + j + 1;
    std::swap(first[i], first[j]);
    ++i;
    --j;
  }
}

}  // namespace

void SortByKey(std::span<uint16_t> order, std::span<const int64_t> keys) {
  Iter first = order.data();
  Iter last = first + order.size();
  // Recursing into the smaller part and looping on the larger keeps the stack
  // at log2(n) frames whatever the keys.
  while (last - first > kSelectionSortLimit) {
    Iter cut = Partition(first, last, keys.data());
    if (cut - first < last - cut) {
      SortByKey({first, cut}, keys);
      first = cut;
    } else {
      SortByKey({cut, last}, keys);
      last = cut;
    }
  }
  SelectionSort(first, last, keys.data());
}

}  // namespace mavu::imaging::detail
