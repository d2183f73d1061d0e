#pragma once

#include <cstdint>
#include <optional>

#include "imaging/argb8888.h"

// The compositor's per-band bookkeeping: a posted command, its part inside one
// horizontal band of the canvas, and whether that part replaces the band whole.
namespace mavu::imaging::detail {

// Kinds beyond the buffer's draw kinds (2..19) that only the compositor knows.
inline constexpr uint8_t kKindMark = 20;        // listed in its bands, draws nothing
inline constexpr uint8_t kKindAfterimage = 21;  // turns on the afterimage of changed bands
inline constexpr uint8_t kKindInvalidate = 22;  // forces its bands to redraw

bool IsFillKind(uint8_t kind);
bool IsStretchedKind(uint8_t kind);
// The buffer's unstretched image draws (7, 9, 11, 13, 15, 17, 18, 19).
bool IsUnstretchedKind(uint8_t kind);

// One posted command. Rectangles are normalised (left <= right, top <= bottom)
// and finite; an unstretched command's destination is its point plus the
// source's extent.
struct CellCommand {
  uint8_t kind = 0;
  uint8_t opacity = 0;
  const TARGB8888* image = nullptr;
  const TARGB8888* mask = nullptr;
  RectF src;
  RectF dst;
  PointF maskOrigin;
  uint32_t colour = 0;
  uint32_t extra = 0;
  uint32_t identity = 0;  // image serial OR mask serial
};

// A command clipped to one band. Two band lists are equal when they are equal
// byte for byte, so the entry is laid out without padding and compared with
// memcmp; `reserved` stays 0.
struct BandEntry {
  const TARGB8888* image;
  const TARGB8888* mask;
  RectF dst;
  RectF src;
  PointF maskOrigin;
  uint32_t colour;
  uint32_t extra;
  uint32_t identity;
  uint8_t kind;
  uint8_t opacity;
  uint16_t reserved;
};
static_assert(sizeof(BandEntry) == 2 * sizeof(void*) + 56, "BandEntry must have no padding");

// Canvas rows [top, bottom) across columns [0, width).
struct BandRect {
  int top = 0;
  int bottom = 0;
  int width = 0;
};

// The part of `command` inside `band`, or none when a stretched draw is too
// small to draw anything. Fills and marks clip their destination; stretched
// draws move their source in proportion; unstretched draws are first snapped
// to whole pixels and move source and mask origin by the clipped amounts.
std::optional<BandEntry> ClipToBand(const CellCommand& command, const BandRect& band);

enum class BandClass { kSkip, kOpaque, kDraw };

// Whether a band part draws nothing, replaces every pixel of the band, or
// blends with what lies under it.
BandClass Classify(const BandEntry& entry, const BandRect& band);

// Runs the entry onto `target`, whose row 0 is canvas row `rowOffset`.
void DrawEntry(const BandEntry& entry, TARGB8888& target, int rowOffset);

}  // namespace mavu::imaging::detail
