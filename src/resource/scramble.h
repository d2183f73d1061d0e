#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace mavu::resource {

enum class ScrambleDirection { kScramble, kUnscramble };

// Fixed engine keys (values documented in docs/architecture.md).
constexpr uint32_t kPackEntryKey = 0x4D617675;  // "Mavu"
constexpr uint32_t kHashTableKey = 0x48617368;  // "Hash"
constexpr uint8_t kPackNameKey = 0x6B;

// Fixed constants of the block scrambler: the seed mask, the keystream's start
// and the step added to each 32-bit half of the keystream per block.
constexpr uint32_t kScrambleSeedMask = 0x9E3779B9;
constexpr uint64_t kScrambleKeystreamStart = 0x243F6A8885A308D3ull;
constexpr uint32_t kScrambleKeystreamStep = 0x6A09E667;
// Mixed into the name scrambler's key.
constexpr uint8_t kNameKeyMask = 0xA7;

// In place over whole 8-byte blocks; the trailing bytes stay as they are.
void ScrambleBlocks(std::span<uint8_t> bytes, ScrambleDirection direction, uint32_t key);
// Its own inverse.
std::string ScrambleName(std::string text, uint8_t key);

}  // namespace mavu::resource
