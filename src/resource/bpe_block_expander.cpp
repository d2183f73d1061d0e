#include "resource/bpe_block_expander.h"

#include <algorithm>
#include <cstring>

#include "resource/bpe.h"

namespace mavu::resource {
namespace {

constexpr unsigned kCodes = 256;
constexpr unsigned kSkipBase = 127;
// Longer than any output may be; also the length of a code that expands forever.
constexpr uint64_t kTooLong = uint64_t{kBpeMaxUnpacked} + 1;

}  // namespace

BpeBlockExpander::BpeBlockExpander() {
  for (unsigned c = 0; c < kCodes; ++c) {
    left_[c] = static_cast<uint8_t>(c);
    length_[c] = 1;
    chunk_[c][0] = static_cast<uint8_t>(c);
  }
  pairs_.reserve(kCodes);
}

void BpeBlockExpander::ResetPairs() {
  for (uint8_t c : pairs_) {
    left_[c] = c;
    length_[c] = 1;
    mark_[c] = Mark::kNew;
    chunk_[c][0] = c;
  }
  pairs_.clear();
}

void BpeBlockExpander::ReadEntry(base::ByteReader& in, unsigned code) {
  const uint8_t left = in.U8();
  if (left == code) return;
  left_[code] = left;
  right_[code] = in.U8();
  pairs_.push_back(static_cast<uint8_t>(code));
}

void BpeBlockExpander::ReadTable(base::ByteReader& in) {
  ResetPairs();
  unsigned code = 0;
  for (;;) {
    const unsigned count = in.U8();
    unsigned entries = count + 1;
    if (count > kSkipBase) {
      code += count - kSkipBase;
      entries = 1;
      if (code == kCodes) break;
    }
    if (code + entries > kCodes) throw base::FormatError("packed block: pair table past code 255");
    for (unsigned i = 0; i < entries; ++i) ReadEntry(in, code++);
    if (code == kCodes) break;
  }
  for (uint8_t c : pairs_) Measure(c);
}

// Depth-first over the pair graph; the depth is bounded by the 256 codes.
uint64_t BpeBlockExpander::Measure(uint8_t code) {
  if (!IsPair(code) || mark_[code] == Mark::kDone) return length_[code];
  if (mark_[code] == Mark::kMeasuring) return kTooLong;
  mark_[code] = Mark::kMeasuring;
  const uint8_t left = left_[code];
  const uint8_t right = right_[code];
  const uint64_t length = std::min(Measure(left) + Measure(right), kTooLong);
  if (length <= kChunk) {
    std::memcpy(chunk_[code].data(), chunk_[left].data(), length_[left]);
    std::memcpy(chunk_[code].data() + length_[left], chunk_[right].data(), length_[right]);
  }
  length_[code] = length;
  mark_[code] = Mark::kDone;
  return length;
}

size_t BpeBlockExpander::Expand(std::span<const uint8_t> data, BpeOutput& output,
                                size_t used) const {
  uint8_t* out = output.Begin() + used;
  uint8_t* end = output.UsableEnd();
  for (uint8_t code : data) {
    const uint64_t length = length_[code];
    if (length > static_cast<uint64_t>(end - out)) {
      used = static_cast<size_t>(out - output.Begin());
      output.Reserve(used, length);
      out = output.Begin() + used;
      end = output.UsableEnd();
    }
    if (length <= kChunk) {
      std::memcpy(out, chunk_[code].data(), kChunk);
      out += length;
    } else {
      out = EmitLong(code, out);
    }
  }
  return static_cast<size_t>(out - output.Begin());
}

// Only reached for codes of known, finite length, so the recursion follows an
// acyclic graph and ends within 256 levels.
uint8_t* BpeBlockExpander::EmitLong(uint8_t code, uint8_t* out) const {
  if (length_[code] <= kChunk) {
    std::memcpy(out, chunk_[code].data(), kChunk);
    return out + length_[code];
  }
  out = EmitLong(left_[code], out);
  return EmitLong(right_[code], out);
}

}  // namespace mavu::resource
