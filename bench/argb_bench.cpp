// TARGB8888's hot pixel loops against their nearest peers, full screen at
// 800 x 600 and 1024 x 768: DrawAlpha and FillBlend against pixman's OVER
// (pixman works on premultiplied pixels, so its source is prepared once,
// outside the timing), and the opaque DrawCopy against memcpy.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <random>
#include <vector>

#include "imaging/argb8888.h"

namespace {

using mavu::imaging::TARGB8888;

constexpr uint32_t kBlendColour = 0x80336699u;

int Width(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}
int Height(const benchmark::State& state) {
  return static_cast<int>(state.range(1));
}

// A picture with every kind of alpha a character sprite has: opaque runs,
// transparent runs and soft edges.
TARGB8888 Picture(int width, int height) {
  TARGB8888 image;
  image.SetSize(width, height);
  std::mt19937 rng(7);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = image.Row(y);
    for (int x = 0; x < width; ++x) {
      int band = (x / 64 + y / 48) % 4;
      uint32_t alpha = band == 0 ? 0 : band == 1 ? 255 : static_cast<uint32_t>((x * 3 + y) & 0xFF);
      row[x] = alpha << 24 | (static_cast<uint32_t>(rng()) & 0x00FFFFFFu);
    }
  }
  return image;
}

TARGB8888 Screen(int width, int height) {
  TARGB8888 image = Picture(width, height);
  image.SetBits(0xFF000000u, 0x00FFFFFFu);
  return image;
}

void SetBytes(benchmark::State& state, int width, int height) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * width * height * 4);
}

// pixman's view of a buffer: top-down rows with a negative stride over the
// bottom-up memory.
pixman_image_t* PixmanView(TARGB8888& image) {
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, image.Width(), image.Height(), image.Row(0),
                                  -static_cast<int>(image.Pitch()));
}

uint32_t Premultiply(uint32_t p) {
  uint32_t a = p >> 24;
  auto channel = [&](int shift) { return (((p >> shift) & 0xFF) * a + 127) / 255 << shift; };
  return a << 24 | channel(16) | channel(8) | channel(0);
}

void BM_DrawAlpha(benchmark::State& state) {
  int w = Width(state), h = Height(state);
  TARGB8888 picture = Picture(w, h), screen = Screen(w, h);
  mavu::imaging::RectF all{0, 0, static_cast<float>(w), static_cast<float>(h)};
  for (auto _ : state) {
    picture.DrawAlpha(screen, all, {0, 0}, 255);
    benchmark::ClobberMemory();
  }
  SetBytes(state, w, h);
}

void BM_DrawAlphaHalfOpacity(benchmark::State& state) {
  int w = Width(state), h = Height(state);
  TARGB8888 picture = Picture(w, h), screen = Screen(w, h);
  mavu::imaging::RectF all{0, 0, static_cast<float>(w), static_cast<float>(h)};
  for (auto _ : state) {
    picture.DrawAlpha(screen, all, {0, 0}, 128);
    benchmark::ClobberMemory();
  }
  SetBytes(state, w, h);
}

void BM_PixmanOver(benchmark::State& state) {
  int w = Width(state), h = Height(state);
  TARGB8888 picture = Picture(w, h), screen = Screen(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) picture.Row(y)[x] = Premultiply(picture.Row(y)[x]);
  }
  pixman_image_t* src = PixmanView(picture);
  pixman_image_t* dst = PixmanView(screen);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0, w, h);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(src);
  pixman_image_unref(dst);
  SetBytes(state, w, h);
}

void BM_DrawCopy(benchmark::State& state) {
  int w = Width(state), h = Height(state);
  TARGB8888 picture = Picture(w, h), screen = Screen(w, h);
  mavu::imaging::RectF all{0, 0, static_cast<float>(w), static_cast<float>(h)};
  for (auto _ : state) {
    picture.DrawCopy(screen, all, {0, 0}, 255);
    benchmark::ClobberMemory();
  }
  SetBytes(state, w, h);
}

void BM_Memcpy(benchmark::State& state) {
  int w = Width(state), h = Height(state);
  TARGB8888 picture = Picture(w, h), screen = Screen(w, h);
  size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
  for (auto _ : state) {
    std::memcpy(screen.Bits(), picture.Bits(), bytes);
    benchmark::ClobberMemory();
  }
  SetBytes(state, w, h);
}

void BM_FillBlend(benchmark::State& state) {
  int w = Width(state), h = Height(state);
  TARGB8888 screen = Screen(w, h);
  mavu::imaging::RectF all{0, 0, static_cast<float>(w), static_cast<float>(h)};
  for (auto _ : state) {
    screen.FillBlend(all, kBlendColour);
    benchmark::ClobberMemory();
  }
  SetBytes(state, w, h);
}

void BM_PixmanOverSolid(benchmark::State& state) {
  int w = Width(state), h = Height(state);
  TARGB8888 screen = Screen(w, h);
  uint32_t p = Premultiply(kBlendColour);
  auto wide = [](uint32_t v) { return static_cast<uint16_t>(v * 0x101); };
  pixman_color_t colour{wide((p >> 16) & 0xFF), wide((p >> 8) & 0xFF), wide(p & 0xFF),
                        wide(p >> 24)};
  pixman_image_t* src = pixman_image_create_solid_fill(&colour);
  pixman_image_t* dst = PixmanView(screen);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0, w, h);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(src);
  pixman_image_unref(dst);
  SetBytes(state, w, h);
}

void Screens(benchmark::internal::Benchmark* b) {
  b->Args({800, 600})->Args({1024, 768});
}

BENCHMARK(BM_DrawAlpha)->Apply(Screens);
BENCHMARK(BM_DrawAlphaHalfOpacity)->Apply(Screens);
BENCHMARK(BM_PixmanOver)->Apply(Screens);
BENCHMARK(BM_DrawCopy)->Apply(Screens);
BENCHMARK(BM_Memcpy)->Apply(Screens);
BENCHMARK(BM_FillBlend)->Apply(Screens);
BENCHMARK(BM_PixmanOverSolid)->Apply(Screens);

}  // namespace
