#include "imaging/image_loaders.h"

#include "base/cp932.h"

namespace mavu::imaging::detail {

std::string BmpErrorMessage() {
  return base::Utf8ToCp932("Bitmapの読み込みに失敗");
}
std::string JpegErrorMessage() {
  return base::Utf8ToCp932("規格外のJPEGの読み込みに失敗しました");
}
std::string PngErrorMessage() {
  return base::Utf8ToCp932("PNGの読み込みに失敗しました");
}

void CheckImageSize(int64_t width, int64_t height, size_t dataBytes, const std::string& message) {
  if (width < 1 || height < 1) throw ImageLoadError(message, "empty picture");
  std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels) {
    throw ImageLoadError(message, "picture of " + size + " exceeds the size limit");
  }
  if (static_cast<uint64_t>(width * height / kMaxPixelsPerDataByte) > dataBytes) {
    throw ImageLoadError(message,
                         "picture of " + size + " in only " + std::to_string(dataBytes) + " bytes");
  }
}

DecodedImage AllocateImage(int width, int height, bool withIndices) {
  DecodedImage image;
  image.width = width;
  image.height = height;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  image.pixels.assign(count, 0u);
  if (withIndices) image.indices.assign(count, 0);
  return image;
}

}  // namespace mavu::imaging::detail
