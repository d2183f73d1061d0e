#include "resource/bpe_block_compressor.h"

#include <algorithm>
#include <cstring>

namespace mavu::resource {
namespace {

constexpr uint8_t kMaxCount = 255;
// A pair is worth a code only when it occurs at least this often.
constexpr uint8_t kMinPairCount = 3;
// Table runs: a count byte up to 127 announces count+1 entries; above 127 it
// skips count-127 plain codes.
constexpr int kMaxRun = 128;
constexpr int kSkipBase = 127;

}  // namespace

size_t BpeBlockCompressor::Read(std::span<const uint8_t> input, size_t pos) {
  pairCount_.fill(0);
  taken_.fill(false);
  for (int c = 0; c < 256; ++c) leftCode_[c] = static_cast<uint8_t>(c);
  rightCode_.fill(0);
  size_ = 0;
  size_t distinct = 0;
  while (size_ < kBlockSize && distinct < kMaxDistinct && pos < input.size()) {
    const uint8_t c = input[pos++];
    if (size_ > 0) Increment(buffer_[size_ - 1], c);
    buffer_[size_++] = c;
    if (!taken_[c]) {
      taken_[c] = true;
      ++distinct;
    }
  }
  return pos;
}

// Linear probing from (left ^ right << 5): the probe ends at the pair's own slot
// or at the first empty one (count 0), which is then claimed for the pair.
// Counts never drop back to 0 within a block, so a pair with a count keeps its
// slot and every slot before it on the probe path stays full. That allows two
// shortcuts with the same result: the pair's last claimed slot, if it still
// holds the pair with a count, and otherwise a search for the first empty slot.
// With every slot full and the pair absent there is no slot: the counts only
// steer the choice of pairs, so the caller then skips the update.
size_t BpeBlockCompressor::Lookup(uint8_t left, uint8_t right) {
  const size_t pair = left | (size_t{right} << 8);
  size_t slot = lastSlot_[pair];
  if (pairCount_[slot] != 0 && pairLeft_[slot] == left && pairRight_[slot] == right) return slot;
  slot = FirstEmptySlot((left ^ (size_t{right} << 5)) & (kHashSize - 1));
  if (slot == kNoSlot) return kNoSlot;
  pairLeft_[slot] = left;
  pairRight_[slot] = right;
  lastSlot_[pair] = static_cast<uint16_t>(slot);
  return slot;
}

size_t BpeBlockCompressor::FirstEmptySlot(size_t from) const {
  const uint8_t* counts = pairCount_.data();
  const void* found = std::memchr(counts + from, 0, kHashSize - from);
  if (!found) found = std::memchr(counts, 0, from);
  return found ? static_cast<size_t>(static_cast<const uint8_t*>(found) - counts) : kNoSlot;
}

void BpeBlockCompressor::Increment(uint8_t left, uint8_t right) {
  const size_t slot = Lookup(left, right);
  if (slot != kNoSlot && pairCount_[slot] < kMaxCount) ++pairCount_[slot];
}

void BpeBlockCompressor::Decrement(uint8_t left, uint8_t right) {
  const size_t slot = Lookup(left, right);
  if (slot != kNoSlot && pairCount_[slot] > 1) --pairCount_[slot];
}

int BpeBlockCompressor::NextFreeCode(int below) const {
  for (int code = below - 1; code >= 0; --code) {
    if (!taken_[code] && !IsPair(code)) return code;
  }
  return kNoCode;
}

// The first slot, in table order, holding the highest count: the same slot as
// a scan that keeps the first count exceeding the best so far.
size_t BpeBlockCompressor::BestSlot() const {
  uint8_t best = 0;
  for (uint8_t count : pairCount_) best = std::max(best, count);
  if (best < kMinPairCount) return kNoSlot;
  const auto* found = static_cast<const uint8_t*>(std::memchr(pairCount_.data(), best, kHashSize));
  return static_cast<size_t>(found - pairCount_.data());
}

void BpeBlockCompressor::Compress() {
  int code = 256;
  for (;;) {
    code = NextFreeCode(code);
    if (code == kNoCode) return;
    const size_t best = BestSlot();
    if (best == kNoSlot) return;
    const uint8_t left = pairLeft_[best];
    const uint8_t right = pairRight_[best];
    ReplacePair(left, right, static_cast<uint8_t>(code));
    leftCode_[code] = left;
    rightCode_[code] = right;
    const size_t slot = Lookup(left, right);
    if (slot != kNoSlot) pairCount_[slot] = 1;
  }
}

// Rewrites the block in place, keeping the counts of the neighbouring pairs
// roughly in step with the data. The stretches between occurrences of the left
// byte move as a whole.
void BpeBlockCompressor::ReplacePair(uint8_t left, uint8_t right, uint8_t code) {
  if (size_ < 2) return;
  uint8_t* const data = buffer_.data();
  const size_t last = size_ - 1;
  size_t w = 0;
  size_t r = 0;
  while (r < last) {
    const void* hit = std::memchr(data + r, left, last - r);
    const size_t next = hit ? static_cast<size_t>(static_cast<const uint8_t*>(hit) - data) : last;
    std::memmove(data + w, data + r, next - r);
    w += next - r;
    r = next;
    if (r == last) break;
    if (data[r + 1] != right) {
      data[w++] = data[r++];
      continue;
    }
    if (r > 0) {
      Decrement(data[w - 1], left);
      Increment(data[w - 1], code);
    }
    if (r + 1 < last) {
      Decrement(right, data[r + 2]);
      Increment(code, data[r + 2]);
    }
    data[w++] = code;
    r += 2;
  }
  if (r == last) data[w++] = data[r];
  size_ = w;
}

void BpeBlockCompressor::Write(base::ByteWriter& out) const {
  WriteTable(out);
  out.U16(static_cast<uint16_t>(size_));
  out.Append(std::span(buffer_.data(), size_));
}

void BpeBlockCompressor::WriteEntry(base::ByteWriter& out, int code) const {
  out.U8(leftCode_[code]);
  if (IsPair(code)) out.U8(rightCode_[code]);
}

// A run of plain codes becomes one skip byte, which the reader follows with a
// single entry. A run of entries goes on through a lone plain code that stands
// before another pair: one byte for it is cheaper than a skip and a new count.
void BpeBlockCompressor::WriteTable(base::ByteWriter& out) const {
  int c = 0;
  while (c < 256) {
    if (!IsPair(c)) {
      int skip = 1;
      while (skip < kMaxRun && c + skip < 256 && !IsPair(c + skip)) ++skip;
      out.U8(static_cast<uint8_t>(kSkipBase + skip));
      c += skip;
      if (c == 256) break;
      WriteEntry(out, c++);
      continue;
    }
    int run = 1;
    while (run < kMaxRun && c + run < 256 &&
           (IsPair(c + run) || (c + run + 1 < 256 && IsPair(c + run + 1)))) {
      ++run;
    }
    out.U8(static_cast<uint8_t>(run - 1));
    for (int i = 0; i < run; ++i) WriteEntry(out, c + i);
    c += run;
  }
}

}  // namespace mavu::resource
