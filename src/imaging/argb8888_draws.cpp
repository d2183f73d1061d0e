// Draws, fills and image-to-image effects of TARGB8888: the set-up of each
// operation (clipping, choice of row kernel, per-draw constants). The pixel
// arithmetic itself lives in the row kernels.
#include <algorithm>
#include <cmath>

#include "imaging/argb8888.h"
#include "imaging/pixel_kernels.h"
#include "imaging/span_clip.h"
#include "imaging/span_runner.h"

namespace mavu::imaging {
namespace {

using kernels::Op;
using kernels::Params;

constexpr int kOpaque = 255;

int ColourAlpha(uint32_t colour) {
  return static_cast<int>(colour >> 24);
}
// Channel c of a colour in memory order B, G, R, A.
int ColourChannel(uint32_t colour, int c) {
  return static_cast<int>((colour >> (8 * c)) & 0xFF);
}

detail::Size SizeOf(const TARGB8888& image) {
  return {image.Width(), image.Height()};
}

Params WithWeight(int weight) {
  Params p;
  p.weight = static_cast<uint32_t>(weight);
  return p;
}

template <class F>
Params WithLanes(uint32_t colour, F perChannel) {
  Params p;
  for (int c = 0; c < 4; ++c)
    p.lanes[c] = static_cast<uint16_t>(perChannel(ColourChannel(colour, c)));
  return p;
}

// The fill constants; the alpha byte of the colour takes part as a channel.
Params BlendParams(uint32_t colour) {
  int a = ColourAlpha(colour);
  Params p = WithLanes(colour, [a](int c) { return (c * a) >> 8; });
  p.weight = static_cast<uint32_t>(kOpaque - a);
  return p;
}
Params AddParams(uint32_t colour) {
  int a = ColourAlpha(colour);
  return WithLanes(colour, [a](int c) { return c * a / 255; });
}
Params MultiplyParams(uint32_t colour) {
  int a = ColourAlpha(colour);
  return WithLanes(colour, [a](int c) { return 255 - (255 - c) * a / 255; });
}
Params InvertParams(uint32_t colour) {
  int a = ColourAlpha(colour);
  return WithLanes(colour, [a](int c) { return (c * a / 255) >> 1; });
}

// Tinted draws: s1 = min(255, s + lo) with lo's alpha 0, s2 = (s1 x hi) >> 8
// with hi's alpha the opacity.
Params TintParams(uint32_t lo, uint32_t hi, int opacity) {
  Params p;
  for (int c = 0; c < 3; ++c) {
    p.lanes[c] = static_cast<uint16_t>(ColourChannel(lo, c));
    p.lanes2[c] = static_cast<uint16_t>(ColourChannel(hi, c));
  }
  p.lanes[3] = 0;
  p.lanes2[3] = static_cast<uint16_t>(opacity);
  return p;
}

}  // namespace

// --- unstretched and stretched draws ---------------------------------------

namespace {

void Draw(const TARGB8888& source, TARGB8888& dest, const RectF& src, PointF at, Op op,
          const Params& params) {
  if (source.Empty() || dest.Empty()) return;
  if (auto span = detail::ClipUnstretched(src, at, SizeOf(source), SizeOf(dest))) {
    detail::RunSpan(dest, &source, *span, op, params);
  }
}

void DrawStretched(const TARGB8888& source, TARGB8888& dest, const RectF& src, const RectF& dst,
                   Op op, const Params& params) {
  if (source.Empty() || dest.Empty()) return;
  if (auto span = detail::ClipStretched(src, dst, SizeOf(source), SizeOf(dest))) {
    detail::RunStretched(dest, source, *span, op, params);
  }
}

}  // namespace

void TARGB8888::DrawCopy(TARGB8888& dest, const RectF& src, PointF at, int opacity) const {
  if (opacity < 1) return;
  if (opacity >= kOpaque) return Draw(*this, dest, src, at, Op::kCopy, {});
  Draw(*this, dest, src, at, Op::kLerp, WithWeight(opacity >> 1));
}

void TARGB8888::DrawCopyStretched(TARGB8888& dest, const RectF& src, const RectF& dst,
                                  int opacity) const {
  if (opacity < 1) return;
  if (opacity >= kOpaque) return DrawStretched(*this, dest, src, dst, Op::kCopy, {});
  DrawStretched(*this, dest, src, dst, Op::kLerp, WithWeight(opacity >> 1));
}

void TARGB8888::DrawAdd(TARGB8888& dest, const RectF& src, PointF at, int opacity) const {
  if (opacity < 1) return;
  if (opacity >= kOpaque) return Draw(*this, dest, src, at, Op::kAddSat, {});
  Draw(*this, dest, src, at, Op::kAddScaled, WithWeight(opacity));
}

void TARGB8888::DrawAddStretched(TARGB8888& dest, const RectF& src, const RectF& dst,
                                 int opacity) const {
  if (opacity < 1) return;
  DrawStretched(*this, dest, src, dst, Op::kAddScaled, WithWeight(std::min(opacity, kOpaque)));
}

void TARGB8888::DrawMultiply(TARGB8888& dest, const RectF& src, PointF at, int opacity) const {
  if (opacity < 1) return;
  Draw(*this, dest, src, at, Op::kMultiply, WithWeight(std::min(opacity, kOpaque)));
}

void TARGB8888::DrawMultiplyStretched(TARGB8888& dest, const RectF& src, const RectF& dst,
                                      int opacity) const {
  if (opacity < 1) return;
  DrawStretched(*this, dest, src, dst, Op::kMultiply, WithWeight(std::min(opacity, kOpaque)));
}

void TARGB8888::DrawExclusion(TARGB8888& dest, const RectF& src, PointF at, int opacity) const {
  if (opacity < 1) return;
  Draw(*this, dest, src, at, Op::kExclusion, WithWeight(std::min(opacity, kOpaque)));
}

void TARGB8888::DrawExclusionStretched(TARGB8888& dest, const RectF& src, const RectF& dst,
                                       int opacity) const {
  if (opacity < 1) return;
  DrawStretched(*this, dest, src, dst, Op::kExclusion, WithWeight(std::min(opacity, kOpaque)));
}

void TARGB8888::DrawAlpha(TARGB8888& dest, const RectF& src, PointF at, int opacity) const {
  if (opacity < 1) return;
  if (opacity >= kOpaque) return Draw(*this, dest, src, at, Op::kAlphaOpaque, {});
  Draw(*this, dest, src, at, Op::kAlphaScaled, WithWeight(opacity));
}

void TARGB8888::DrawAlphaStretched(TARGB8888& dest, const RectF& src, const RectF& dst,
                                   int opacity) const {
  if (opacity < 1) return;
  DrawStretched(*this, dest, src, dst, Op::kAlphaScaled, WithWeight(std::min(opacity, kOpaque)));
}

void TARGB8888::DrawColourAdd(TARGB8888& dest, const RectF& src, PointF at, uint32_t colour) const {
  int opacity = ColourAlpha(colour);
  if (opacity < 1) return;
  Draw(*this, dest, src, at, Op::kTint, TintParams(colour, 0x00FFFFFFu, opacity));
}

void TARGB8888::DrawColourMultiply(TARGB8888& dest, const RectF& src, PointF at,
                                   uint32_t colour) const {
  int opacity = ColourAlpha(colour);
  if (opacity < 1) return;
  Draw(*this, dest, src, at, Op::kTint, TintParams(0, colour, opacity));
}

void TARGB8888::DrawMasked(TARGB8888& dest, const RectF& src, PointF at, const TARGB8888& mask,
                           PointF maskOrigin, uint32_t colour) const {
  if (ColourAlpha(colour) < 1 || Empty() || dest.Empty() || mask.Empty()) return;
  auto span = detail::ClipUnstretched(src, at, SizeOf(*this), SizeOf(dest), &maskOrigin);
  if (!span || !std::isfinite(maskOrigin.x) || !std::isfinite(maskOrigin.y)) return;
  // The mask may cover less than the span: keep the part it covers.
  float mx = std::clamp(maskOrigin.x, -1e9f, 1e9f), my = std::clamp(maskOrigin.y, -1e9f, 1e9f);
  detail::MaskPlacement placement{&mask, static_cast<int>(mx), static_cast<int>(my)};
  int skipX = std::max(0, -placement.x), skipY = std::max(0, -placement.y);
  span->srcX += skipX;
  span->dstX += skipX;
  span->srcY += skipY;
  span->dstY += skipY;
  placement.x += skipX;
  placement.y += skipY;
  span->width = std::min(span->width - skipX, mask.Width() - placement.x);
  span->height = std::min(span->height - skipY, mask.Height() - placement.y);
  if (span->width < 2 || span->height < 1) return;
  Params p = WithLanes(colour, [](int c) { return c; });
  detail::RunSpan(dest, this, *span, Op::kMasked, p, placement);
}

// --- fills -------------------------------------------------------------------

namespace {

void Fill(TARGB8888& dest, const RectF& rect, Op op, const Params& params) {
  if (dest.Empty()) return;
  if (auto span = detail::ClipFill(rect, SizeOf(dest))) {
    detail::RunSpan(dest, nullptr, *span, op, params);
  }
}

}  // namespace

void TARGB8888::FillSolid(const RectF& rect, uint32_t colour) {
  Params p;
  p.colour = colour;
  Fill(*this, rect, Op::kSolid, p);
}

void TARGB8888::FillBlend(const RectF& rect, uint32_t colour) {
  int a = ColourAlpha(colour);
  if (a == 0) return;
  if (a == kOpaque) return FillSolid(rect, colour);
  Fill(*this, rect, Op::kBlendConst, BlendParams(colour));
}

void TARGB8888::FillAdd(const RectF& rect, uint32_t colour) {
  if (ColourAlpha(colour) == 0) return;
  Fill(*this, rect, Op::kAddConst, AddParams(colour));
}

void TARGB8888::FillMultiply(const RectF& rect, uint32_t colour) {
  if (ColourAlpha(colour) == 0) return;
  Fill(*this, rect, Op::kMultiplyConst, MultiplyParams(colour));
}

void TARGB8888::FillInvert(const RectF& rect, uint32_t colour) {
  if (ColourAlpha(colour) == 0) return;
  Fill(*this, rect, Op::kInvertConst, InvertParams(colour));
}

void TARGB8888::Apply(const DrawOp& op) {
  PointF at{op.dst.left, op.dst.top};
  const TARGB8888* image = op.image;
  switch (op.kind) {
    case DrawKind::kFillSolid:
      return FillSolid(op.dst, op.colour);
    case DrawKind::kFillBlend:
      return FillBlend(op.dst, op.colour);
    case DrawKind::kFillAdd:
      return FillAdd(op.dst, op.colour);
    case DrawKind::kFillMultiply:
      return FillMultiply(op.dst, op.colour);
    case DrawKind::kFillInvert:
      return FillInvert(op.dst, op.colour);
    default:
      break;
  }
  if (!image) return;
  switch (op.kind) {
    case DrawKind::kCopy:
      return image->DrawCopy(*this, op.src, at, op.opacity);
    case DrawKind::kCopyStretched:
      return image->DrawCopyStretched(*this, op.src, op.dst, op.opacity);
    case DrawKind::kAdd:
      return image->DrawAdd(*this, op.src, at, op.opacity);
    case DrawKind::kAddStretched:
      return image->DrawAddStretched(*this, op.src, op.dst, op.opacity);
    case DrawKind::kMultiply:
      return image->DrawMultiply(*this, op.src, at, op.opacity);
    case DrawKind::kMultiplyStretched:
      return image->DrawMultiplyStretched(*this, op.src, op.dst, op.opacity);
    case DrawKind::kExclusion:
      return image->DrawExclusion(*this, op.src, at, op.opacity);
    case DrawKind::kExclusionStretched:
      return image->DrawExclusionStretched(*this, op.src, op.dst, op.opacity);
    case DrawKind::kAlpha:
      return image->DrawAlpha(*this, op.src, at, op.opacity);
    case DrawKind::kAlphaStretched:
      return image->DrawAlphaStretched(*this, op.src, op.dst, op.opacity);
    case DrawKind::kColourAdd:
      return image->DrawColourAdd(*this, op.src, at, op.colour);
    case DrawKind::kColourMultiply:
      return image->DrawColourMultiply(*this, op.src, at, op.colour);
    case DrawKind::kMasked:
      if (op.mask) image->DrawMasked(*this, op.src, at, *op.mask, op.maskOrigin, op.colour);
      return;
    default:
      return;
  }
}

// --- effects -------------------------------------------------------------------

namespace {

// `second` may be null for one-input effects.
void Effect(const TARGB8888& first, const TARGB8888* second, TARGB8888& out, const RectF& src,
            PointF at, Op op, const Params& params) {
  if (first.Empty() || out.Empty() || (second && second->Empty())) return;
  detail::Size inputs = SizeOf(first);
  if (second) {
    inputs.width = std::min(inputs.width, second->Width());
    inputs.height = std::min(inputs.height, second->Height());
  }
  if (auto span = detail::ClipUnstretched(src, at, inputs, SizeOf(out))) {
    detail::RunEffect(out, first, second, *span, op, params);
  }
}

// A colour with alpha 0 leaves its input as it is, as the fill would.
void ColourEffect(const TARGB8888& source, TARGB8888& out, const RectF& src, PointF at,
                  uint32_t colour, Op op, const Params& params) {
  if (ColourAlpha(colour) == 0) return Effect(source, &source, out, src, at, Op::kCopy, {});
  Effect(source, nullptr, out, src, at, op, params);
}

}  // namespace

void TARGB8888::EffectAdd(TARGB8888& out, const RectF& src, PointF at, uint32_t colour) const {
  ColourEffect(*this, out, src, at, colour, Op::kAddConst, AddParams(colour));
}

void TARGB8888::EffectInvert(TARGB8888& out, const RectF& src, PointF at, uint32_t colour) const {
  ColourEffect(*this, out, src, at, colour, Op::kInvertConst, InvertParams(colour));
}

void TARGB8888::EffectMultiply(TARGB8888& out, const RectF& src, PointF at, uint32_t colour) const {
  ColourEffect(*this, out, src, at, colour, Op::kMultiplyConst, MultiplyParams(colour));
}

void TARGB8888::EffectOverlay(TARGB8888& out, const RectF& src, PointF at, uint32_t colour) const {
  if (ColourAlpha(colour) == kOpaque) {
    Params p;
    p.colour = colour;
    return Effect(*this, nullptr, out, src, at, Op::kSolid, p);
  }
  ColourEffect(*this, out, src, at, colour, Op::kBlendConst, BlendParams(colour));
}

void TARGB8888::EffectCrossfade(const TARGB8888& other, TARGB8888& out, const RectF& src, PointF at,
                                int k) const {
  int weight = (kOpaque - std::clamp(k, 0, kOpaque)) >> 1;
  Effect(*this, &other, out, src, at, Op::kLerp, WithWeight(weight));
}

void TARGB8888::EffectRuleWipe(const TARGB8888& other, TARGB8888& out, const RectF& src, PointF at,
                               int t) const {
  // The threshold runs from -32 to 256 so that the 32-level soft edge starts
  // fully before the lowest rule value and ends fully past the highest.
  Params p;
  p.threshold = std::clamp(t, 0, kOpaque) * 288 / 255 - 32;
  Effect(*this, &other, out, src, at, Op::kRuleWipe, p);
}

}  // namespace mavu::imaging
