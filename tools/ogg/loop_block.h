#pragma once

#include <cstdint>
#include <span>

#include "base/bytes.h"

namespace mavu::tools {

// One loop point of a music file: on reaching `trigger` seconds playback
// jumps to `target` seconds, `count` times (-1: every time).
struct LoopEntry {
  float target;
  float trigger;
  int32_t count;
};

// The 200-byte loop block ("ALPHAOGG" and 16 entries of f32 target, f32
// trigger, i32 count; entries past `entries` are zero) followed by `ogg`.
// Throws std::invalid_argument for more than 16 entries.
base::Bytes WithLoopHeader(std::span<const LoopEntry> entries, const base::Bytes& ogg);

}  // namespace mavu::tools
