#pragma once

#include <cstdint>
#include <span>

namespace mavu::resource {

// Four 16-bit lanes over whole 8-byte blocks; a trailing partial block is not covered.
uint32_t BlockChecksum(std::span<const uint8_t> bytes);

}  // namespace mavu::resource
