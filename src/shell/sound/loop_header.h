#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace mavu::shell {

// One loop point: when playback reaches `trigger` seconds it jumps back (or
// forward) to `target` seconds, `count` times (-1: every time).
struct LoopPoint {
  float target = 0;
  float trigger = 0;
  int32_t count = 0;
};

// The optional 200-byte block in front of a music file: "ALPHAOGG" and 16
// entries of (f32 jump target, f32 trigger time, i32 repeat count).
struct LoopHeader {
  static constexpr size_t kSize = 200;
  static constexpr size_t kEntries = 16;

  std::array<LoopPoint, kEntries> points{};
  // Where the Ogg stream begins: kSize with a header, 0 without.
  size_t dataOffset = 0;
};

// Entries with times that are not finite or below zero are turned off, so a
// damaged header can neither jump outside the file nor hold playback in place.
LoopHeader ReadLoopHeader(std::span<const uint8_t> file);

}  // namespace mavu::shell
