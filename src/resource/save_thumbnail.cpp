#include "resource/save_thumbnail.h"

#include <stdexcept>
#include <utility>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::resource {
namespace {

constexpr uint16_t kBmpType = 0x4D42;  // "BM"
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr uint16_t kPlanes = 1;
constexpr uint16_t kBitsPerPixel = 16;
constexpr uint32_t kBiRgb = 0;
constexpr uint16_t kColourBits = 0x7FFF;

bool SideFits(int64_t side) {
  return side >= 1 && side <= SaveThumbnail::kMaxSide;
}

size_t RowStride(int64_t width) {
  return (static_cast<size_t>(width) * sizeof(uint16_t) + 3) & ~size_t{3};
}

uint16_t To555(uint32_t argb) {
  const uint32_t red = (argb >> 16) & 0xFF;
  const uint32_t green = (argb >> 8) & 0xFF;
  const uint32_t blue = argb & 0xFF;
  return static_cast<uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
}

// The rows of a checked picture: `height` is negative for top-down rows.
std::vector<uint16_t> ReadRows(base::ByteReader& in, int32_t width, int32_t height) {
  const int64_t rows = height < 0 ? -int64_t{height} : height;
  const size_t stride = RowStride(width);
  std::vector<uint16_t> pixels(static_cast<size_t>(width * rows));
  for (int64_t row = 0; row < rows; ++row) {
    const int64_t y = height > 0 ? rows - 1 - row : row;
    base::ByteReader line(in.Span(stride));
    for (int32_t x = 0; x < width; ++x) {
      pixels[static_cast<size_t>(y * width + x)] = line.U16() & kColourBits;
    }
  }
  return pixels;
}

}  // namespace

SaveThumbnail::SaveThumbnail(int width, int height, std::vector<uint16_t> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
  if (!SideFits(width) || !SideFits(height) ||
      pixels_.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    throw std::invalid_argument("thumbnail sides and pixel count do not agree");
  }
}

SaveThumbnail SaveThumbnail::FromArgb(std::span<const uint32_t> argb, int width, int height) {
  std::vector<uint16_t> pixels;
  pixels.reserve(argb.size());
  for (uint32_t pixel : argb) pixels.push_back(To555(pixel));
  return SaveThumbnail(width, height, std::move(pixels));
}

base::Bytes SaveThumbnail::ToBmp() const {
  const size_t stride = RowStride(width_);
  const auto imageSize = static_cast<uint32_t>(stride * static_cast<size_t>(height_));
  base::ByteWriter out;
  out.U16(kBmpType).U32(kPixelOffset + imageSize).U32(0).U32(kPixelOffset);
  out.U32(kInfoHeaderSize).I32(width_).I32(height_).U16(kPlanes).U16(kBitsPerPixel);
  out.U32(kBiRgb).U32(imageSize).I32(0).I32(0).U32(0).U32(0);
  for (int y = height_ - 1; y >= 0; --y) {
    for (int x = 0; x < width_; ++x) out.U16(Pixel(x, y));
    out.Zeros(stride - static_cast<size_t>(width_) * sizeof(uint16_t));
  }
  return out.Take();
}

// The file size field is not trusted (writers get it wrong); what counts is
// that the headers, the offset and every row lie within the bytes given.
std::optional<SaveThumbnail> SaveThumbnail::FromBmp(std::span<const uint8_t> bmp) {
  try {
    base::ByteReader in(bmp);
    if (in.U16() != kBmpType) return std::nullopt;
    in.Skip(8);
    const uint32_t pixelOffset = in.U32();
    const uint32_t infoSize = in.U32();
    const int32_t width = in.I32();
    const int32_t height = in.I32();
    const bool plain = in.U16() == kPlanes && in.U16() == kBitsPerPixel && in.U32() == kBiRgb;
    const int64_t rows = height < 0 ? -int64_t{height} : height;
    if (!plain || infoSize < kInfoHeaderSize || !SideFits(width) || !SideFits(rows) ||
        pixelOffset < uint64_t{kFileHeaderSize} + infoSize || pixelOffset > bmp.size() ||
        RowStride(width) * static_cast<size_t>(rows) > bmp.size() - pixelOffset) {
      return std::nullopt;
    }
    in.Seek(pixelOffset);
    return SaveThumbnail(width, static_cast<int>(rows), ReadRows(in, width, height));
  } catch (const base::FormatError&) {
    return std::nullopt;
  }
}

}  // namespace mavu::resource
