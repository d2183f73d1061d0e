#include "resource/bpe_output.h"

#include <algorithm>

namespace mavu::resource {
namespace {

// First guess at the unpacked size, relative to the packed size; the buffer
// doubles from there as needed.
constexpr size_t kGuessedRatio = 4;
constexpr size_t kMinimumGuess = 64 * 1024;

}  // namespace

BpeOutput::BpeOutput(uint32_t length, size_t packedSize) : limit_(length) {
  const size_t guess = std::max(kMinimumGuess, packedSize * kGuessedRatio);
  bytes_.resize(std::min(limit_, guess) + kSlack);
}

void BpeOutput::Reserve(size_t used, uint64_t count) {
  if (count > limit_ - used)
    throw base::FormatError("packed block expands past its declared length");
  const size_t capacity = bytes_.size() - kSlack;
  const size_t needed = used + static_cast<size_t>(count);
  bytes_.resize(std::min(limit_, std::max(needed, capacity * 2)) + kSlack);
}

std::optional<base::Bytes> BpeOutput::Finish(size_t used) {
  if (used != limit_) return std::nullopt;
  bytes_.resize(limit_);
  return std::move(bytes_);
}

}  // namespace mavu::resource
