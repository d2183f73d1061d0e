#include "imaging/cell_band.h"

#include <algorithm>
#include <cmath>

namespace mavu::imaging::detail {
namespace {

constexpr uint8_t kOpaque = 255;
constexpr uint32_t kOpaqueBlack = 0xFF000000;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;

bool Is(uint8_t kind, DrawKind k) {
  return kind == static_cast<uint8_t>(k);
}

float Frac(float v) {
  return v - std::trunc(v);
}

RectF Truncated(const RectF& r) {
  return {std::trunc(r.left), std::trunc(r.top), std::trunc(r.right), std::trunc(r.bottom)};
}

// Left and top rise to the band's edges. Right and bottom fall to the band's
// edges plus the fraction of the new left and top: the buffer truncates a
// position and rounds an extent, so this keeps the last pixel inside the band
// and no further.
RectF ClipDestination(RectF r, const BandRect& band) {
  r.left = std::max(r.left, 0.0f);
  r.top = std::max(r.top, static_cast<float>(band.top));
  r.right = std::min(r.right, static_cast<float>(band.width) + Frac(r.left));
  r.bottom = std::min(r.bottom, static_cast<float>(band.bottom) + Frac(r.top));
  return r;
}

BandEntry EntryOf(const CellCommand& c) {
  BandEntry e{};
  e.image = c.image;
  e.mask = c.mask;
  e.maskOrigin = c.maskOrigin;
  e.colour = c.colour;
  e.extra = c.extra;
  e.identity = c.identity;
  e.kind = c.kind;
  e.opacity = c.opacity;
  return e;
}

BandEntry ClipUnstretched(const CellCommand& c, const BandRect& band) {
  BandEntry e = EntryOf(c);
  RectF dst = Truncated(c.dst);
  e.src = Truncated(c.src);
  e.dst = ClipDestination(dst, band);
  float dx = e.dst.left - dst.left, dy = e.dst.top - dst.top;
  e.src.left += dx;
  e.src.top += dy;
  e.src.right -= dst.right - e.dst.right;
  e.src.bottom -= dst.bottom - e.dst.bottom;
  e.maskOrigin.x += dx;
  e.maskOrigin.y += dy;
  return e;
}

// Each source edge follows its destination edge by linear interpolation, the
// way the buffer clips a stretched draw against its own borders.
std::optional<BandEntry> ClipStretched(const CellCommand& c, const BandRect& band) {
  const RectF& d = c.dst;
  float dw = d.right - d.left, dh = d.bottom - d.top;
  if (dw < 1 || dh < 1) return std::nullopt;
  BandEntry e = EntryOf(c);
  e.dst = ClipDestination(d, band);
  float sw = c.src.right - c.src.left, sh = c.src.bottom - c.src.top;
  e.src.left = c.src.left + (e.dst.left - d.left) * sw / dw;
  e.src.right = c.src.right - (d.right - e.dst.right) * sw / dw;
  e.src.top = c.src.top + (e.dst.top - d.top) * sh / dh;
  e.src.bottom = c.src.bottom - (d.bottom - e.dst.bottom) * sh / dh;
  return e;
}

bool CoversBand(const BandEntry& e, const BandRect& band) {
  return e.dst.left <= 0 && e.dst.top <= static_cast<float>(band.top) &&
         e.dst.right >= static_cast<float>(band.width) &&
         e.dst.bottom >= static_cast<float>(band.bottom);
}

// A draw only writes the pixels its source provides: a source rectangle that
// reaches past the image (or an image without pixels) leaves part of the band
// as it was, so such a draw never hides what lies under it.
bool SourceInsideImage(const BandEntry& e) {
  return e.image && e.src.left >= 0 && e.src.top >= 0 &&
         e.src.right <= static_cast<float>(e.image->Width()) &&
         e.src.bottom <= static_cast<float>(e.image->Height());
}

bool FillReplaces(const BandEntry& e) {
  switch (static_cast<DrawKind>(e.kind)) {
    case DrawKind::kFillSolid:
      return true;
    case DrawKind::kFillBlend:
      return e.colour >= kOpaqueBlack;
    case DrawKind::kFillAdd:
      return e.colour == kOpaqueWhite;
    case DrawKind::kFillMultiply:
      return e.colour == kOpaqueBlack;
    default:
      return false;
  }
}

bool ImageReplaces(const BandEntry& e) {
  if (e.opacity != kOpaque || !SourceInsideImage(e)) return false;
  if (Is(e.kind, DrawKind::kCopy) || Is(e.kind, DrawKind::kCopyStretched)) return true;
  bool alphaKind = e.kind >= static_cast<uint8_t>(DrawKind::kAlpha) &&
                   e.kind <= static_cast<uint8_t>(DrawKind::kColourMultiply);
  return alphaKind && !e.image->HasAlpha();
}

}  // namespace

bool IsFillKind(uint8_t kind) {
  return kind >= static_cast<uint8_t>(DrawKind::kFillSolid) &&
         kind <= static_cast<uint8_t>(DrawKind::kFillInvert);
}

bool IsStretchedKind(uint8_t kind) {
  return Is(kind, DrawKind::kCopyStretched) || Is(kind, DrawKind::kAddStretched) ||
         Is(kind, DrawKind::kMultiplyStretched) || Is(kind, DrawKind::kExclusionStretched) ||
         Is(kind, DrawKind::kAlphaStretched);
}

bool IsUnstretchedKind(uint8_t kind) {
  return kind >= static_cast<uint8_t>(DrawKind::kCopy) &&
         kind <= static_cast<uint8_t>(DrawKind::kMasked) && !IsStretchedKind(kind);
}

std::optional<BandEntry> ClipToBand(const CellCommand& command, const BandRect& band) {
  if (IsStretchedKind(command.kind)) return ClipStretched(command, band);
  if (IsUnstretchedKind(command.kind)) return ClipUnstretched(command, band);
  BandEntry e = EntryOf(command);
  e.dst = ClipDestination(command.dst, band);
  return e;
}

BandClass Classify(const BandEntry& entry, const BandRect& band) {
  if (entry.kind == kKindMark || entry.kind == kKindInvalidate) return BandClass::kDraw;
  if (entry.opacity == 0) return BandClass::kSkip;
  // With an odd canvas width the pair rule leaves the last column untouched.
  bool wholePairs = band.width % 2 == 0;
  bool replaces = IsFillKind(entry.kind) ? FillReplaces(entry) : ImageReplaces(entry);
  return replaces && wholePairs && CoversBand(entry, band) ? BandClass::kOpaque : BandClass::kDraw;
}

void DrawEntry(const BandEntry& entry, TARGB8888& target, int rowOffset) {
  if (!IsFillKind(entry.kind) && !IsUnstretchedKind(entry.kind) && !IsStretchedKind(entry.kind)) {
    return;
  }
  float shift = static_cast<float>(rowOffset);
  DrawOp op;
  op.kind = static_cast<DrawKind>(entry.kind);
  op.image = entry.image;
  op.mask = entry.mask;
  op.src = entry.src;
  op.dst = {entry.dst.left, entry.dst.top - shift, entry.dst.right, entry.dst.bottom - shift};
  op.maskOrigin = entry.maskOrigin;
  op.opacity = entry.opacity;
  op.colour = entry.colour;
  target.Apply(op);
}

}  // namespace mavu::imaging::detail
