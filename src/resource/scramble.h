#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace mavu::resource {

enum class ScrambleDirection { kScramble, kUnscramble };

// Fixed engine keys (values documented in docs/architecture.md).
constexpr uint32_t kPackEntryKey = 0x4D617675;   // "Mavu"
constexpr uint32_t kHashTableKey = 0x48617368;   // "Hash"
constexpr uint8_t kPackNameKey = 0x6B;

// In place over whole 8-byte blocks; the trailing bytes stay as they are.
void ScrambleBlocks(std::span<uint8_t> bytes, ScrambleDirection direction, uint32_t key);
// Its own inverse.
std::string ScrambleName(std::string_view text, uint8_t key);

}  // namespace mavu::resource
