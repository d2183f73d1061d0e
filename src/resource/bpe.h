#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "base/bytes.h"

namespace mavu::resource {

// Byte-pair-encoded packed blocks (magic 0xFF435031, flags, unpacked length,
// then blocks of pair table + data length + data).
constexpr uint32_t kBpeMagic = 0xFF435031;
// Larger unpacked lengths are refused: nothing the engine stores comes near it.
constexpr uint32_t kBpeMaxUnpacked = 0x4000000;

base::Bytes BpeCompress(std::span<const uint8_t> input);
// The unpacked bytes, or nothing when the data is not a valid packed stream
// (bad lengths, a table or block that runs past the end, more than 64 MiB).
std::optional<base::Bytes> BpeExpand(std::span<const uint8_t> packed);

}  // namespace mavu::resource
