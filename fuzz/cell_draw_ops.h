#pragma once

#include <cstdint>

// The byte script the compositor fuzz target plays, shared with its seed
// maker. A script is two size bytes (canvas width - 2, height - 1) and then
// operations, each an opcode byte followed by its operands.
namespace mavu::fuzz::cell_draw {

enum Op : uint8_t {
  // Draw posts (one per draw kind 2..19, in kind order): image byte, mask
  // byte, source rectangle and destination rectangle (8 floats as u32 bits),
  // opacity (i32), colour (u32), priority (float bits).
  kPostFirst = 0,
  kPostLast = 17,
  kMark,        // rectangle (4 floats), extra (u32), priority
  kInvalidate,  // rectangle
  kInvalidateAll,
  kAfterimage,
  kBackground,      // colour
  kRender,          // clear byte
  kPresentSurface,  // full byte, bits-per-pixel byte
  kPresentWindow,   // full byte
  kReset,
  kResize,     // width - 2, height - 1
  kInterlace,  // flags byte: bit 0 active, bit 1 off, bit 2 field
  kOpCount
};

}  // namespace mavu::fuzz::cell_draw
