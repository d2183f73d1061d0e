#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/byte_reader.h"
#include "cell_draw_ops.h"
#include "imaging/argb8888_cell_draw.h"
#include "imaging/memory_display_surface.h"

// Plays arbitrary posts, renders and presents on a small canvas: coordinates,
// priorities and opacities come from the bytes as they are (NaN, infinities and
// huge values included), as they would from a broken animation file or script.
namespace {

using mavu::imaging::DrawKind;
using mavu::imaging::MemoryDisplaySurface;
using mavu::imaging::PointF;
using mavu::imaging::RectF;
using mavu::imaging::TARGB8888;
using mavu::imaging::TARGB8888CellDraw;
namespace ops = mavu::fuzz::cell_draw;

struct Pictures {
  TARGB8888 images[3];  // with alpha, opaque, empty

  Pictures() {
    images[0].SetSize(24, 70);
    images[1].SetSize(9, 9);
    for (int y = 0; y < 70; ++y) {
      for (int x = 0; x < 24; ++x)
        images[0].SetPixel(x, y, static_cast<uint32_t>(x * 40503u + y * 977u));
    }
    images[0].RecomputeHasAlpha();
    images[1].SetBits(0xFF8040C0, 0);
    images[1].RecomputeHasAlpha();
  }
  const TARGB8888& Pick(uint8_t b) const { return images[b % 3]; }
};

float Float(mavu::base::ByteReader& in) {
  return std::bit_cast<float>(in.U32());
}
RectF Rect(mavu::base::ByteReader& in) {
  RectF r;
  r.left = Float(in);
  r.top = Float(in);
  r.right = Float(in);
  r.bottom = Float(in);
  return r;
}

void PostDraw(TARGB8888CellDraw& cd, const Pictures& p, uint8_t op, mavu::base::ByteReader& in) {
  const TARGB8888& image = p.Pick(in.U8());
  const TARGB8888& mask = p.Pick(in.U8());
  RectF src = Rect(in), dst = Rect(in);
  int opacity = in.I32();
  uint32_t colour = in.U32();
  float priority = Float(in);
  PointF at{dst.left, dst.top};
  switch (static_cast<DrawKind>(op + 2)) {
    case DrawKind::kFillSolid:
      return cd.PostFillSolid(dst, colour, priority);
    case DrawKind::kFillBlend:
      return cd.PostFillBlend(dst, colour, priority);
    case DrawKind::kFillAdd:
      return cd.PostFillAdd(dst, colour, priority);
    case DrawKind::kFillMultiply:
      return cd.PostFillMultiply(dst, colour, priority);
    case DrawKind::kFillInvert:
      return cd.PostFillInvert(dst, colour, priority);
    case DrawKind::kCopy:
      return cd.PostCopy(image, src, at, opacity, priority);
    case DrawKind::kCopyStretched:
      return cd.PostCopyStretched(image, src, dst, opacity, priority);
    case DrawKind::kAdd:
      return cd.PostAdd(image, src, at, opacity, priority);
    case DrawKind::kAddStretched:
      return cd.PostAddStretched(image, src, dst, opacity, priority);
    case DrawKind::kMultiply:
      return cd.PostMultiply(image, src, at, opacity, priority);
    case DrawKind::kMultiplyStretched:
      return cd.PostMultiplyStretched(image, src, dst, opacity, priority);
    case DrawKind::kExclusion:
      return cd.PostExclusion(image, src, at, opacity, priority);
    case DrawKind::kExclusionStretched:
      return cd.PostExclusionStretched(image, src, dst, opacity, priority);
    case DrawKind::kAlpha:
      return cd.PostAlpha(image, src, at, opacity, priority);
    case DrawKind::kAlphaStretched:
      return cd.PostAlphaStretched(image, src, dst, opacity, priority);
    case DrawKind::kColourAdd:
      return cd.PostColourAdd(image, src, at, colour, priority);
    case DrawKind::kColourMultiply:
      return cd.PostColourMultiply(image, src, at, colour, priority);
    case DrawKind::kMasked:
      return cd.PostMasked(image, src, at, mask, {src.left, src.top}, colour, priority);
  }
}

void Present(TARGB8888CellDraw& cd, const TARGB8888& canvas, mavu::base::ByteReader& in) {
  bool full = in.U8() & 1;
  static constexpr int kDepths[] = {15, 16, 24, 32};
  MemoryDisplaySurface display(canvas.Width(), canvas.Height(), kDepths[in.U8() % 4]);
  cd.PresentToSurface(display, full);
  if (display.Locked() || TARGB8888::InterlaceActive) std::abort();
}

void Play(TARGB8888CellDraw& cd, TARGB8888& canvas, const Pictures& p, mavu::base::ByteReader& in) {
  while (!in.AtEnd()) {
    uint8_t op = in.U8() % ops::kOpCount;
    if (op <= ops::kPostLast) {
      PostDraw(cd, p, op, in);
    } else if (op == ops::kMark) {
      RectF r = Rect(in);
      uint32_t extra = in.U32();
      cd.PostMark(r, extra, Float(in));
    } else if (op == ops::kInvalidate) {
      cd.PostInvalidate(Rect(in));
    } else if (op == ops::kInvalidateAll) {
      cd.PostInvalidateAll();
    } else if (op == ops::kAfterimage) {
      cd.PostAfterimage();
    } else if (op == ops::kBackground) {
      cd.SetBackground(in.U32());
    } else if (op == ops::kRender) {
      cd.Render(in.U8() & 1);
    } else if (op == ops::kPresentSurface) {
      Present(cd, canvas, in);
    } else if (op == ops::kPresentWindow) {
      MemoryDisplaySurface display(canvas.Width(), canvas.Height());
      cd.PresentToWindow(display, in.U8() & 1);
    } else if (op == ops::kReset) {
      cd.Reset();
    } else if (op == ops::kResize) {
      int width = 2 + in.U8() % 64;
      canvas.SetSize(width, 1 + in.U8());
    } else if (op == ops::kInterlace) {
      uint8_t flags = in.U8();
      TARGB8888::InterlaceActive = flags & 1;
      TARGB8888::InterlaceOff = flags & 2;
      TARGB8888::InterlaceField = (flags >> 2) & 1;
    }
    if (cd.CommandCount() > TARGB8888CellDraw::kMaxCommands) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Pictures pictures;
  mavu::base::ByteReader in(std::span<const uint8_t>(data, size));
  TARGB8888 canvas;
  TARGB8888CellDraw cd;
  try {
    int width = 2 + in.U8() % 64;
    canvas.SetSize(width, 1 + in.U8());
    cd.SetCanvas(canvas);
    Play(cd, canvas, pictures, in);
  } catch (const mavu::base::FormatError&) {
    // The script ended inside an operation.
  }
  cd.Render(true);
  TARGB8888::InterlaceActive = false;
  TARGB8888::InterlaceOff = false;
  TARGB8888::InterlaceField = 0;
  return 0;
}
