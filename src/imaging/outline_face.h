#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "imaging/glyph_blend.h"
#include "imaging/vertical_forms.h"

namespace mavu::imaging {

// How an outline is turned into pixels.
//   kMono         one bit per pixel (hinted for monochrome), levels 0..1
//   kGrey         FreeType's exact-area grey (lightly hinted), levels 0..255
//   kSupersample  a monochrome rendering at `factor` times the size (unhinted),
//                 each pixel counting its factor x factor set bits, levels 0..factor^2
enum class Raster : uint8_t { kMono, kGrey, kSupersample };

struct GlyphRequest {
  char32_t codePoint = 0;
  int width = 0;  // the cell: the em box is stretched to width x height
  int height = 0;
  GlyphLayout layout = GlyphLayout::kHorizontal;
  Raster raster = Raster::kGrey;
  int factor = 1;  // kSupersample only
  bool bold = false;
  bool italic = false;
};

// A rendered glyph: levels 0..maxLevel, placed relative to the cell's top-left
// corner, and its advance along the writing direction (0 when the face has none).
struct GlyphBitmap {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int maxLevel = 1;
  std::vector<uint8_t> levels;
  int advance = 0;

  uint8_t At(int x, int y) const { return levels[static_cast<size_t>(y) * width + x]; }
  // The same glyph in the 65 coverage levels text is blended with.
  GlyphCoverage ToCoverage() const;
};

// One face of an outline font file, rendered through FreeType. Not thread-safe.
class OutlineFace {
 public:
  // Throws FontError when the file is missing or no font FreeType reads.
  OutlineFace(const std::filesystem::path& file, int index);
  ~OutlineFace();
  OutlineFace(const OutlineFace&) = delete;
  OutlineFace& operator=(const OutlineFace&) = delete;

  std::string FamilyName() const;
  // The face's own style; what it lacks is synthesised on request.
  bool IsBold() const;
  bool IsItalic() const;
  bool HasGlyph(char32_t codePoint) const;
  // A missing character renders the face's "missing glyph" box. Throws
  // FontError when FreeType fails on the glyph.
  GlyphBitmap Render(const GlyphRequest& request);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace mavu::imaging
