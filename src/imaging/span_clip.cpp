#include "imaging/span_clip.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace mavu::imaging::detail {
namespace {

bool Finite(const RectF& r) {
  return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
         std::isfinite(r.bottom);
}

void Normalise(RectF& r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
}

// Span extents round to nearest with ties to even; positions truncate.
int RoundExtent(float extent) {
  return static_cast<int>(std::nearbyint(extent));
}
int Trunc(float v) {
  return static_cast<int>(v);
}

// Float set-up can be off by a rounding step at the borders; the integer span
// is made to fit its images whatever the floats said.
bool FitSpan(Span& s, Size source, Size dest) {
  s.width = std::min({s.width, source.width - s.srcX, dest.width - s.dstX});
  s.height = std::min({s.height, source.height - s.srcY, dest.height - s.dstY});
  return s.srcX >= 0 && s.srcY >= 0 && s.dstX >= 0 && s.dstY >= 0 && s.width >= 1 && s.height >= 1;
}

}  // namespace

std::optional<Span> ClipUnstretched(RectF src, PointF at, Size source, Size dest,
                                    PointF* maskOrigin) {
  if (!Finite(src) || !std::isfinite(at.x) || !std::isfinite(at.y)) return std::nullopt;
  Normalise(src);
  if (src.right - src.left < 1 || src.bottom - src.top < 1) return std::nullopt;
  float sw = static_cast<float>(source.width), sh = static_cast<float>(source.height);
  float dw = static_cast<float>(dest.width), dh = static_cast<float>(dest.height);
  if (src.left > sw || src.top > sh || src.right < 0 || src.bottom < 0) return std::nullopt;
  PointF mask = maskOrigin ? *maskOrigin : PointF{};
  // Source edges outside the image move the destination with them.
  if (src.left < 0) {
    at.x -= src.left;
    mask.x -= src.left;
    src.left = 0;
  }
  if (src.top < 0) {
    at.y -= src.top;
    mask.y -= src.top;
    src.top = 0;
  }
  src.right = std::min(src.right, sw);
  src.bottom = std::min(src.bottom, sh);
  if (at.x > dw || at.y > dh) return std::nullopt;
  if (at.x + (src.right - src.left) < 0 || at.y + (src.bottom - src.top) < 0) return std::nullopt;
  if (at.x < 0) {
    src.left -= at.x;
    mask.x -= at.x;
    at.x = 0;
  }
  if (at.y < 0) {
    src.top -= at.y;
    mask.y -= at.y;
    at.y = 0;
  }
  src.right = std::min(src.right, src.left + (dw - at.x));
  src.bottom = std::min(src.bottom, src.top + (dh - at.y));
  if (src.right - src.left < 1 || src.bottom - src.top < 1) return std::nullopt;
  Span span{Trunc(src.left),
            Trunc(src.top),
            Trunc(at.x),
            Trunc(at.y),
            RoundExtent(src.right - src.left),
            RoundExtent(src.bottom - src.top)};
  if (!FitSpan(span, source, dest)) return std::nullopt;
  if (maskOrigin) *maskOrigin = mask;
  return span;
}

std::optional<Span> ClipFill(RectF rect, Size dest) {
  if (!Finite(rect)) return std::nullopt;
  Normalise(rect);
  if (rect.right - rect.left < 1 || rect.bottom - rect.top < 1) return std::nullopt;
  float dw = static_cast<float>(dest.width), dh = static_cast<float>(dest.height);
  rect.left = std::clamp(rect.left, 0.0f, dw);
  rect.right = std::clamp(rect.right, 0.0f, dw);
  rect.top = std::clamp(rect.top, 0.0f, dh);
  rect.bottom = std::clamp(rect.bottom, 0.0f, dh);
  if (rect.right <= rect.left || rect.bottom <= rect.top) return std::nullopt;
  Span span{0,
            0,
            Trunc(rect.left),
            Trunc(rect.top),
            RoundExtent(rect.right - rect.left),
            RoundExtent(rect.bottom - rect.top)};
  if (!FitSpan(span, dest, dest)) return std::nullopt;
  return span;
}

namespace {

// Moves one edge pair: `moved` of rectangle a goes to `limit`, and the same
// edge of rectangle b follows by linear interpolation between the two.
struct Axis {
  float* aLow;
  float* aHigh;
  float* bLow;
  float* bHigh;
};

void ClipAxis(Axis x, float limit) {
  float aExtent = *x.aHigh - *x.aLow, bExtent = *x.bHigh - *x.bLow;
  if (aExtent <= 0) return;
  if (*x.aLow < 0) {
    *x.bLow += (0 - *x.aLow) * bExtent / aExtent;
    *x.aLow = 0;
  }
  if (*x.aHigh > limit) {
    *x.bHigh -= (*x.aHigh - limit) * bExtent / aExtent;
    *x.aHigh = limit;
  }
}

bool Usable(const RectF& r) {
  return r.right > r.left && r.bottom > r.top;
}

// trunc(extent x 1024 / count): the 22.10 fixed-point step over `count` pixels.
int64_t Step(float extent, int count) {
  return static_cast<int64_t>(static_cast<double>(extent) * (1 << kFixedShift) / count);
}

}  // namespace

std::optional<StretchSpan> ClipStretched(RectF src, RectF dst, Size source, Size dest) {
  if (!Finite(src) || !Finite(dst)) return std::nullopt;
  Normalise(src);
  Normalise(dst);
  if (!Usable(src) || !Usable(dst)) return std::nullopt;
  ClipAxis({&src.left, &src.right, &dst.left, &dst.right}, static_cast<float>(source.width));
  ClipAxis({&src.top, &src.bottom, &dst.top, &dst.bottom}, static_cast<float>(source.height));
  if (!Usable(src) || !Usable(dst)) return std::nullopt;
  ClipAxis({&dst.left, &dst.right, &src.left, &src.right}, static_cast<float>(dest.width));
  ClipAxis({&dst.top, &dst.bottom, &src.top, &src.bottom}, static_cast<float>(dest.height));
  if (!Usable(src) || !Usable(dst)) return std::nullopt;
  StretchSpan s;
  s.width = RoundExtent(dst.right - dst.left);
  s.height = RoundExtent(dst.bottom - dst.top);
  if (s.width < 2 || s.height < 1) return std::nullopt;
  s.stepX = Step(src.right - src.left, s.width);
  s.stepY = Step(src.bottom - src.top, s.height);
  s.phaseX = Step(src.left - std::trunc(src.left), 1);
  s.phaseY = Step(src.top - std::trunc(src.top), 1);
  s.dstX = Trunc(dst.left);
  s.dstY = Trunc(dst.top);
  s.width = std::min(s.width, dest.width - s.dstX);
  s.height = std::min(s.height, dest.height - s.dstY);
  s.baseX = Trunc(src.left);
  s.baseY = Trunc(src.top);
  if (s.width < 1 || s.height < 1 || s.baseX >= source.width || s.baseY >= source.height) {
    return std::nullopt;
  }
  return s;
}

RowPlan PlanRows(int dstY, int height) {
  if (!TARGB8888::InterlaceActive || TARGB8888::InterlaceOff) return {0, height, 1};
  int first = (dstY & 1) == (TARGB8888::InterlaceField & 1) ? 0 : 1;
  int remaining = height - first;
  return {first, remaining > 0 ? (remaining + 1) / 2 : 0, 2};
}

}  // namespace mavu::imaging::detail
