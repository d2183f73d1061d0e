#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/bytes.h"

namespace mavu::resource {

// Read through the data tree when the system object starts.
inline constexpr std::string_view kRandomTablePath = "system\\etc\\RandomTable.dat";

// The engine's pseudo-random numbers: a fixed table of 1024 values that the game
// ships, walked in a cycle, so that a run replays the same way every time.
// Script rnd, animation keys and shakes draw from it. All values are 0 until a
// table is loaded.
class RandomTable {
 public:
  static constexpr size_t kSize = 1024;
  static constexpr size_t kFileBytes = kSize * sizeof(uint32_t);

  // The first kFileBytes bytes of the file, little-endian; a shorter file fills
  // the table as far as it reaches (its last value from the bytes it has) and
  // the rest is 0. The cursor goes back to 0. A missing file changes nothing.
  bool Load(const std::optional<base::Bytes>& file);

  // Advances the cursor (wrapping at kSize) and gives the entry there bounded by
  // n: 0 for n = 0, entry mod n for n > 0, and for n < 0 entry mod -n minus
  // (-n) / 2, a value centred on zero.
  int32_t Draw(int32_t n);

  uint32_t Value(size_t index) const { return values_[index % kSize]; }
  size_t Cursor() const { return cursor_; }

 private:
  std::array<uint32_t, kSize> values_{};
  size_t cursor_ = 0;
};

// The process-wide table, used from the main thread only.
RandomTable& TheRandomTable();

}  // namespace mavu::resource
