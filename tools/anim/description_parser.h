#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "animation_description.h"

namespace mavu::tools {

// Reads a description (UTF-8 text; the grammar is in docs/anim-format.md).
// Throws DescriptionError naming the line of the first problem.
AnimationDescription ParseDescription(std::string_view text);

// The image format code a file's extension stands for (.bmp, .jpg, .jpeg, .png
// in any letter case), or none.
std::optional<uint8_t> ImageFormatOf(std::string_view path);

}  // namespace mavu::tools
