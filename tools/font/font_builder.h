#pragma once

#include <filesystem>
#include <string>

#include "imaging/glyph_set.h"
#include "imaging/outline_face.h"
#include "tool_usage.h"

namespace mavu::tools {

inline constexpr int kMinGlyphSize = 4;
inline constexpr int kMaxGlyphSize = 128;

// Renders every character of CP932 that the face has (the printable single
// bytes, the half-width katakana and all double-byte codes, JIS X 0208 and
// the extensions) into a glyph set of size x size cells: pixel values are
// coverage 0..255, the palette is alpha over black and the set is colourable.
imaging::GlyphSet BuildGlyphSet(imaging::OutlineFace& face, int size, bool vertical);

// mavu-font build: writes OUT_DIR/NAME.of (horizontal) and OUT_DIR/@NAME.of (vertical).
int BuildFont(const std::string& name, const std::filesystem::path& fontFile, int size,
              const std::filesystem::path& outDir);

}  // namespace mavu::tools
