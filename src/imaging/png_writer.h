#pragma once

#include <stdexcept>
#include <string>

#include "base/bytes.h"
#include "imaging/argb8888.h"

namespace mavu::imaging {

// A picture could not be written; what() says why in English.
class ImageWriteError : public std::runtime_error {
 public:
  explicit ImageWriteError(const std::string& what) : std::runtime_error(what) {}
};

// Whether a written PNG carries the picture's alpha: a screenshot is what a
// window shows and drops it; a picture made for a game keeps it.
enum class PngAlpha { kDrop, kKeep };

// The picture as a PNG file: 8-bit RGB (RGBA with PngAlpha::kKeep, straight
// alpha as the buffer holds it), the top row first. Throws ImageWriteError
// for an empty picture or when libpng fails.
base::Bytes EncodePng(const TARGB8888& image, PngAlpha alpha = PngAlpha::kDrop);

}  // namespace mavu::imaging
