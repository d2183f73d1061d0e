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

// The picture as a PNG file: 8-bit RGB, the top row first. Alpha is dropped,
// since a screenshot is what a window shows. Throws ImageWriteError for an
// empty picture or when libpng fails.
base::Bytes EncodePng(const TARGB8888& image);

}  // namespace mavu::imaging
