#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/byte_reader.h"
#include "base/bytes.h"

namespace mavu::imaging {

// Coordinates of draws and fills are floats: the compositor clips fractional
// rectangles against its bands and the buffer rounds them at the last moment.
struct RectF {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
};

struct PointF {
  float x = 0;
  float y = 0;
};

// Integer rectangle, right and bottom exclusive.
struct RectI {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The codes the compositor keeps in its draw list.
enum class DrawKind : uint8_t {
  kFillSolid = 2,
  kFillBlend = 3,
  kFillAdd = 4,
  kFillMultiply = 5,
  kFillInvert = 6,
  kCopy = 7,
  kCopyStretched = 8,
  kAdd = 9,
  kAddStretched = 10,
  kMultiply = 11,
  kMultiplyStretched = 12,
  kExclusion = 13,
  kExclusionStretched = 14,
  kAlpha = 15,
  kAlphaStretched = 16,
  kColourAdd = 17,
  kColourMultiply = 18,
  kMasked = 19,
};

class TARGB8888;

// One draw or fill as the compositor records it. Unstretched kinds take the
// destination point from dst.left/dst.top; fills use only dst and colour.
struct DrawOp {
  DrawKind kind = DrawKind::kCopy;
  const TARGB8888* image = nullptr;
  const TARGB8888* mask = nullptr;
  RectF src;
  RectF dst;
  PointF maskOrigin;
  int opacity = 255;
  uint32_t colour = 0;
};

// A block of pixel memory in some other layout: a locked display surface, a
// window's back buffer or a picture handed over by a decoder. Rows start at
// `bits` and are `pitch` bytes apart (negative for bottom-up memory).
struct PixelSurface {
  uint8_t* bits = nullptr;
  ptrdiff_t pitch = 0;
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;  // 15, 16, 24 or 32
  uint32_t redMask = 0x00FF0000;
  uint32_t greenMask = 0x0000FF00;
  uint32_t blueMask = 0x000000FF;
};

// A picture could not be decoded. what() is the engine's CP932 message (the
// one the image loader reports); Detail() says in English what was wrong.
class ImageLoadError : public base::FormatError {
 public:
  ImageLoadError(const std::string& message, std::string detail)
      : base::FormatError(message), detail_(std::move(detail)) {}
  const std::string& Detail() const { return detail_; }

 private:
  std::string detail_;
};

// Largest picture any loader or SetSize accepts: 16384 pixels a side and
// 64 Mi pixels (256 MiB) in all. Anything larger is treated as hostile.
inline constexpr int kMaxImageSide = 16384;
inline constexpr int64_t kMaxImagePixels = int64_t{8192} * 8192;
// A picture file may not claim more pixels than this per byte of its data
// (a whole screen needs some 30 bytes), so that a few bytes cannot make a
// loader allocate a quarter of a gigabyte.
inline constexpr int64_t kMaxPixelsPerDataByte = 16384;

// The engine's one in-memory picture: 32-bit pixels 0xAARRGGBB with straight
// alpha (bytes B, G, R, A in memory), rows stored bottom-up without padding
// as in a Windows DIB, so row y+1 lies one pitch *below* row y in memory.
//
// Draws are called on the source with the destination as argument; fills
// are called on the destination. Every draw and fill works on pixel pairs:
// a span writes width/2 pairs per row, so the last column of an odd-width
// span stays untouched and a one-pixel span draws nothing.
class TARGB8888 {
 public:
  // Process-wide drawing state. While InterlaceActive is set and InterlaceOff
  // is not, draws, fills and CopyToSurface only write rows whose index has the
  // parity InterlaceField. Main thread only.
  static inline bool InterlaceActive = false;
  static inline bool InterlaceOff = false;
  static inline int InterlaceField = 0;

  // Serials run through 0 .. 2^24-1 and wrap; the compositor compares them
  // between frames to see whether a picture's contents were replaced.
  static constexpr uint32_t kSerialMask = 0x00FFFFFF;
  static uint32_t TakeSerial();

  TARGB8888();
  TARGB8888(const TARGB8888&) = delete;
  TARGB8888& operator=(const TARGB8888&) = delete;
  // A move hands over pixels and serial; the moved-from buffer is left empty
  // with a fresh serial, so no two buffers ever share one.
  TARGB8888(TARGB8888&& other) noexcept;
  TARGB8888& operator=(TARGB8888&& other) noexcept;

  // --- management --------------------------------------------------------
  // Clears, then allocates width x height transparent black pixels. A size
  // below 1 leaves the buffer empty; a size past the limits above throws
  // std::length_error.
  void SetSize(int width, int height);
  // Frees the pixels and takes a fresh serial.
  void Clear();
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }
  uint32_t Serial() const { return serial_; }
  // True when some pixel has alpha != 255; an empty buffer counts as having alpha.
  bool HasAlpha() const { return hasAlpha_; }
  void RecomputeHasAlpha();
  // Clears, then copies the other buffer's pixels and hasAlpha.
  void AssignImage(const TARGB8888& other);
  // Clears, then copies the surface; a surface of less than 32 bits per pixel
  // is converted through its channel masks with alpha 255 everywhere.
  void AssignBitmap(const PixelSurface& bitmap);

  // --- pixel access (no bounds checks beyond debug asserts) ---------------
  // Row y counted from the top; rows are width() pixels long.
  uint32_t* Row(int y) { return pixels_.data() + RowOffset(y); }
  const uint32_t* Row(int y) const { return pixels_.data() + RowOffset(y); }
  // Pixel memory in DIB order (the bottom row first) and its byte pitch.
  uint32_t* Bits() { return pixels_.data(); }
  const uint32_t* Bits() const { return pixels_.data(); }
  ptrdiff_t Pitch() const { return static_cast<ptrdiff_t>(width_) * 4; }
  uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
  void SetPixel(int x, int y, uint32_t argb) { Row(y)[x] = argb; }

  // --- draws onto `dest` (kinds 7 to 19) ----------------------------------
  // Unstretched draws copy the source rectangle to the destination point;
  // stretched ones map it onto the destination rectangle by nearest
  // neighbour. An opacity below 1 draws nothing; above 255 counts as 255.
  void DrawCopy(TARGB8888& dest, const RectF& src, PointF at, int opacity) const;
  void DrawCopyStretched(TARGB8888& dest, const RectF& src, const RectF& dst, int opacity) const;
  void DrawAdd(TARGB8888& dest, const RectF& src, PointF at, int opacity) const;
  void DrawAddStretched(TARGB8888& dest, const RectF& src, const RectF& dst, int opacity) const;
  void DrawMultiply(TARGB8888& dest, const RectF& src, PointF at, int opacity) const;
  void DrawMultiplyStretched(TARGB8888& dest, const RectF& src, const RectF& dst,
                             int opacity) const;
  void DrawExclusion(TARGB8888& dest, const RectF& src, PointF at, int opacity) const;
  void DrawExclusionStretched(TARGB8888& dest, const RectF& src, const RectF& dst,
                              int opacity) const;
  void DrawAlpha(TARGB8888& dest, const RectF& src, PointF at, int opacity) const;
  void DrawAlphaStretched(TARGB8888& dest, const RectF& src, const RectF& dst, int opacity) const;
  // Tinted alpha draws: the colour's alpha byte is the opacity.
  void DrawColourAdd(TARGB8888& dest, const RectF& src, PointF at, uint32_t colour) const;
  void DrawColourMultiply(TARGB8888& dest, const RectF& src, PointF at, uint32_t colour) const;
  // The mask's blue channel scales the tinted source. maskOrigin is the mask
  // pixel under the source rectangle's top-left corner; the span is also
  // clipped to the mask.
  void DrawMasked(TARGB8888& dest, const RectF& src, PointF at, const TARGB8888& mask,
                  PointF maskOrigin, uint32_t colour) const;

  // --- fills on this buffer (kinds 2 to 6) ---------------------------------
  void FillSolid(const RectF& rect, uint32_t colour);
  void FillBlend(const RectF& rect, uint32_t colour);
  void FillAdd(const RectF& rect, uint32_t colour);
  void FillMultiply(const RectF& rect, uint32_t colour);
  void FillInvert(const RectF& rect, uint32_t colour);

  // Runs one recorded draw or fill with this buffer as the destination.
  void Apply(const DrawOp& op);

  // --- image-to-image effects into `out` -----------------------------------
  // The source rectangle of this image (and of `other` at the same place) is
  // written to `out` at `at`, with the clipping and pair rules of draws.
  void EffectAdd(TARGB8888& out, const RectF& src, PointF at, uint32_t colour) const;
  void EffectInvert(TARGB8888& out, const RectF& src, PointF at, uint32_t colour) const;
  void EffectMultiply(TARGB8888& out, const RectF& src, PointF at, uint32_t colour) const;
  void EffectOverlay(TARGB8888& out, const RectF& src, PointF at, uint32_t colour) const;
  // From this image (k = 255) towards `other` (k = 0).
  void EffectCrossfade(const TARGB8888& other, TARGB8888& out, const RectF& src, PointF at,
                       int k) const;
  // This image carries the rule in its alpha; pixels whose rule value lies
  // above the threshold t (0..255) show `other`, with a soft edge of 32 levels.
  void EffectRuleWipe(const TARGB8888& other, TARGB8888& out, const RectF& src, PointF at,
                      int t) const;

  // --- loaders ------------------------------------------------------------
  // Each clears the buffer first, reads from the reader's position and throws
  // ImageLoadError (leaving the buffer empty) on bad data.
  void LoadBmp(base::ByteReader& in);
  // Finds FF D8 FF ... FF D9 from the position on and decodes that. Without
  // both markers the position is restored before the error is thrown.
  void LoadJpeg(base::ByteReader& in);
  // Four bytes that do not start the PNG signature are skipped as a prefix.
  void LoadPng(base::ByteReader& in);
  // Replaces the alpha channel with the grey level of a BMP (its 8-bit
  // palette index value, or its blue channel) where both pictures overlap.
  void LoadAlphaMask(base::ByteReader& in);

  // --- transfers ------------------------------------------------------------
  // Box-filter reduction: each pixel of `dest` (already sized) is the mean of
  // a boxWidth x boxHeight block of this image, with alpha 0.
  void Thumbnail(TARGB8888& dest, int boxWidth, int boxHeight) const;
  // Writes the rectangle to the same place on a display surface of 15, 16
  // (5-6-5 when the green mask is 0x07E0, else 5-5-5), 24 or 32 bits.
  void CopyToSurface(const PixelSurface& surface, const RectI& rect) const;
  // Moves the contents by (dx, dy); uncovered pixels take the colour.
  void Scroll(uint32_t colour, int dx, int dy);
  // p := (p AND mask) OR value over the rectangle, or over the whole buffer.
  void SetBits(uint32_t value, uint32_t mask, const RectI& rect);
  void SetBits(uint32_t value, uint32_t mask);

 private:
  size_t RowOffset(int y) const {
    return static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(width_);
  }
  void Adopt(std::vector<uint32_t> pixels, int width, int height);

  std::vector<uint32_t> pixels_;
  int width_ = 0;
  int height_ = 0;
  uint32_t serial_ = 0;
  bool hasAlpha_ = true;
};

}  // namespace mavu::imaging
