#include "imaging/image_loaders.h"

#include "base/cp932.h"

namespace mavu::imaging::detail {

std::string BmpErrorMessage() { return base::Utf8ToCp932("Bitmapの読み込みに失敗"); }
std::string JpegErrorMessage() { return base::Utf8ToCp932("規格外のJPEGの読み込みに失敗しました"); }
std::string PngErrorMessage() { return base::Utf8ToCp932("PNGの読み込みに失敗しました"); }

void CheckImageSize(int64_t width, int64_t height, const std::string& message) {
  if (width < 1 || height < 1) throw EImageLoadError(message, "empty picture");
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels) {
    throw EImageLoadError(message, "picture of " + std::to_string(width) + " x " +
                                       std::to_string(height) + " exceeds the size limit");
  }
}

DecodedImage AllocateImage(int64_t width, int64_t height, const std::string& message,
                           bool withIndices) {
  CheckImageSize(width, height, message);
  DecodedImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  size_t count = static_cast<size_t>(width * height);
  image.pixels.assign(count, 0u);
  if (withIndices) image.indices.assign(count, 0);
  return image;
}

}  // namespace mavu::imaging::detail
