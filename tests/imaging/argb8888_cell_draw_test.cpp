#include "imaging/argb8888_cell_draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "imaging/memory_display_surface.h"

namespace mavu::imaging {
namespace {

constexpr uint32_t kBackground = 0xFF102030;
constexpr uint32_t kScribble = 0x12345678;

// Opaque noise, or noise whose alpha runs through 0, 255 and values between.
void Paint(TARGB8888& image, int width, int height, uint32_t seed, bool withAlpha) {
  image.SetSize(width, height);
  uint32_t state = seed;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      state = state * 1664525u + 1013904223u;
      uint32_t rgb = state >> 8;
      uint32_t alpha = 0xFF;
      if (withAlpha) {
        int band = (x / 8 + y / 8) % 4;
        alpha = band == 0 ? 0 : band == 1 ? 0xFF : (state >> 3) & 0xFF;
      }
      image.SetPixel(x, y, alpha << 24 | (rgb & 0xFFFFFF));
    }
  }
  image.RecomputeHasAlpha();
}

void Scribble(TARGB8888& canvas) {
  canvas.SetBits(kScribble, 0);
}

// True when every pixel of the band still holds the scribble, i.e. the last
// Render did not draw there.
bool Untouched(const TARGB8888& canvas, int band) {
  int bottom = std::min(band * 60 + 60, canvas.Height());
  for (int y = band * 60; y < bottom; ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.Pixel(x, y) != kScribble) return false;
    }
  }
  return true;
}

// One draw as a test scene describes it, posted to the compositor or drawn
// straight into a reference picture.
struct Item {
  DrawKind kind = DrawKind::kFillSolid;
  const TARGB8888* image = nullptr;
  const TARGB8888* mask = nullptr;
  RectF src;
  RectF dst;  // an unstretched draw uses its left and top as the point
  PointF maskOrigin;
  int opacity = 255;
  uint32_t colour = 0;
  float priority = 0;
};

void PostItem(TARGB8888CellDraw& cd, const Item& it) {
  PointF at{it.dst.left, it.dst.top};
  static const TARGB8888 kNoImage;  // fills have none
  const TARGB8888& image = it.image ? *it.image : kNoImage;
  switch (it.kind) {
    case DrawKind::kFillSolid:
      return cd.PostFillSolid(it.dst, it.colour, it.priority);
    case DrawKind::kFillBlend:
      return cd.PostFillBlend(it.dst, it.colour, it.priority);
    case DrawKind::kFillAdd:
      return cd.PostFillAdd(it.dst, it.colour, it.priority);
    case DrawKind::kFillMultiply:
      return cd.PostFillMultiply(it.dst, it.colour, it.priority);
    case DrawKind::kFillInvert:
      return cd.PostFillInvert(it.dst, it.colour, it.priority);
    case DrawKind::kCopy:
      return cd.PostCopy(image, it.src, at, it.opacity, it.priority);
    case DrawKind::kCopyStretched:
      return cd.PostCopyStretched(image, it.src, it.dst, it.opacity, it.priority);
    case DrawKind::kAdd:
      return cd.PostAdd(image, it.src, at, it.opacity, it.priority);
    case DrawKind::kAddStretched:
      return cd.PostAddStretched(image, it.src, it.dst, it.opacity, it.priority);
    case DrawKind::kMultiply:
      return cd.PostMultiply(image, it.src, at, it.opacity, it.priority);
    case DrawKind::kMultiplyStretched:
      return cd.PostMultiplyStretched(image, it.src, it.dst, it.opacity, it.priority);
    case DrawKind::kExclusion:
      return cd.PostExclusion(image, it.src, at, it.opacity, it.priority);
    case DrawKind::kExclusionStretched:
      return cd.PostExclusionStretched(image, it.src, it.dst, it.opacity, it.priority);
    case DrawKind::kAlpha:
      return cd.PostAlpha(image, it.src, at, it.opacity, it.priority);
    case DrawKind::kAlphaStretched:
      return cd.PostAlphaStretched(image, it.src, it.dst, it.opacity, it.priority);
    case DrawKind::kColourAdd:
      return cd.PostColourAdd(image, it.src, at, it.colour, it.priority);
    case DrawKind::kColourMultiply:
      return cd.PostColourMultiply(image, it.src, at, it.colour, it.priority);
    case DrawKind::kMasked:
      return cd.PostMasked(image, it.src, at, *it.mask, it.maskOrigin, it.colour, it.priority);
  }
}

// The whole scene drawn into a full picture, without bands: the background,
// then every item in priority order (posting order among equals).
void DrawDirect(TARGB8888& picture, std::vector<Item> items, uint32_t background) {
  float w = static_cast<float>(picture.Width()), h = static_cast<float>(picture.Height());
  picture.FillSolid({0, 0, w, h}, background);
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    return std::trunc(a.priority) < std::trunc(b.priority);
  });
  for (const Item& it : items) {
    DrawOp op;
    op.kind = it.kind;
    op.image = it.image;
    op.mask = it.mask;
    op.src = it.src;
    op.dst = it.dst;
    op.maskOrigin = it.maskOrigin;
    op.opacity = it.opacity;
    op.colour = it.colour;
    picture.Apply(op);
  }
}

// Reports the first pixel where the two pictures differ.
::testing::AssertionResult SamePixels(const TARGB8888& a, const TARGB8888& b) {
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << "): " << std::hex
                                             << a.Pixel(x, y) << " vs " << b.Pixel(x, y);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

class CellDrawTest : public ::testing::Test {
 protected:
  void SetUp() override { Bind(100, 240); }

  void Bind(int width, int height) {
    canvas.SetSize(width, height);
    cd.SetCanvas(canvas);
    cd.SetBackground(kBackground);
  }

  // Renders the same frame until the repeat counters have run out.
  template <class Frame>
  void Settle(Frame frame) {
    for (int i = 0; i < TARGB8888CellDraw::kRedrawRepeat + 1; ++i) {
      frame();
      cd.Render(true);
    }
  }

  std::vector<bool> Redrawn() const {
    std::vector<bool> out;
    for (int b = 0; b < cd.BandCount(); ++b) out.push_back(cd.BandChanged(b));
    return out;
  }

  TARGB8888 canvas;
  TARGB8888CellDraw cd;
};

using Bands = std::vector<bool>;

// --- frames and bands ------------------------------------------------------------

TEST_F(CellDrawTest, CutsTheCanvasIntoBandsOfSixtyRows) {
  EXPECT_EQ(cd.BandCount(), 4);
  Bind(100, 600);
  EXPECT_EQ(cd.BandCount(), 10);
}

TEST_F(CellDrawTest, RenderWithClearFillsTheBackground) {
  cd.Render(true);
  EXPECT_EQ(canvas.Pixel(0, 0), kBackground);
  EXPECT_EQ(canvas.Pixel(99, 239), kBackground);
  EXPECT_EQ(Redrawn(), Bands(4, true));
  EXPECT_EQ(cd.CommandCount(), 0);
}

TEST_F(CellDrawTest, RenderWithoutClearDrawsOnlyWhatWasPosted) {
  cd.PostFillSolid({10, 70, 20, 80}, 0xFFFF0000, 0);
  cd.Render(false);
  EXPECT_EQ(canvas.Pixel(10, 70), 0xFFFF0000u);
  EXPECT_EQ(canvas.Pixel(30, 70), 0u);
  EXPECT_EQ(Redrawn(), (Bands{false, true, false, false}));
}

TEST_F(CellDrawTest, UnchangedFrameRedrawsNoBandOnceTheRepeatsRunOut) {
  TARGB8888 sprite;
  Paint(sprite, 40, 90, 5, true);
  auto frame = [&] {
    cd.PostAlpha(sprite, {0, 0, 40, 90}, {30, 50}, 255, 1);
    cd.PostFillBlend({0, 200, 100, 240}, 0x80000000, 2);
  };
  for (int i = 0; i < TARGB8888CellDraw::kRedrawRepeat; ++i) {
    frame();
    Scribble(canvas);
    cd.Render(true);
    EXPECT_EQ(Redrawn(), Bands(4, true)) << "frame " << i;
    for (int b = 0; b < 4; ++b) EXPECT_FALSE(Untouched(canvas, b));
  }
  frame();
  Scribble(canvas);
  cd.Render(true);
  EXPECT_EQ(Redrawn(), Bands(4, false));
  for (int b = 0; b < 4; ++b) EXPECT_TRUE(Untouched(canvas, b)) << "band " << b;
}

TEST_F(CellDrawTest, ChangedBandIsRedrawnInThreeConsecutiveFrames) {
  float x = 10;
  auto frame = [&] { cd.PostFillSolid({x, 130, x + 20, 150}, 0xFF00FF00, 1); };
  Settle(frame);
  x = 12;
  for (int i = 0; i < 3; ++i) {
    frame();
    Scribble(canvas);
    cd.Render(true);
    EXPECT_EQ(Redrawn(), (Bands{false, false, true, false})) << "frame " << i;
    EXPECT_TRUE(Untouched(canvas, 1));
    EXPECT_EQ(canvas.Pixel(12, 130), 0xFF00FF00u);
    EXPECT_EQ(canvas.Pixel(10, 130), kBackground);
  }
  frame();
  cd.Render(true);
  EXPECT_EQ(Redrawn(), Bands(4, false));
}

TEST_F(CellDrawTest, ChangeInTheMiddleOfTheRepeatsStartsThemAgain) {
  uint32_t colour = 0xFF0000FF;
  auto frame = [&] { cd.PostFillSolid({0, 10, 50, 20}, colour, 1); };
  Settle(frame);
  colour = 0xFF0000FE;
  frame();
  cd.Render(true);
  frame();
  cd.Render(true);
  colour = 0xFF0000FD;
  for (int i = 0; i < 3; ++i) {
    frame();
    cd.Render(true);
    EXPECT_TRUE(cd.BandChanged(0)) << i;
  }
  frame();
  cd.Render(true);
  EXPECT_FALSE(cd.BandChanged(0));
}

TEST_F(CellDrawTest, NewSerialOfTheSameImageRedrawsItsBands) {
  TARGB8888 sprite;
  Paint(sprite, 20, 20, 9, false);
  auto frame = [&] { cd.PostCopy(sprite, {0, 0, 20, 20}, {5, 65}, 255, 1); };
  Settle(frame);
  Paint(sprite, 20, 20, 10, false);  // reloaded: new contents, new serial
  frame();
  cd.Render(true);
  EXPECT_EQ(Redrawn(), (Bands{false, true, false, false}));
  EXPECT_EQ(canvas.Pixel(5, 65), sprite.Pixel(0, 0));
}

TEST_F(CellDrawTest, CommandEndingOnABandEdgeIsListedInBothBands) {
  Bind(100, 600);
  cd.PostFillSolid({0, 0, 50, 60}, 0xFFFFFFFF, 0);
  cd.Render(false);
  EXPECT_TRUE(cd.BandChanged(0));
  EXPECT_TRUE(cd.BandChanged(1));
  EXPECT_FALSE(cd.BandChanged(2));
  EXPECT_EQ(canvas.Pixel(0, 59), 0xFFFFFFFFu);
  EXPECT_EQ(canvas.Pixel(0, 60), 0u);
}

TEST_F(CellDrawTest, LastBandOfAnUnevenCanvasIsShorterButDrawn) {
  Bind(100, 130);
  EXPECT_EQ(cd.BandCount(), 3);
  cd.PostFillSolid({0, 100, 100, 140}, 0xFF445566, 1);
  cd.Render(true);
  EXPECT_EQ(canvas.Pixel(50, 129), 0xFF445566u);
  EXPECT_EQ(canvas.Pixel(50, 99), kBackground);
  EXPECT_TRUE(cd.BandChanged(2));
}

TEST_F(CellDrawTest, CanvasResizedAfterBindingIsBoundAgain) {
  cd.Render(true);
  canvas.SetSize(100, 360);
  cd.PostFillSolid({0, 300, 100, 360}, 0xFFABCDEF, 1);
  cd.Render(true);
  EXPECT_EQ(cd.BandCount(), 6);
  EXPECT_EQ(canvas.Pixel(0, 359), 0xFFABCDEFu);
  EXPECT_EQ(canvas.Pixel(0, 0), kBackground);
}

TEST_F(CellDrawTest, CommandsOffTheCanvasAreSkipped) {
  Settle([] {});
  cd.PostFillSolid({-50, 10, -1, 20}, 0xFFFFFFFF, 1);
  cd.PostFillSolid({101, 10, 140, 20}, 0xFFFFFFFF, 1);
  cd.PostFillSolid({10, -40, 20, -1}, 0xFFFFFFFF, 1);
  cd.PostFillSolid({10, 241, 20, 300}, 0xFFFFFFFF, 1);
  Scribble(canvas);
  cd.Render(true);
  EXPECT_EQ(Redrawn(), Bands(4, false));
}

TEST_F(CellDrawTest, RenderWithoutCanvasDoesNothing) {
  TARGB8888CellDraw unbound;
  unbound.PostFillSolid({0, 0, 10, 10}, 0xFFFFFFFF, 0);
  unbound.Render(true);
  EXPECT_EQ(unbound.BandCount(), 0);
  EXPECT_EQ(unbound.CommandCount(), 0);
  MemoryDisplaySurface display(10, 10);
  EXPECT_TRUE(unbound.PresentToSurface(display, true));
  EXPECT_EQ(display.ShowCount(), 0);
}

// --- invalidation and reset ---------------------------------------------------------

TEST_F(CellDrawTest, InvalidateRedrawsTheBandsUnderItsRectangle) {
  auto frame = [&] { cd.PostFillSolid({0, 0, 100, 240}, 0xFF808080, 1); };
  Settle(frame);
  frame();
  cd.PostInvalidate({30, 70, 40, 130});
  Scribble(canvas);
  cd.Render(true);
  EXPECT_EQ(Redrawn(), (Bands{false, true, true, false}));
  EXPECT_TRUE(Untouched(canvas, 0));
  EXPECT_EQ(canvas.Pixel(0, 60), 0xFF808080u);
  EXPECT_EQ(canvas.Pixel(99, 179), 0xFF808080u);
  // The invalidated bands keep redrawing for the rest of their repeats.
  frame();
  cd.Render(true);
  EXPECT_EQ(Redrawn(), (Bands{false, true, true, false}));
}

TEST_F(CellDrawTest, InvalidateAllRedrawsEveryBand) {
  auto frame = [&] { cd.PostFillSolid({0, 0, 50, 50}, 0xFF808080, 1); };
  Settle(frame);
  frame();
  cd.PostInvalidateAll();
  cd.Render(true);
  EXPECT_EQ(Redrawn(), Bands(4, true));
}

TEST_F(CellDrawTest, ResetForgetsWhatTheScreenShows) {
  auto frame = [&] { cd.PostFillSolid({0, 0, 50, 50}, 0xFF808080, 1); };
  Settle(frame);
  cd.PostFillSolid({0, 0, 10, 10}, 0xFFFFFFFF, 1);  // dropped by Reset
  cd.Reset();
  EXPECT_EQ(cd.CommandCount(), 0);
  frame();
  Scribble(canvas);
  cd.Render(true);
  EXPECT_EQ(Redrawn(), Bands(4, true));
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFF808080u);
}

TEST_F(CellDrawTest, PostedMarkRedrawsItsBandsWhenItsExtraChanges) {
  uint32_t extra = 1;
  auto frame = [&] { cd.PostMark({0, 130, 10, 140}, extra, 3); };
  Settle(frame);
  extra = 2;
  frame();
  cd.Render(true);
  EXPECT_EQ(Redrawn(), (Bands{false, false, true, false}));
  EXPECT_EQ(canvas.Pixel(5, 135), kBackground);
}

// --- limits and order ----------------------------------------------------------------

TEST_F(CellDrawTest, CommandsPastTheFrameLimitAreDropped) {
  for (int i = 0; i < TARGB8888CellDraw::kMaxCommands; ++i) cd.PostInvalidate({0, 0, 10, 10});
  EXPECT_EQ(cd.CommandCount(), 1024);
  cd.PostFillSolid({0, 200, 100, 240}, 0xFFFFFFFF, 5);  // the 1025th
  EXPECT_EQ(cd.CommandCount(), 1024);
  Scribble(canvas);
  cd.Render(true);
  EXPECT_EQ(canvas.Pixel(0, 200), kBackground);
  // The background still reaches every band of a full frame.
  EXPECT_EQ(canvas.Pixel(0, 0), kBackground);
}

TEST_F(CellDrawTest, BandDrawsOnlyItsFirstThirtyTwoPartsInPriorityOrder) {
  // Posted from the top down; fill i covers columns 2i and 2i+1 of row 10.
  for (int i = 32; i >= 0; --i) {
    float x = static_cast<float>(2 * i);
    cd.PostFillSolid({x, 10, x + 2, 11}, 0xFF000000u | static_cast<uint32_t>(i + 1),
                     static_cast<float>(i));
  }
  cd.PostFillSolid({0, 70, 2, 71}, 0xFFFFFFFF, 0);
  cd.Render(false);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(canvas.Pixel(2 * i, 10), 0xFF000000u | (i + 1)) << i;
  EXPECT_EQ(canvas.Pixel(64, 10), 0u);
  EXPECT_EQ(canvas.Pixel(0, 70), 0xFFFFFFFFu);
}

TEST_F(CellDrawTest, EqualPrioritiesDrawInPostingOrder) {
  // 5.2 and 5.9 both truncate to 5, so posting order decides.
  cd.PostFillSolid({0, 0, 20, 20}, 0xFFAA0000, 5.9f);
  cd.PostFillSolid({10, 0, 30, 20}, 0xFF00BB00, 5.2f);
  cd.PostFillSolid({20, 0, 40, 20}, 0xFF0000CC, 6);
  cd.PostFillSolid({30, 0, 50, 20}, 0xFFDD0000, 5);
  cd.Render(true);
  EXPECT_EQ(canvas.Pixel(12, 5), 0xFF00BB00u);
  EXPECT_EQ(canvas.Pixel(22, 5), 0xFF0000CCu);
  EXPECT_EQ(canvas.Pixel(32, 5), 0xFF0000CCu);
  EXPECT_EQ(canvas.Pixel(42, 5), 0xFFDD0000u);
}

TEST_F(CellDrawTest, PrioritiesFarFromZeroStillOrderTheirCommands) {
  cd.PostFillSolid({0, 0, 20, 20}, 0xFFAA0000, 5e6f);
  cd.PostFillSolid({0, 0, 20, 20}, 0xFF00BB00, -5e6f);
  cd.PostFillSolid({30, 0, 50, 20}, 0xFFAA0000, 1e12f);
  cd.PostFillSolid({30, 0, 50, 20}, 0xFF00BB00, 3e9f);  // both beyond 32 bits: posting order
  cd.PostFillSolid({60, 0, 80, 20}, 0xFFAA0000, 0);
  cd.PostFillSolid({60, 0, 80, 20}, 0xFF00BB00, std::numeric_limits<float>::quiet_NaN());
  cd.Render(true);
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFFAA0000u);
  EXPECT_EQ(canvas.Pixel(35, 5), 0xFF00BB00u);
  EXPECT_EQ(canvas.Pixel(65, 5), 0xFF00BB00u);
}

TEST_F(CellDrawTest, BackgroundIsPostedLastAtItsOwnPriority) {
  cd.PostFillSolid({0, 0, 20, 20}, 0xFF00BB00, TARGB8888CellDraw::kBackgroundPriority + 1);
  cd.PostFillSolid({30, 0, 50, 20}, 0xFF00BB00, TARGB8888CellDraw::kBackgroundPriority);
  cd.Render(true);
  EXPECT_EQ(canvas.Pixel(5, 5), 0xFF00BB00u);
  EXPECT_EQ(canvas.Pixel(35, 5), kBackground);
}

TEST_F(CellDrawTest, UnusableRectanglesAreNotRecorded) {
  float nan = std::numeric_limits<float>::quiet_NaN();
  float inf = std::numeric_limits<float>::infinity();
  TARGB8888 sprite;
  Paint(sprite, 8, 8, 1, false);
  cd.PostFillSolid({5, 5, 5.0005f, 5.0005f}, 0xFFFFFFFF, 0);
  cd.PostFillSolid({nan, 0, 10, 10}, 0xFFFFFFFF, 0);
  cd.PostCopy(sprite, {0, 0, 8, 8}, {inf, 0}, 255, 0);
  cd.PostCopyStretched(sprite, {0, 0, 8, 8}, {0, 0, 10, -inf}, 255, 0);
  EXPECT_EQ(cd.CommandCount(), 0);
  cd.PostFillSolid({5, 5, 5, 50}, 0xFFFFFFFF, 0);  // a line is still a rectangle
  EXPECT_EQ(cd.CommandCount(), 1);
  cd.PostCopy(sprite, {1e30f, 0, 1e30f + 8, 8}, {-1e30f, 1e30f}, 255, 0);
  cd.PostFillSolid({-3e38f, -3e38f, 3e38f, 3e38f}, 0xFF0000FF, 1);
  cd.Render(true);
  EXPECT_EQ(canvas.Pixel(50, 100), 0xFF0000FFu);
}

TEST_F(CellDrawTest, TransparentPostsAreDropped) {
  TARGB8888 sprite;
  Paint(sprite, 8, 8, 1, false);
  cd.PostCopy(sprite, {0, 0, 8, 8}, {0, 0}, 0, 0);
  cd.PostAlphaStretched(sprite, {0, 0, 8, 8}, {0, 0, 16, 16}, -4, 0);
  cd.PostMasked(sprite, {0, 0, 8, 8}, {0, 0}, sprite, {0, 0}, 0x00FFFFFF, 0);
  cd.PostFillBlend({0, 0, 8, 8}, 0x00FFFFFF, 0);
  cd.PostFillInvert({0, 0, 8, 8}, 0x00FFFFFF, 0);
  EXPECT_EQ(cd.CommandCount(), 0);
  // Tints are recorded whatever their alpha, but draw nothing at alpha 0.
  cd.PostColourAdd(sprite, {0, 0, 8, 8}, {0, 0}, 0x00FFFFFF, 0);
  EXPECT_EQ(cd.CommandCount(), 1);
  cd.Render(false);
  EXPECT_FALSE(cd.BandChanged(0));
}

// --- the opaque cut-away ----------------------------------------------------------------

class CutAwayTest : public CellDrawTest {
 protected:
  void SetUp() override {
    CellDrawTest::SetUp();
    Paint(cover, 100, 60, 3, false);
    Paint(top, 10, 10, 4, false);
  }

  // A fill under a full-band copy of band 1, and a small copy above it.
  void Frame(int opacity) {
    cd.PostFillSolid({0, 70, 50, 90}, under, 1);
    cd.PostCopy(cover, {0, 0, 100, 60}, {0, 60}, opacity, 2);
    cd.PostCopy(top, {0, 0, 10, 10}, {4, 64}, 255, 3);
  }

  TARGB8888 cover, top;
  uint32_t under = 0xFFFF0000;
};

TEST_F(CutAwayTest, OpaqueFullBandCopyHidesEverythingUnderIt) {
  Settle([&] { Frame(255); });
  EXPECT_EQ(canvas.Pixel(4, 64), top.Pixel(0, 0));
  EXPECT_EQ(canvas.Pixel(20, 75), cover.Pixel(20, 15));
  under = 0xFF00FF00;
  Frame(255);
  Scribble(canvas);
  cd.Render(true);
  EXPECT_FALSE(cd.BandChanged(1));
  EXPECT_TRUE(Untouched(canvas, 1));
}

TEST_F(CutAwayTest, CopyJustBelowFullOpacityKeepsWhatLiesUnder) {
  Settle([&] { Frame(254); });
  under = 0xFF00FF00;
  Frame(254);
  cd.Render(true);
  EXPECT_TRUE(cd.BandChanged(1));
  std::vector<Item> items = {
      {DrawKind::kFillSolid, nullptr, nullptr, {}, {0, 70, 50, 90}, {}, 255, under, 1},
      {DrawKind::kCopy, &cover, nullptr, {0, 0, 100, 60}, {0, 60, 0, 0}, {}, 254, 0, 2},
      {DrawKind::kCopy, &top, nullptr, {0, 0, 10, 10}, {4, 64, 0, 0}, {}, 255, 0, 3}};
  TARGB8888 direct;
  direct.SetSize(100, 240);
  DrawDirect(direct, items, kBackground);
  EXPECT_TRUE(SamePixels(canvas, direct));
}

TEST_F(CutAwayTest, CopyThatMissesARowOfTheBandKeepsWhatLiesUnder) {
  auto frame = [&] {
    cd.PostFillSolid({0, 70, 50, 90}, under, 1);
    cd.PostCopy(cover, {0, 0, 100, 59}, {0, 60}, 255, 2);
  };
  Settle(frame);
  under = 0xFF00FF00;
  frame();
  cd.Render(true);
  EXPECT_TRUE(cd.BandChanged(1));
}

TEST_F(CutAwayTest, CopyOfASmallerImageDoesNotHideTheBand) {
  TARGB8888 narrow;
  Paint(narrow, 50, 60, 8, false);
  auto frame = [&] {
    cd.PostFillSolid({60, 70, 90, 90}, under, 1);
    cd.PostCopy(narrow, {0, 0, 100, 60}, {0, 60}, 255, 2);
  };
  Settle(frame);
  EXPECT_EQ(canvas.Pixel(70, 75), under);
  under = 0xFF00FF00;
  frame();
  cd.Render(true);
  EXPECT_TRUE(cd.BandChanged(1));
  EXPECT_EQ(canvas.Pixel(70, 75), 0xFF00FF00u);
  EXPECT_EQ(canvas.Pixel(10, 75), narrow.Pixel(10, 15));
}

TEST_F(CutAwayTest, CutAwayMakesRoomInAFullBand) {
  for (int i = 0; i < 40; ++i) cd.PostFillSolid({0, 70, 2, 71}, 0xFF000000u | i, 1);
  cd.PostCopy(cover, {0, 0, 100, 60}, {0, 60}, 255, 2);
  for (int i = 0; i < 31; ++i) {
    float x = static_cast<float>(2 * i);
    cd.PostFillSolid({x, 100, x + 2, 101}, 0xFFFFFF00u | i, 3);
  }
  cd.Render(true);
  EXPECT_EQ(canvas.Pixel(0, 70), cover.Pixel(0, 10));
  EXPECT_EQ(canvas.Pixel(60, 100), 0xFFFFFF00u | 30);
}

// --- afterimage -------------------------------------------------------------------------

uint32_t Average(uint32_t a, uint32_t b) {
  return ((a >> 1) & 0x7F7F7F7F) + ((b >> 1) & 0x7F7F7F7F);
}

TEST_F(CellDrawTest, AfterimageAveragesOldAndNewForSixteenFrames) {
  uint32_t colour = 0xFF204060;
  auto frame = [&] { cd.PostFillSolid({0, 60, 100, 120}, colour, 1); };
  Settle(frame);
  colour = 0xFF80A0C0;
  frame();
  cd.PostAfterimage();
  cd.Render(true);
  // (0xFF204060 >> 1 & 0x7F7F7F7F) + (0xFF80A0C0 >> 1 & 0x7F7F7F7F), by hand.
  uint32_t expected = 0xFE507090;
  EXPECT_EQ(canvas.Pixel(0, 60), expected);
  EXPECT_EQ(canvas.Pixel(0, 0), kBackground) << "unchanged bands keep their pixels";
  EXPECT_FALSE(cd.BandChanged(0));
  for (int i = 1; i < TARGB8888CellDraw::kAfterimageFrames; ++i) {
    frame();
    cd.Render(true);
    expected = Average(expected, colour);
    EXPECT_TRUE(cd.BandChanged(1)) << i;
    EXPECT_EQ(canvas.Pixel(50, 119), expected) << "frame " << i;
  }
  // By hand, red: 0x20 -> 0x50, 0x68, 0x74, 0x7A, 0x7D, 0x7E, 0x7F, and there it stays,
  // one short of the new 0x80; green and blue likewise end one short.
  EXPECT_EQ(expected, 0xFE7F9FBFu);
  for (int i = 0; i < 2; ++i) {
    frame();
    cd.Render(true);
    EXPECT_TRUE(cd.BandChanged(1));
    EXPECT_EQ(canvas.Pixel(50, 119), colour);
  }
  frame();
  cd.Render(true);
  EXPECT_FALSE(cd.BandChanged(1));
}

TEST_F(CellDrawTest, AfterimageKeepsRestartingWhilePostedEveryFrame) {
  uint32_t colour = 0xFF000000;
  auto frame = [&] {
    cd.PostFillSolid({0, 60, 100, 120}, colour, 1);
    cd.PostAfterimage();
  };
  frame();
  cd.Render(true);
  colour = 0xFFFFFFFF;
  for (int i = 0; i < 40; ++i) {
    frame();
    cd.Render(true);
    EXPECT_TRUE(cd.BandChanged(1)) << i;
  }
  // Each channel c becomes (c >> 1) + 127, which settles at 253: the trail
  // never quite reaches white while afterimages go on.
  EXPECT_EQ(canvas.Pixel(0, 60), 0xFDFDFDFDu);
}

TEST_F(CellDrawTest, AfterimageBandShowsOnlyItsOwnOldContents) {
  canvas.SetBits(0xFF000000, 0);
  cd.PostFillSolid({0, 0, 40, 60}, 0xFFFF0000, 1);
  cd.PostFillSolid({60, 60, 100, 120}, 0xFF0000FF, 1);
  cd.PostAfterimage();
  cd.Render(false);
  EXPECT_EQ(canvas.Pixel(10, 10), Average(0xFF000000, 0xFFFF0000));
  EXPECT_EQ(canvas.Pixel(70, 70), Average(0xFF000000, 0xFF0000FF));
  // Band 1 where nothing was drawn: black averaged with black, not with band 0's red.
  EXPECT_EQ(canvas.Pixel(10, 70), Average(0xFF000000, 0xFF000000));
}

// --- Render against drawing straight into a full picture ------------------------------------

class RenderMatchesDirectDrawing : public ::testing::TestWithParam<DrawKind> {
 protected:
  static constexpr int kWidth = 100;
  static constexpr int kHeight = 180;

  void SetUp() override {
    canvas.SetSize(kWidth, kHeight);
    direct.SetSize(kWidth, kHeight);
    cd.SetCanvas(canvas);
    cd.SetBackground(kBackground);
    Paint(ground, kWidth, kHeight, 11, false);
    Paint(sprite, 64, 50, 12, true);
    Paint(mask, 64, 50, 13, false);
  }

  // The item under test at (x, y): a 64 x 50 area, stretched 2:1 or 1:2.
  Item Subject(float x, float y, int frame) const {
    DrawKind kind = GetParam();
    Item it;
    it.kind = kind;
    it.image = &sprite;
    it.priority = 10;
    it.opacity = frame % 2 ? 180 : 255;
    it.dst = {x, y, x + 64, y + 50};
    it.src = {0, 0, 64, 50};
    switch (kind) {
      case DrawKind::kFillSolid:
        it.colour = 0xFF336699;
        break;
      case DrawKind::kFillBlend:
        it.colour = 0x80FF8040;
        break;
      case DrawKind::kFillAdd:
        it.colour = 0x80402010;
        break;
      case DrawKind::kFillMultiply:
        it.colour = 0xC0808080;
        break;
      case DrawKind::kFillInvert:
        it.colour = 0xA0FFFFFF;
        break;
      case DrawKind::kColourAdd:
        it.colour = 0xC0406080;
        break;
      case DrawKind::kColourMultiply:
        it.colour = 0xFF80C0FF;
        break;
      case DrawKind::kMasked:
        it.mask = &mask;
        it.maskOrigin = {3, 2};
        it.src = {0, 0, 60, 48};
        it.colour = 0xE0FFC080;
        break;
      default:
        break;
    }
    bool stretched = kind == DrawKind::kCopyStretched || kind == DrawKind::kAddStretched ||
                     kind == DrawKind::kMultiplyStretched ||
                     kind == DrawKind::kExclusionStretched || kind == DrawKind::kAlphaStretched;
    if (stretched && frame % 2) it.src = {0, 0, 32, 25};             // enlarged twice
    if (stretched && !(frame % 2)) it.dst = {x, y, x + 32, y + 25};  // halved
    return it;
  }

  std::vector<Item> Scene(float x, float y, int frame) const {
    return {{DrawKind::kCopy, &ground, nullptr, {0, 0, kWidth, kHeight}, {}, {}, 255, 0, 0},
            Subject(x, y, frame),
            {DrawKind::kFillBlend, nullptr, nullptr, {}, {6, 100, 94, 170}, {}, 0, 0x60000020, 20}};
  }

  TARGB8888 canvas, direct, ground, sprite, mask;
  TARGB8888CellDraw cd;
};

TEST_P(RenderMatchesDirectDrawing, AcrossEveryEdgeAndFrameAfterFrame) {
  // Over the canvas's top-left corner, across band edges, over the right and
  // bottom edges, and back again, so that unchanged bands must stay correct.
  const PointF places[] = {{-7, -13}, {40, 35},  {61, 100}, {10, 150}, {-20, 55},
                           {37, 119}, {37, 119}, {37, 119}, {37, 119}, {-7, -13}};
  int frame = 0;
  for (PointF p : places) {
    std::vector<Item> items = Scene(p.x, p.y, frame);
    for (const Item& it : items) PostItem(cd, it);
    cd.Render(true);
    DrawDirect(direct, items, kBackground);
    EXPECT_TRUE(SamePixels(canvas, direct)) << "frame " << frame << " at " << p.x << ", " << p.y;
    ++frame;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, RenderMatchesDirectDrawing,
    ::testing::Values(DrawKind::kFillSolid, DrawKind::kFillBlend, DrawKind::kFillAdd,
                      DrawKind::kFillMultiply, DrawKind::kFillInvert, DrawKind::kCopy,
                      DrawKind::kCopyStretched, DrawKind::kAdd, DrawKind::kAddStretched,
                      DrawKind::kMultiply, DrawKind::kMultiplyStretched, DrawKind::kExclusion,
                      DrawKind::kExclusionStretched, DrawKind::kAlpha, DrawKind::kAlphaStretched,
                      DrawKind::kColourAdd, DrawKind::kColourMultiply, DrawKind::kMasked),
    [](const ::testing::TestParamInfo<DrawKind>& info) {
      return "Kind" + std::to_string(static_cast<int>(info.param));
    });

TEST_F(CellDrawTest, RenderMatchesDirectDrawingOfABusyScene) {
  Bind(200, 300);
  TARGB8888 a, b, direct;
  Paint(a, 90, 70, 21, true);
  Paint(b, 40, 130, 22, false);
  direct.SetSize(200, 300);
  for (int frame = 0; frame < 8; ++frame) {
    float f = static_cast<float>(frame * 9);
    std::vector<Item> items;
    for (int i = 0; i < 12; ++i) {
      float x = static_cast<float>((i * 37) % 180) - 20 + f,
            y = static_cast<float>((i * 53) % 280) - 15;
      float priority = static_cast<float>((i * 5) % 7);
      items.push_back(
          {DrawKind::kAlpha, &a, nullptr, {0, 0, 90, 70}, {x, y, 0, 0}, {}, 200, 0, priority});
      items.push_back({DrawKind::kFillBlend,
                       nullptr,
                       nullptr,
                       {},
                       {y, x, y + 30, x + 45},
                       {},
                       0,
                       0x70FFFFFF - static_cast<uint32_t>(i),
                       priority});
      items.push_back({DrawKind::kCopyStretched,
                       &b,
                       nullptr,
                       {0, 0, 40, 130},
                       {x, y + 20, x + 20, y + 85},
                       {},
                       255,
                       0,
                       priority + 1});
    }
    for (const Item& it : items) PostItem(cd, it);
    cd.Render(true);
    DrawDirect(direct, items, kBackground);
    EXPECT_TRUE(SamePixels(canvas, direct)) << "frame " << frame;
  }
}

// --- presenters ---------------------------------------------------------------------------

class PresentTest : public CellDrawTest {
 protected:
  void SetUp() override {
    Bind(100, 600);
    TARGB8888::InterlaceActive = false;
    TARGB8888::InterlaceOff = false;
    TARGB8888::InterlaceField = 1;
  }
  void TearDown() override {
    TARGB8888::InterlaceActive = false;
    TARGB8888::InterlaceField = 0;
  }

  // Settles a grey screen, then changes the listed bands.
  void ChangeBands(std::initializer_list<int> bands) {
    Settle([&] { cd.PostFillSolid({0, 0, 100, 600}, 0xFF808080, 1); });
    cd.PostFillSolid({0, 0, 100, 600}, 0xFF808080, 1);
    for (int b : bands) {
      float top = static_cast<float>(b * 60);
      cd.PostFillSolid({0, top + 1, 100, top + 59}, 0xFF000000u | static_cast<uint32_t>(b), 2);
    }
    cd.Render(true);
  }
};

TEST_F(PresentTest, SurfaceGetsOneFieldOfTheChangedBands) {
  MemoryDisplaySurface display(100, 600);
  ChangeBands({2});
  ASSERT_TRUE(cd.PresentToSurface(display, false));
  EXPECT_EQ(display.ShowCount(), 1);
  EXPECT_FALSE(display.Locked());
  EXPECT_FALSE(TARGB8888::InterlaceActive);
  EXPECT_EQ(display.BackPixel(10, 121), 0xFF000002u);
  EXPECT_EQ(display.BackPixel(10, 179), 0xFF808080u);
  EXPECT_EQ(display.BackPixel(10, 122), 0u) << "the other field waits for the next frame";
  EXPECT_EQ(display.BackPixel(10, 61), 0u) << "unchanged band";
  EXPECT_EQ(display.WindowPixel(10, 121), 0xFF000002u);
}

TEST_F(PresentTest, SurfaceGetsEveryRowWhenInterlacingIsOff) {
  TARGB8888::InterlaceOff = true;
  MemoryDisplaySurface display(100, 600);
  ChangeBands({2});
  ASSERT_TRUE(cd.PresentToSurface(display, false));
  EXPECT_EQ(display.BackPixel(10, 122), 0xFF000002u);
  EXPECT_EQ(display.BackPixel(10, 61), 0u);
  TARGB8888::InterlaceOff = false;
}

TEST_F(PresentTest, FullPresentCopiesTheWholeCanvasInTheSurfaceFormat) {
  MemoryDisplaySurface display(100, 600, 16, 0x07E0);
  Settle([&] { cd.PostFillSolid({0, 0, 100, 600}, 0xFF405060, 1); });
  ASSERT_FALSE(cd.BandChanged(0));
  ASSERT_TRUE(cd.PresentToSurface(display, true));
  // 5-6-5: red 0x40 >> 3 = 8, green 0x50 >> 2 = 20, blue 0x60 >> 3 = 12.
  uint32_t expected = 8 << 11 | 20 << 5 | 12;
  EXPECT_EQ(display.BackPixel(0, 0), expected);
  EXPECT_EQ(display.BackPixel(99, 599), expected);
  EXPECT_EQ(display.BackPixel(50, 301), expected);
}

TEST_F(PresentTest, LostSurfaceReportsFailureAndShowsNothing) {
  MemoryDisplaySurface display(100, 600);
  display.SetLost(true);
  ChangeBands({1});
  EXPECT_FALSE(cd.PresentToSurface(display, false));
  EXPECT_EQ(display.ShowCount(), 0);
  EXPECT_FALSE(TARGB8888::InterlaceActive);
}

TEST_F(PresentTest, WindowGetsChangedBandsOneByOneBelowThreeQuarters) {
  MemoryDisplaySurface display(100, 600);
  ChangeBands({1, 2, 4, 6, 8, 9});
  cd.PresentToWindow(display, false);
  std::vector<int> tops;
  for (const RectI& r : display.WindowCopies()) {
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 100);
    EXPECT_EQ(r.bottom - r.top, 60);
    tops.push_back(r.top);
  }
  EXPECT_EQ(tops, (std::vector<int>{60, 120, 240, 360, 480, 540}));
  EXPECT_EQ(display.WindowPixel(5, 61), 0xFF000001u);
  EXPECT_EQ(display.WindowPixel(5, 181), 0u);
  EXPECT_EQ(display.ShowCount(), 0);
}

TEST_F(PresentTest, WindowGetsOneSpanFromThreeQuartersOn) {
  MemoryDisplaySurface display(100, 600);
  ChangeBands({1, 2, 4, 5, 6, 7, 8});
  cd.PresentToWindow(display, false);
  ASSERT_EQ(display.WindowCopies().size(), 1u);
  const RectI& r = display.WindowCopies()[0];
  EXPECT_EQ(r.top, 60);
  EXPECT_EQ(r.bottom, 540);
  EXPECT_EQ(display.WindowPixel(5, 181), 0xFF808080u) << "unchanged bands inside the span";
}

TEST_F(PresentTest, FullWindowPresentIsOneCopyOfTheCanvas) {
  MemoryDisplaySurface display(100, 600);
  ChangeBands({});
  cd.PresentToWindow(display, false);
  EXPECT_TRUE(display.WindowCopies().empty());
  cd.PresentToWindow(display, true);
  ASSERT_EQ(display.WindowCopies().size(), 1u);
  const RectI& r = display.WindowCopies()[0];
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.bottom, 600);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(display.WindowPixel(99, 599), 0xFF808080u);
}

}  // namespace
}  // namespace mavu::imaging
