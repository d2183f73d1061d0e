#include "imaging/argb8888_cell_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "imaging/key_sort.h"

namespace mavu::imaging {

using detail::BandClass;
using detail::BandEntry;
using detail::CellCommand;

namespace {

constexpr int kOpaque = 255;
// PostInvalidateAll is told apart from PostInvalidate by this opacity.
constexpr int kInvalidateAllOpacity = 254;
// A rectangle whose sides are all shorter than this is no rectangle at all.
constexpr float kDegenerateExtent = 0.001f;
// Sort keys are trunc(priority) x stride + posting index: priorities order
// the commands and the index keeps posts of equal priority in posting order.
// The stride leaves room for every command and Render's background fill.
constexpr int64_t kKeyStride = 2048;
static_assert(kKeyStride > TARGB8888CellDraw::kMaxCommands + 1);
// Below this many changed bands out of a hundred the window gets band by band
// copies; from there on one copy spans them all.
constexpr int kMergePercent = 75;
// Per-channel halving of a packed pixel for the afterimage average.
constexpr uint32_t kHalfMask = 0x7F7F7F7F;

int ClampOpacity(int opacity) {
  return std::clamp(opacity, 0, kOpaque);
}
int ColourAlpha(uint32_t colour) {
  return static_cast<int>(colour >> 24);
}

bool Finite(const RectF& r) {
  return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
         std::isfinite(r.bottom);
}

RectF Normalised(RectF r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

bool Degenerate(const RectF& r) {
  return r.right - r.left < kDegenerateExtent && r.bottom - r.top < kDegenerateExtent;
}

// trunc(priority) within the 32-bit range; a NaN counts as 0.
int64_t PriorityKey(float priority) {
  if (std::isnan(priority)) return 0;
  double whole = std::trunc(static_cast<double>(priority));
  whole = std::clamp(whole, static_cast<double>(std::numeric_limits<int32_t>::min()),
                     static_cast<double>(std::numeric_limits<int32_t>::max()));
  return static_cast<int64_t>(whole);
}

uint8_t Code(DrawKind kind) {
  return static_cast<uint8_t>(kind);
}

CellCommand ImageCommand(DrawKind kind, const TARGB8888& image, const RectF& src, int opacity) {
  CellCommand c;
  c.kind = Code(kind);
  c.opacity = static_cast<uint8_t>(ClampOpacity(opacity));
  c.image = &image;
  c.src = Normalised(src);
  c.identity = image.Serial();
  return c;
}

// The destination of an unstretched draw is the point plus the source's extent.
CellCommand Unstretched(DrawKind kind, const TARGB8888& image, const RectF& src, PointF at,
                        int opacity) {
  CellCommand c = ImageCommand(kind, image, src, opacity);
  c.dst = {at.x, at.y, at.x + (c.src.right - c.src.left), at.y + (c.src.bottom - c.src.top)};
  return c;
}

CellCommand Stretched(DrawKind kind, const TARGB8888& image, const RectF& src, const RectF& dst,
                      int opacity) {
  CellCommand c = ImageCommand(kind, image, src, opacity);
  c.dst = Normalised(dst);
  return c;
}

CellCommand Tinted(DrawKind kind, const TARGB8888& image, const RectF& src, PointF at,
                   uint32_t colour) {
  CellCommand c = Unstretched(kind, image, src, at, ColourAlpha(colour));
  c.colour = colour;
  return c;
}

CellCommand AreaCommand(uint8_t kind, const RectF& rect, uint32_t colour, int opacity) {
  CellCommand c;
  c.kind = kind;
  c.opacity = static_cast<uint8_t>(ClampOpacity(opacity));
  c.dst = Normalised(rect);
  c.colour = colour;
  return c;
}

}  // namespace

// --- set-up -------------------------------------------------------------------

TARGB8888CellDraw::TARGB8888CellDraw() {
  commands_.reserve(kMaxCommands + 1);
  keys_.reserve(kMaxCommands + 1);
  order_.reserve(kMaxCommands + 1);
}

void TARGB8888CellDraw::SetCanvas(TARGB8888& canvas) {
  canvas_ = &canvas;
  BindCanvas();
  commands_.clear();
  keys_.clear();
}

void TARGB8888CellDraw::BindCanvas() {
  width_ = canvas_->Width();
  height_ = canvas_->Height();
  // A last band of fewer than 60 rows keeps every canvas row drawn.
  size_t bands = static_cast<size_t>((height_ + kBandHeight - 1) / kBandHeight);
  bandBuffer_.SetSize(width_, kBandHeight);
  current_.assign(bands, BandList{});
  previous_.assign(bands, BandList{});
  repeat_.assign(bands, 0);
  afterimage_.assign(bands, 0);
}

void TARGB8888CellDraw::Reset() {
  commands_.clear();
  keys_.clear();
  for (BandList& list : current_) list = BandList{};
  for (BandList& list : previous_) list = BandList{};
  std::fill(afterimage_.begin(), afterimage_.end(), 0);
}

RectF TARGB8888CellDraw::CanvasRect() const {
  return {0, 0, static_cast<float>(width_), static_cast<float>(height_)};
}

detail::BandRect TARGB8888CellDraw::BandOf(int band) const {
  int top = band * kBandHeight;
  return {top, std::min(top + kBandHeight, height_), width_};
}

RectI TARGB8888CellDraw::BandSpan(int first, int last) const {
  return {0, first * kBandHeight, width_, std::min((last + 1) * kBandHeight, height_)};
}

RectI TARGB8888CellDraw::BandPixels(int band) const {
  return BandSpan(band, band);
}

bool TARGB8888CellDraw::BandChanged(int band) const {
  return band >= 0 && band < BandCount() && previous_[static_cast<size_t>(band)].changed;
}

// --- posts --------------------------------------------------------------------

void TARGB8888CellDraw::Post(CellCommand command, float priority) {
  if (commands_.size() >= kMaxCommands) return;
  // The buffer draws nothing for a non-finite rectangle; dropping it here
  // keeps infinities and NaNs out of the band arithmetic.
  if (!Finite(command.src) || !Finite(command.dst)) return;
  if (Degenerate(command.src) && Degenerate(command.dst)) return;
  Append(command, priority);
}

void TARGB8888CellDraw::Append(const CellCommand& command, float priority) {
  keys_.push_back(PriorityKey(priority) * kKeyStride + static_cast<int64_t>(commands_.size()));
  commands_.push_back(command);
}

void TARGB8888CellDraw::PostDraw(const CellCommand& command, float priority) {
  if (command.opacity != 0) Post(command, priority);
}

void TARGB8888CellDraw::PostCopy(const TARGB8888& image, const RectF& src, PointF at, int opacity,
                                 float priority) {
  PostDraw(Unstretched(DrawKind::kCopy, image, src, at, opacity), priority);
}
void TARGB8888CellDraw::PostCopyStretched(const TARGB8888& image, const RectF& src,
                                          const RectF& dst, int opacity, float priority) {
  PostDraw(Stretched(DrawKind::kCopyStretched, image, src, dst, opacity), priority);
}
void TARGB8888CellDraw::PostAdd(const TARGB8888& image, const RectF& src, PointF at, int opacity,
                                float priority) {
  PostDraw(Unstretched(DrawKind::kAdd, image, src, at, opacity), priority);
}
void TARGB8888CellDraw::PostAddStretched(const TARGB8888& image, const RectF& src, const RectF& dst,
                                         int opacity, float priority) {
  PostDraw(Stretched(DrawKind::kAddStretched, image, src, dst, opacity), priority);
}
void TARGB8888CellDraw::PostMultiply(const TARGB8888& image, const RectF& src, PointF at,
                                     int opacity, float priority) {
  PostDraw(Unstretched(DrawKind::kMultiply, image, src, at, opacity), priority);
}
void TARGB8888CellDraw::PostMultiplyStretched(const TARGB8888& image, const RectF& src,
                                              const RectF& dst, int opacity, float priority) {
  PostDraw(Stretched(DrawKind::kMultiplyStretched, image, src, dst, opacity), priority);
}
void TARGB8888CellDraw::PostExclusion(const TARGB8888& image, const RectF& src, PointF at,
                                      int opacity, float priority) {
  PostDraw(Unstretched(DrawKind::kExclusion, image, src, at, opacity), priority);
}
void TARGB8888CellDraw::PostExclusionStretched(const TARGB8888& image, const RectF& src,
                                               const RectF& dst, int opacity, float priority) {
  PostDraw(Stretched(DrawKind::kExclusionStretched, image, src, dst, opacity), priority);
}
void TARGB8888CellDraw::PostAlpha(const TARGB8888& image, const RectF& src, PointF at, int opacity,
                                  float priority) {
  PostDraw(Unstretched(DrawKind::kAlpha, image, src, at, opacity), priority);
}
void TARGB8888CellDraw::PostAlphaStretched(const TARGB8888& image, const RectF& src,
                                           const RectF& dst, int opacity, float priority) {
  PostDraw(Stretched(DrawKind::kAlphaStretched, image, src, dst, opacity), priority);
}

// Tinted draws are recorded even at colour alpha 0; the bands drop them.
void TARGB8888CellDraw::PostColourAdd(const TARGB8888& image, const RectF& src, PointF at,
                                      uint32_t colour, float priority) {
  Post(Tinted(DrawKind::kColourAdd, image, src, at, colour), priority);
}
void TARGB8888CellDraw::PostColourMultiply(const TARGB8888& image, const RectF& src, PointF at,
                                           uint32_t colour, float priority) {
  Post(Tinted(DrawKind::kColourMultiply, image, src, at, colour), priority);
}

void TARGB8888CellDraw::PostMasked(const TARGB8888& image, const RectF& src, PointF at,
                                   const TARGB8888& mask, PointF maskOrigin, uint32_t colour,
                                   float priority) {
  CellCommand c = Tinted(DrawKind::kMasked, image, src, at, colour);
  c.mask = &mask;
  c.maskOrigin = maskOrigin;
  c.identity |= mask.Serial();
  PostDraw(c, priority);
}

void TARGB8888CellDraw::PostFillSolid(const RectF& rect, uint32_t colour, float priority) {
  Post(AreaCommand(Code(DrawKind::kFillSolid), rect, colour, kOpaque), priority);
}
void TARGB8888CellDraw::PostFill(DrawKind kind, const RectF& rect, uint32_t colour,
                                 float priority) {
  PostDraw(AreaCommand(Code(kind), rect, colour, ColourAlpha(colour)), priority);
}
void TARGB8888CellDraw::PostFillBlend(const RectF& rect, uint32_t colour, float priority) {
  PostFill(DrawKind::kFillBlend, rect, colour, priority);
}
void TARGB8888CellDraw::PostFillAdd(const RectF& rect, uint32_t colour, float priority) {
  PostFill(DrawKind::kFillAdd, rect, colour, priority);
}
void TARGB8888CellDraw::PostFillMultiply(const RectF& rect, uint32_t colour, float priority) {
  PostFill(DrawKind::kFillMultiply, rect, colour, priority);
}
void TARGB8888CellDraw::PostFillInvert(const RectF& rect, uint32_t colour, float priority) {
  PostFill(DrawKind::kFillInvert, rect, colour, priority);
}

void TARGB8888CellDraw::PostMark(const RectF& rect, uint32_t extra, float priority) {
  CellCommand c = AreaCommand(detail::kKindMark, rect, 0, kOpaque);
  c.extra = extra;
  Post(c, priority);
}

void TARGB8888CellDraw::PostInvalidate(const RectF& rect) {
  Post(AreaCommand(detail::kKindInvalidate, rect, 0, kOpaque), 0);
}

void TARGB8888CellDraw::PostInvalidateAll() {
  Post(AreaCommand(detail::kKindInvalidate, CanvasRect(), 0, kInvalidateAllOpacity), 0);
}

void TARGB8888CellDraw::PostAfterimage() {
  Post(AreaCommand(detail::kKindAfterimage, CanvasRect(), 0, kOpaque), 0);
}

// --- frames -------------------------------------------------------------------

void TARGB8888CellDraw::Render(bool clear) {
  if (canvas_ && (canvas_->Width() != width_ || canvas_->Height() != height_)) BindCanvas();
  if (canvas_ && clear) {
    // Appended past the post limit: a full command list never loses the
    // background under the frame.
    Append(AreaCommand(Code(DrawKind::kFillSolid), CanvasRect(), background_, kOpaque),
           kBackgroundPriority);
  }
  for (BandList& list : current_) {
    list.count = 0;
    list.changed = false;
  }
  afterimageFlag_ = false;
  SortCommands();
  for (uint16_t index : order_) Distribute(commands_[index]);
  DrawBands();
  std::swap(current_, previous_);
  commands_.clear();
  keys_.clear();
}

void TARGB8888CellDraw::SortCommands() {
  order_.resize(commands_.size());
  for (size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<uint16_t>(i);
  detail::SortByKey(order_, keys_);
}

int TARGB8888CellDraw::BandIndex(float y) const {
  float band = std::trunc(y / static_cast<float>(kBandHeight));
  return static_cast<int>(std::clamp(band, 0.0f, static_cast<float>(BandCount() - 1)));
}

void TARGB8888CellDraw::Distribute(const CellCommand& command) {
  const RectF& d = command.dst;
  float w = static_cast<float>(width_), h = static_cast<float>(height_);
  if (d.right < 0 || d.bottom < 0 || d.left > w || d.top > h || BandCount() == 0) return;
  if (command.kind == detail::kKindAfterimage) {
    afterimageFlag_ = true;
    return;
  }
  int last = BandIndex(d.bottom);
  for (int band = BandIndex(d.top); band <= last; ++band) {
    BandList& list = current_[static_cast<size_t>(band)];
    if (command.kind == detail::kKindInvalidate) {
      list.changed = true;
    } else if (auto entry = detail::ClipToBand(command, BandOf(band))) {
      AddToBand(*entry, band);
    }
  }
}

void TARGB8888CellDraw::AddToBand(const BandEntry& entry, int band) {
  BandList& list = current_[static_cast<size_t>(band)];
  switch (detail::Classify(entry, BandOf(band))) {
    case BandClass::kSkip:
      return;
    case BandClass::kOpaque:
      list.count = 0;
      break;  // nothing under it shows
    case BandClass::kDraw:
      break;
  }
  if (list.count < kMaxBandEntries) list.entries[list.count++] = entry;
}

bool TARGB8888CellDraw::BandList::SameEntries(const BandList& other) const {
  return count == other.count &&
         std::memcmp(entries.data(), other.entries.data(), count * sizeof(BandEntry)) == 0;
}

void TARGB8888CellDraw::DrawBands() {
  for (int band = 0; band < BandCount(); ++band) {
    size_t b = static_cast<size_t>(band);
    BandList& list = current_[b];
    bool needed = list.changed || afterimage_[b] > 0 || !list.SameEntries(previous_[b]);
    if (needed) repeat_[b] = kRedrawRepeat;
    if (repeat_[b] == 0) continue;
    --repeat_[b];
    if (afterimageFlag_) afterimage_[b] = kAfterimageFrames;
    list.changed = true;
    DrawBand(band);
  }
}

void TARGB8888CellDraw::DrawBand(int band) {
  const BandList& list = current_[static_cast<size_t>(band)];
  uint8_t& afterimage = afterimage_[static_cast<size_t>(band)];
  if (afterimage == 0) {
    for (uint32_t i = 0; i < list.count; ++i) detail::DrawEntry(list.entries[i], *canvas_, 0);
    return;
  }
  // The band buffer starts as the band's old contents, so that what no entry
  // covers averages with itself rather than with another band's leftovers.
  detail::BandRect rows = BandOf(band);
  size_t rowBytes = static_cast<size_t>(width_) * 4;
  for (int y = rows.top; y < rows.bottom; ++y) {
    std::memcpy(bandBuffer_.Row(y - rows.top), canvas_->Row(y), rowBytes);
  }
  for (uint32_t i = 0; i < list.count; ++i) {
    detail::DrawEntry(list.entries[i], bandBuffer_, rows.top);
  }
  BlendAfterimage(band);
  --afterimage;
}

void TARGB8888CellDraw::BlendAfterimage(int band) {
  detail::BandRect rows = BandOf(band);
  for (int y = rows.top; y < rows.bottom; ++y) {
    uint32_t* out = canvas_->Row(y);
    const uint32_t* fresh = bandBuffer_.Row(y - rows.top);
    for (int x = 0; x < width_; ++x)
      out[x] = ((out[x] >> 1) & kHalfMask) + ((fresh[x] >> 1) & kHalfMask);
  }
}

// --- presenters ---------------------------------------------------------------

bool TARGB8888CellDraw::PresentToSurface(DisplaySurface& display, bool full) {
  if (!canvas_) return true;
  PixelSurface memory;
  if (!display.Lock(memory)) return false;
  if (full) {
    TARGB8888::InterlaceActive = false;
    canvas_->CopyToSurface(memory, {0, 0, width_, height_});
  } else {
    // Each frame moves one field of the changed bands; the three-frame
    // redraw brings the other field along.
    TARGB8888::InterlaceActive = true;
    for (int band = 0; band < BandCount(); ++band) {
      if (BandChanged(band)) canvas_->CopyToSurface(memory, BandPixels(band));
    }
  }
  display.Unlock();
  display.ShowBackBuffer();
  TARGB8888::InterlaceActive = false;
  return true;
}

void TARGB8888CellDraw::PresentToWindow(DisplaySurface& display, bool full) {
  if (!canvas_) return;
  int count = 0, first = -1, last = -1;
  for (int band = 0; band < BandCount(); ++band) {
    if (!full && !BandChanged(band)) continue;
    ++count;
    if (first < 0) first = band;
    last = band;
  }
  if (count == 0) return;
  if (count >= BandCount() * kMergePercent / 100) {
    display.CopyToWindow(*canvas_, BandSpan(first, last));
    return;
  }
  for (int band = first; band <= last; ++band) {
    if (BandChanged(band)) display.CopyToWindow(*canvas_, BandPixels(band));
  }
}

}  // namespace mavu::imaging
