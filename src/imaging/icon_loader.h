#pragma once

#include <cstdint>
#include <span>

#include "imaging/argb8888.h"

namespace mavu::imaging {

// The largest picture of a Windows icon file (.ico), the one a window shows
// best scaled down: PNG entries as they are, bitmap entries with their AND
// mask made transparent. Throws ImageLoadError for a file that is no icon or
// whose chosen picture does not decode.
TARGB8888 LoadIcon(std::span<const uint8_t> file);

}  // namespace mavu::imaging
