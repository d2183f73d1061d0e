#include "resource/bpe_block_compressor.h"

namespace mavu::resource {
namespace {

constexpr uint8_t kMaxCount = 255;
// A pair is worth a code only when it occurs at least this often.
constexpr int kMinPairCount = 3;
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

// Linear probing; an empty slot (count 0) ends the probe and is claimed for the
// pair. With every slot in use and the pair absent there is no slot: the counts
// only steer the choice of pairs, so the caller then skips the update.
size_t BpeBlockCompressor::Lookup(uint8_t left, uint8_t right) {
  size_t index = (left ^ (size_t{right} << 5)) & (kHashSize - 1);
  for (size_t probes = 0; probes < kHashSize; ++probes) {
    if (pairCount_[index] == 0 || (pairLeft_[index] == left && pairRight_[index] == right)) {
      pairLeft_[index] = left;
      pairRight_[index] = right;
      return index;
    }
    index = (index + 1) & (kHashSize - 1);
  }
  return kNoSlot;
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

void BpeBlockCompressor::Compress() {
  int code = 256;
  for (;;) {
    code = NextFreeCode(code);
    if (code == kNoCode) return;
    int best = kMinPairCount - 1;
    uint8_t left = 0;
    uint8_t right = 0;
    for (size_t i = 0; i < kHashSize; ++i) {
      if (pairCount_[i] > best) {
        best = pairCount_[i];
        left = pairLeft_[i];
        right = pairRight_[i];
      }
    }
    if (best < kMinPairCount) return;
    ReplacePair(left, right, static_cast<uint8_t>(code));
    leftCode_[code] = left;
    rightCode_[code] = right;
    const size_t slot = Lookup(left, right);
    if (slot != kNoSlot) pairCount_[slot] = 1;
  }
}

// Rewrites the block in place, keeping the counts of the neighbouring pairs
// roughly in step with the data.
void BpeBlockCompressor::ReplacePair(uint8_t left, uint8_t right, uint8_t code) {
  if (size_ < 2) return;
  const size_t last = size_ - 1;
  size_t w = 0;
  size_t r = 0;
  while (r < last) {
    if (buffer_[r] == left && buffer_[r + 1] == right) {
      if (r > 0) {
        Decrement(buffer_[w - 1], left);
        Increment(buffer_[w - 1], code);
      }
      if (r + 1 < last) {
        Decrement(right, buffer_[r + 2]);
        Increment(code, buffer_[r + 2]);
      }
      buffer_[w++] = code;
      r += 2;
    } else {
      buffer_[w++] = buffer_[r++];
    }
  }
  if (r == last) buffer_[w++] = buffer_[r];
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
