#pragma once

#include <array>
#include <cstdint>

namespace mavu::imaging {

// The rectangles that make a layer clickable (`THitStack`), collected anew
// every update; pushes beyond the 31st are ignored.
class THitStack {
 public:
  static constexpr int kCapacity = 31;

  struct Entry {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t priority = 0;
  };

  void Clear() { count_ = 0; }
  void Push(const Entry& entry) {
    if (count_ < kCapacity) entries_[static_cast<size_t>(count_++)] = entry;
  }
  // Left and top inclusive, right and bottom exclusive.
  bool Hits(int32_t x, int32_t y) const {
    for (int i = 0; i < count_; ++i) {
      const Entry& e = entries_[static_cast<size_t>(i)];
      if (x >= e.left && x < e.right && y >= e.top && y < e.bottom) return true;
    }
    return false;
  }
  int Count() const { return count_; }
  const Entry& At(int index) const { return entries_[static_cast<size_t>(index)]; }

 private:
  std::array<Entry, kCapacity> entries_{};
  int count_ = 0;
};

}  // namespace mavu::imaging
