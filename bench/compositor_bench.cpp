// TARGB8888CellDraw::Render on a typical 800 x 600 frame: a background, two
// characters with alpha and a translucent message window. Measured when every
// band changed, when nothing changed, and against the peer that the band
// compositor replaces: drawing the same frame straight into the canvas.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "imaging/argb8888.h"
#include "imaging/argb8888_cell_draw.h"

namespace {

using mavu::imaging::PointF;
using mavu::imaging::RectF;
using mavu::imaging::TARGB8888;
using mavu::imaging::TARGB8888CellDraw;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kCharacterWidth = 320;
constexpr int kCharacterHeight = 540;
constexpr uint32_t kBackground = 0xFF000000;
constexpr uint32_t kWindowColour = 0x80102040;
constexpr RectF kWindow{20, 440, 780, 590};

// Noise; with alpha, a character's mix of transparent surroundings, opaque
// body and soft edges.
TARGB8888 Picture(int width, int height, uint32_t seed, bool withAlpha) {
  TARGB8888 image;
  image.SetSize(width, height);
  std::mt19937 rng(seed);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = image.Row(y);
    for (int x = 0; x < width; ++x) {
      uint32_t alpha = 255;
      if (withAlpha) {
        int edge = std::min({x, width - 1 - x, y});
        alpha = edge < 40 ? 0 : edge < 48 ? static_cast<uint32_t>((edge - 40) * 32) : 255;
      }
      row[x] = alpha << 24 | (static_cast<uint32_t>(rng()) & 0x00FFFFFFu);
    }
  }
  image.RecomputeHasAlpha();
  return image;
}

struct Scene {
  TARGB8888 canvas;
  TARGB8888 backgrounds[2];
  TARGB8888 left;
  TARGB8888 right;
  TARGB8888CellDraw cd;

  Scene() {
    canvas.SetSize(kWidth, kHeight);
    backgrounds[0] = Picture(kWidth, kHeight, 1, false);
    backgrounds[1] = Picture(kWidth, kHeight, 2, false);
    left = Picture(kCharacterWidth, kCharacterHeight, 3, true);
    right = Picture(kCharacterWidth, kCharacterHeight, 4, true);
    cd.SetCanvas(canvas);
    cd.SetBackground(kBackground);
  }

  void Post(int background) {
    RectF whole{0, 0, kWidth, kHeight};
    RectF character{0, 0, kCharacterWidth, kCharacterHeight};
    cd.PostCopy(backgrounds[background], whole, {0, 0}, 255, 0);
    cd.PostAlpha(left, character, {60, 60}, 255, 10);
    cd.PostAlpha(right, character, {420, 60}, 255, 11);
    cd.PostFillBlend(kWindow, kWindowColour, 20);
  }
};

// A new background every frame: every band's list differs from the last one.
void BM_RenderEveryBandChanged(benchmark::State& state) {
  Scene scene;
  int frame = 0;
  for (auto _ : state) {
    scene.Post(frame++ & 1);
    scene.cd.Render(true);
    benchmark::DoNotOptimize(scene.canvas.Row(0));
  }
}
BENCHMARK(BM_RenderEveryBandChanged)->Unit(benchmark::kMicrosecond);

// The same frame again once the repeat redraws have run out: only sorting,
// clipping and comparing the band lists remain.
void BM_RenderNothingChanged(benchmark::State& state) {
  Scene scene;
  for (int i = 0; i <= TARGB8888CellDraw::kRedrawRepeat; ++i) {
    scene.Post(0);
    scene.cd.Render(true);
  }
  for (auto _ : state) {
    scene.Post(0);
    scene.cd.Render(true);
    benchmark::DoNotOptimize(scene.canvas.Row(0));
  }
}
BENCHMARK(BM_RenderNothingChanged)->Unit(benchmark::kMicrosecond);

// The peer: the whole frame drawn straight into the canvas every time.
void BM_DirectFullRedraw(benchmark::State& state) {
  Scene scene;
  RectF whole{0, 0, kWidth, kHeight};
  RectF character{0, 0, kCharacterWidth, kCharacterHeight};
  for (auto _ : state) {
    scene.canvas.FillSolid(whole, kBackground);
    scene.backgrounds[0].DrawCopy(scene.canvas, whole, PointF{0, 0}, 255);
    scene.left.DrawAlpha(scene.canvas, character, PointF{60, 60}, 255);
    scene.right.DrawAlpha(scene.canvas, character, PointF{420, 60}, 255);
    scene.canvas.FillBlend(kWindow, kWindowColour);
    benchmark::DoNotOptimize(scene.canvas.Row(0));
  }
}
BENCHMARK(BM_DirectFullRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
