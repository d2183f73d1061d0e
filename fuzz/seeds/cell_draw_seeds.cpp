#include <bit>
#include <cstdint>
#include <initializer_list>
#include <limits>

#include "../cell_draw_ops.h"
#include "base/byte_writer.h"
#include "seed_registry.h"

namespace {

using mavu::base::Bytes;
using mavu::base::ByteWriter;
namespace ops = mavu::fuzz::cell_draw;

struct Box {
  float left, top, right, bottom;
};

class Script {
 public:
  // A canvas of width x height (width 2..65, height 1..256).
  Script(int width, int height) {
    out_.U8(static_cast<uint8_t>(width - 2)).U8(static_cast<uint8_t>(height - 1));
  }
  // Kind 2..19 of image 0 (alpha), 1 (opaque) or 2 (empty).
  Script& Post(int kind, uint8_t image, Box src, Box dst, int opacity, uint32_t colour,
               float priority) {
    out_.U8(static_cast<uint8_t>(kind - 2)).U8(image).U8(1);
    Rect(src).Rect(dst);
    out_.I32(opacity).U32(colour);
    return Float(priority);
  }
  Script& Mark(Box rect, uint32_t extra, float priority) {
    Op(ops::kMark).Rect(rect);
    out_.U32(extra);
    return Float(priority);
  }
  Script& Invalidate(Box rect) { return Op(ops::kInvalidate).Rect(rect); }
  Script& Background(uint32_t colour) {
    out_.U8(ops::kBackground).U32(colour);
    return *this;
  }
  Script& Op(uint8_t op, std::initializer_list<uint8_t> operands = {}) {
    out_.U8(op);
    for (uint8_t b : operands) out_.U8(b);
    return *this;
  }
  // Render, then present to a 32-bit back buffer and to the window.
  Script& Frame() {
    return Op(ops::kRender, {1}).Op(ops::kPresentSurface, {0, 3}).Op(ops::kPresentWindow, {0});
  }
  Bytes Take() { return out_.Take(); }

 private:
  Script& Float(float v) {
    out_.U32(std::bit_cast<uint32_t>(v));
    return *this;
  }
  Script& Rect(Box r) { return Float(r.left).Float(r.top).Float(r.right).Float(r.bottom); }

  ByteWriter out_;
};

// Every kind once, across band and canvas edges, for a few frames.
Bytes EveryKind() {
  Script s(64, 180);
  for (int frame = 0; frame < 5; ++frame) {
    for (int kind = 2; kind <= 19; ++kind) {
      float x = static_cast<float>((kind * 13) % 70) - 10, y = static_cast<float>(kind * 9) - 20;
      s.Post(kind, static_cast<uint8_t>(kind % 3), {0, 0, 24, 70}, {x, y, x + 30, y + 60},
             frame % 2 ? 255 : 128, 0x80FF8040, static_cast<float>(kind % 4));
    }
    s.Frame();
  }
  return s.Take();
}

// Afterimages, invalidation, marks, a reset and a resize between frames.
Bytes Lifecycle() {
  Script s(40, 130);
  s.Background(0xFF102030);
  for (int frame = 0; frame < 20; ++frame) {
    s.Post(7, 1, {0, 0, 9, 9}, {static_cast<float>(frame), 50, 0, 0}, 255, 0, 1);
    s.Mark({0, 0, 10, 10}, static_cast<uint32_t>(frame / 4), 2);
    if (frame == 3) s.Op(ops::kAfterimage);
    if (frame == 8) s.Invalidate({0, 61, 40, 62});
    if (frame == 9) s.Op(ops::kInvalidateAll);
    if (frame == 12) s.Op(ops::kInterlace, {1 | 4});
    if (frame == 14) s.Op(ops::kReset);
    if (frame == 16) s.Op(ops::kResize, {20, 200});
    s.Frame();
  }
  return s.Take();
}

// Values no sane caller passes: NaN, infinities, huge and negative numbers.
Bytes Extremes() {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float big = std::numeric_limits<float>::max();
  Script s(10, 256);
  s.Post(8, 0, {0, 0, 24, 70}, {-big, -big, big, big}, 255, 0, nan);
  s.Post(15, 0, {-big, 0, big, 70}, {1e30f, -1e30f, 0, 0}, 1 << 30, 0, -inf);
  s.Post(2, 0, {0, 0, 0, 0}, {nan, 0, 5, 5}, 255, 0xFFFFFFFF, 1);
  s.Post(19, 2, {0, 0, 24, 70}, {-5, 250, 0, 0}, 255, 0xFFFFFFFF, big);
  s.Post(16, 1, {0, 0, 9, 9}, {0, 0, 0.5f, 300}, -7, 0, 3e9f);
  return s.Frame().Take();
}

// More commands than a frame holds, and more parts than a band holds.
Bytes Crowded() {
  Script s(32, 60);
  for (int i = 0; i < 1100; ++i) {
    float x = static_cast<float>(i % 30);
    s.Post(3, 0, {0, 0, 0, 0}, {x, 0, x + 2, 60}, 255, 0x40000000u | static_cast<uint32_t>(i),
           static_cast<float>(i % 7));
  }
  return s.Frame().Take();
}

}  // namespace

MAVU_FUZZ_SEEDS(cell_draw) {
  return {EveryKind(), Lifecycle(), Extremes(), Crowded()};
}
