// Transfers between TARGB8888 and pixel memory in other layouts: display
// surfaces of 15, 16, 24 and 32 bits per pixel.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "imaging/argb8888.h"
#include "imaging/span_clip.h"

namespace mavu::imaging {
namespace {

constexpr uint32_t kGreenMask565 = 0x07E0;

enum class Format { kNone, k555, k565, k24, k32 };

Format FormatOf(const PixelSurface& s) {
  switch (s.bitsPerPixel) {
    case 15:
      return Format::k555;
    case 16:
      return s.greenMask == kGreenMask565 ? Format::k565 : Format::k555;
    case 24:
      return Format::k24;
    case 32:
      return Format::k32;
    default:
      return Format::kNone;
  }
}

uint8_t* SurfaceRow(const PixelSurface& s, int y) {
  return s.bits + s.pitch * y;
}

uint16_t To565(uint32_t p) {
  return static_cast<uint16_t>(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F));
}
uint16_t To555(uint32_t p) {
  return static_cast<uint16_t>(((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F));
}

void WriteRow(Format format, uint8_t* out, const uint32_t* in, int count) {
  switch (format) {
    case Format::k32:
      std::memcpy(out, in, static_cast<size_t>(count) * 4);
      return;
    case Format::k24:
      for (int x = 0; x < count; ++x) {
        out[x * 3] = static_cast<uint8_t>(in[x]);
        out[x * 3 + 1] = static_cast<uint8_t>(in[x] >> 8);
        out[x * 3 + 2] = static_cast<uint8_t>(in[x] >> 16);
      }
      return;
    case Format::k565:
    case Format::k555:
      for (int x = 0; x < count; ++x) {
        uint16_t v = format == Format::k565 ? To565(in[x]) : To555(in[x]);
        std::memcpy(out + x * 2, &v, 2);
      }
      return;
    case Format::kNone:
      return;
  }
}

// 5 or 6 bits widened to 8 by repeating the top bits, so full scale stays 255.
uint32_t Widen5(uint32_t v) {
  return (v << 3) | (v >> 2);
}
uint32_t Widen6(uint32_t v) {
  return (v << 2) | (v >> 4);
}

void ReadRow(Format format, const uint8_t* in, uint32_t* out, int count) {
  for (int x = 0; x < count; ++x) {
    switch (format) {
      case Format::k32:
        std::memcpy(out + x, in + x * 4, 4);
        break;
      case Format::k24:
        out[x] =
            0xFF000000u | uint32_t{in[x * 3 + 2]} << 16 | uint32_t{in[x * 3 + 1]} << 8 | in[x * 3];
        break;
      case Format::k565:
      case Format::k555: {
        uint16_t v;
        std::memcpy(&v, in + x * 2, 2);
        bool six = format == Format::k565;
        uint32_t r = Widen5(six ? v >> 11 : (v >> 10) & 0x1F);
        uint32_t g = six ? Widen6((v >> 5) & 0x3F) : Widen5((v >> 5) & 0x1F);
        uint32_t b = Widen5(v & 0x1F);
        out[x] = 0xFF000000u | r << 16 | g << 8 | b;
        break;
      }
      case Format::kNone:
        break;
    }
  }
}

}  // namespace

void TARGB8888::CopyToSurface(const PixelSurface& surface, const RectI& rect) const {
  Format format = FormatOf(surface);
  if (format == Format::kNone || !surface.bits || Empty()) return;
  int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  int right = std::min({rect.right, width_, surface.width});
  int bottom = std::min({rect.bottom, height_, surface.height});
  int pairs = (right - left) / 2;
  if (pairs < 1 || bottom <= top) return;
  int bytesPerPixel = format == Format::k32 ? 4 : format == Format::k24 ? 3 : 2;
  detail::RowPlan plan = detail::PlanRows(top, bottom - top);
  for (int i = 0; i < plan.count; ++i) {
    int y = top + plan.first + i * plan.step;
    WriteRow(format, SurfaceRow(surface, y) + left * bytesPerPixel, Row(y) + left, pairs * 2);
  }
}

void TARGB8888::AssignBitmap(const PixelSurface& bitmap) {
  Format format = FormatOf(bitmap);
  Clear();
  if (format == Format::kNone || !bitmap.bits || bitmap.width < 1 || bitmap.height < 1) return;
  SetSize(bitmap.width, bitmap.height);
  for (int y = 0; y < height_; ++y) ReadRow(format, SurfaceRow(bitmap, y), Row(y), width_);
  RecomputeHasAlpha();
}

}  // namespace mavu::imaging
