#include "resource/block_checksum.h"

#include <cstring>

namespace mavu::resource {
namespace {

constexpr size_t kBlockSize = 8;
// Every lane of the step register grows by this much per block.
constexpr uint64_t kLaneStep = 0x0307030703070307ull;
constexpr uint64_t kLaneLowBits = 0x7FFF7FFF7FFF7FFFull;
constexpr uint64_t kLaneHighBit = 0x8000800080008000ull;

// Four independent 16-bit additions in one 64-bit word: the top bit of each lane
// is added without carry so that no lane spills into the next.
uint64_t AddLanes(uint64_t a, uint64_t b) {
  return ((a & kLaneLowBits) + (b & kLaneLowBits)) ^ ((a ^ b) & kLaneHighBit);
}

uint64_t LoadLittleEndian64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = static_cast<int>(kBlockSize) - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

}  // namespace

uint32_t BlockChecksum(std::span<const uint8_t> bytes) {
  uint64_t step = 0;
  uint64_t sum = 0;
  const size_t blocks = bytes.size() / kBlockSize;
  for (size_t i = 0; i < blocks; ++i) {
    step = AddLanes(step, kLaneStep);
    sum = AddLanes(sum, LoadLittleEndian64(bytes.data() + i * kBlockSize) ^ step);
  }
  return static_cast<uint32_t>(sum) ^ static_cast<uint32_t>(sum >> 32);
}

}  // namespace mavu::resource
