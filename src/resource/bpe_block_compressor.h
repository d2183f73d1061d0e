#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/byte_writer.h"

namespace mavu::resource {

// One block of the byte-pair encoder: reads up to 8192 bytes (or until 200
// distinct values are seen), replaces the most frequent pairs with unused byte
// codes, and writes the pair table, the u16 data length and the data.
class BpeBlockCompressor {
 public:
  static constexpr size_t kBlockSize = 8192;
  static constexpr size_t kMaxDistinct = 200;

  // Starts a block at `pos` and returns the position after it.
  size_t Read(std::span<const uint8_t> input, size_t pos);
  void Compress();
  void Write(base::ByteWriter& out) const;

 private:
  static constexpr size_t kHashSize = 8192;
  static constexpr size_t kNoSlot = kHashSize;
  static constexpr int kNoCode = -1;

  size_t Lookup(uint8_t left, uint8_t right);
  size_t FirstEmptySlot(size_t from) const;
  void Increment(uint8_t left, uint8_t right);
  void Decrement(uint8_t left, uint8_t right);
  int NextFreeCode(int below) const;
  size_t BestSlot() const;
  void ReplacePair(uint8_t left, uint8_t right, uint8_t code);
  bool IsPair(int code) const { return leftCode_[code] != code; }
  void WriteTable(base::ByteWriter& out) const;
  void WriteEntry(base::ByteWriter& out, int code) const;

  std::array<uint8_t, kBlockSize> buffer_{};
  size_t size_ = 0;
  // Per code: the pair it stands for (left == code: a plain byte), and whether
  // the code is taken (seen in the block or assigned to a pair).
  std::array<uint8_t, 256> leftCode_{};
  std::array<uint8_t, 256> rightCode_{};
  std::array<bool, 256> taken_{};
  // Open-addressing pair counts, saturating at 255.
  std::array<uint8_t, kHashSize> pairLeft_{};
  std::array<uint8_t, kHashSize> pairRight_{};
  std::array<uint8_t, kHashSize> pairCount_{};
  // Per pair (left | right << 8), the slot it was last given; only a hint,
  // checked against the slot's contents, so it needs no reset between blocks.
  std::array<uint16_t, 256 * 256> lastSlot_{};
};

}  // namespace mavu::resource
