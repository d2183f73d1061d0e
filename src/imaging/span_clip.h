#pragma once

#include <optional>

#include "imaging/argb8888.h"

// Turns the float rectangles of draws and fills into integer pixel spans that
// lie wholly inside every image involved, and says which destination rows an
// interlaced pass writes.
namespace mavu::imaging::detail {

struct Size {
  int width = 0;
  int height = 0;
};

// An unstretched span: `width` x `height` pixels from (srcX, srcY) of the
// source to (dstX, dstY) of the destination.
struct Span {
  int srcX = 0;
  int srcY = 0;
  int dstX = 0;
  int dstY = 0;
  int width = 0;
  int height = 0;
};

// `maskOrigin`, when given, moves with the source's left and top edges.
std::optional<Span> ClipUnstretched(RectF src, PointF at, Size source, Size dest,
                                    PointF* maskOrigin = nullptr);

// A fill's span (srcX and srcY unused).
std::optional<Span> ClipFill(RectF rect, Size dest);

// A stretched span: destination pixel (k, j) of the span samples source
// column baseX + ((phaseX + k * stepX) >> 10) and row baseY + ((phaseY + j * stepY) >> 10).
struct StretchSpan {
  int dstX = 0;
  int dstY = 0;
  int width = 0;
  int height = 0;
  int baseX = 0;
  int baseY = 0;
  int64_t stepX = 0;
  int64_t stepY = 0;
  int64_t phaseX = 0;
  int64_t phaseY = 0;
};

inline constexpr int kFixedShift = 10;  // 22.10 fixed point of stretched sampling

std::optional<StretchSpan> ClipStretched(RectF src, RectF dst, Size source, Size dest);

// Destination rows first, first + step, ... (count of them), as offsets from
// the span's top row.
struct RowPlan {
  int first = 0;
  int count = 0;
  int step = 1;
};

// Reads the process-wide interlace state.
RowPlan PlanRows(int dstY, int height);

}  // namespace mavu::imaging::detail
