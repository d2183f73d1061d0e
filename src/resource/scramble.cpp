#include "resource/scramble.h"

namespace mavu::resource {
namespace {

constexpr size_t kBlockSize = 8;

uint64_t Load64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = static_cast<int>(kBlockSize) - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void Store64(uint8_t* p, uint64_t v) {
  for (size_t i = 0; i < kBlockSize; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint64_t AddToHalves(uint64_t v, uint32_t step) {
  const uint32_t low = static_cast<uint32_t>(v) + step;
  const uint32_t high = static_cast<uint32_t>(v >> 32) + step;
  return (uint64_t{high} << 32) | low;
}

}  // namespace

void ScrambleBlocks(std::span<uint8_t> bytes, ScrambleDirection direction, uint32_t key) {
  const uint32_t seed = (static_cast<uint32_t>(bytes.size()) + key) ^ kScrambleSeedMask;
  uint64_t chain = (uint64_t{seed} << 32) | seed;
  uint64_t keystream = kScrambleKeystreamStart;
  const size_t blocks = bytes.size() / kBlockSize;
  for (size_t i = 0; i < blocks; ++i) {
    uint8_t* block = bytes.data() + i * kBlockSize;
    keystream = chain ^ AddToHalves(keystream, kScrambleKeystreamStep);
    const uint64_t in = Load64(block);
    const uint64_t out = in ^ keystream;
    Store64(block, out);
    chain = direction == ScrambleDirection::kScramble ? in : out;
  }
}

std::string ScrambleName(std::string out, uint8_t key) {
  const uint32_t mixed = static_cast<uint32_t>(out.size()) + (key ^ kNameKeyMask);
  for (uint32_t i = 1; i <= out.size(); ++i) {
    out[i - 1] =
        static_cast<char>(static_cast<uint8_t>(out[i - 1]) ^ static_cast<uint8_t>(i + (mixed ^ i)));
  }
  return out;
}

}  // namespace mavu::resource
