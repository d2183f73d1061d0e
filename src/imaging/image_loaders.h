#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "imaging/argb8888.h"

// Decoders of the picture formats a TARGB8888 loads. Each reads from the
// reader's position and throws ImageLoadError on anything it cannot use.
namespace mavu::imaging::detail {

// Decoded pixels in TARGB8888's own layout: 0xAARRGGBB, bottom row first.
struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  // For palette pictures (1 to 8 bits): the palette index of every pixel, in
  // the same order; empty for the others.
  std::vector<uint8_t> indices;
};

DecodedImage DecodeBmp(base::ByteReader& in);
// The reader moves past the picture's end-of-image marker; without both
// markers it stays where it was.
DecodedImage DecodeJpeg(base::ByteReader& in);
DecodedImage DecodePng(base::ByteReader& in);

// The messages the engine reports for each format (CP932).
std::string BmpErrorMessage();
std::string JpegErrorMessage();
std::string PngErrorMessage();

// Throws ImageLoadError(message) unless 1 <= width, height, the size is
// within kMaxImageSide and kMaxImagePixels, and `dataBytes` of picture data
// can justify it (kMaxPixelsPerDataByte).
void CheckImageSize(int64_t width, int64_t height, size_t dataBytes, const std::string& message);

// A transparent black picture of a size that passed CheckImageSize, with an
// index plane for palette pictures.
DecodedImage AllocateImage(int width, int height, bool withIndices);

}  // namespace mavu::imaging::detail
