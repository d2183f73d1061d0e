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
// BpeCompress packs an 8192-byte block into some 32 bytes at best, 256:1. A
// stream that declares more than twice that ratio of its own size was made to
// expand, not by us, and is refused before anything is allocated for it.
constexpr uint32_t kBpeMaxRatio = 512;

// Throws std::length_error for input over kBpeMaxUnpacked, which could not be expanded.
base::Bytes BpeCompress(std::span<const uint8_t> input);
// The unpacked bytes, or nothing when the data is not a valid packed stream
// (bad lengths, a table or block that runs past the end, more than 64 MiB or
// more than kBpeMaxRatio times the stream's size).
std::optional<base::Bytes> BpeExpand(std::span<const uint8_t> packed);
// Blocks without the head, as stored in older archives. The blocks must yield
// exactly `length` bytes; fewer or more is damage, and nothing is written past it.
std::optional<base::Bytes> BpeExpandBlocks(std::span<const uint8_t> blocks, uint32_t length,
                                           bool u16Lengths);

}  // namespace mavu::resource
