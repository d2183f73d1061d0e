#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/byte_reader.h"
#include "resource/bpe_output.h"

namespace mavu::resource {

// Expands byte-pair-encoded blocks. Each pair table is turned into the length of
// every code's expansion (codes caught in a cycle count as endlessly long) and,
// for short codes, the expanded bytes themselves, so that most data bytes cost
// one table look-up and one fixed-size copy.
class BpeBlockExpander {
 public:
  // Bytes copied at once for a short code.
  static constexpr size_t kChunk = BpeOutput::kSlack;

  BpeBlockExpander();

  // Throws base::FormatError for a truncated table or one that runs past code 255.
  void ReadTable(base::ByteReader& in);
  // Writes the expansion of `data` at offset `used` of `out` and returns the new
  // offset. Throws base::FormatError, having written nothing past the declared
  // length, when the expansion would pass it.
  size_t Expand(std::span<const uint8_t> data, BpeOutput& out, size_t used) const;

 private:
  void ResetPairs();
  void ReadEntry(base::ByteReader& in, unsigned code);
  uint64_t Measure(uint8_t code);
  uint8_t* EmitLong(uint8_t code, uint8_t* out) const;
  bool IsPair(uint8_t code) const { return left_[code] != code; }

  enum class Mark : uint8_t { kNew, kMeasuring, kDone };

  std::array<uint8_t, 256> left_{};
  std::array<uint8_t, 256> right_{};
  std::array<uint64_t, 256> length_{};
  std::array<Mark, 256> mark_{};
  std::array<std::array<uint8_t, kChunk>, 256> chunk_{};
  std::vector<uint8_t> pairs_;
};

}  // namespace mavu::resource
