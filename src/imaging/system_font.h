#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/argb8888.h"
#include "imaging/face_lookup.h"
#include "imaging/glyph_blend.h"
#include "imaging/glyph_codes.h"

namespace mavu::imaging {

class OutlineFace;

// Style bits of a platform font.
enum FontStyle : uint32_t {
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,  // kept with the font; glyph rendering draws no lines
  kFontStrikeOut = 8,
};

// An installed outline font, found by face name through fontconfig and drawn
// glyph by glyph. Quality 0 draws monochrome glyphs, 1 grey glyphs in 65
// levels, 2, 3 and 4 monochrome glyphs at 2, 4 and 8 times the size averaged
// down. Vertical writing turns and moves glyphs as the "@" form of a face does.
class TSystemFont {
 public:
  static constexpr int kMaxQuality = 4;
  // Glyphs larger than this on either side are not drawn (they advance by their size).
  static constexpr int kMaxGlyphSide = 1024;
  // 128 bytes of effect settings handed over by the caller; the default has
  // -1 in its first word and 0 elsewhere.
  using EffectRecord = std::array<int32_t, 32>;
  static EffectRecord DefaultEffects();

  // `face` is CP932 text; a leading "@" is dropped. The face is looked up on
  // the first draw.
  TSystemFont(std::string_view face, int quality, uint32_t style,
              const EffectRecord& effects = DefaultEffects());
  ~TSystemFont();
  TSystemFont(const TSystemFont&) = delete;
  TSystemFont& operator=(const TSystemFont&) = delete;

  const std::string& FaceName() const { return faceName_; }
  int Quality() const { return quality_; }
  uint32_t Style() const { return style_; }
  const EffectRecord& Effects() const { return effects_; }
  // Where the face was found; nothing when no installed font could be used.
  const std::optional<FaceLocation>& Location();

  // The glyph's coverage in 65 levels and its advance along the writing
  // direction (0 when the face reports none).
  GlyphCoverage RenderCoverage(uint16_t code, bool vertical, int width, int height, int* advance);

  // Draws the glyph into the width x height cell at (x, y) and returns its
  // advance: (advance, height) in horizontal and (width, advance) in vertical
  // writing, width x height when the face reports no advance. A space
  // advances half the size, a full-width space the whole size, without drawing.
  TextExtent DrawGlyph(TARGB8888& dest, uint16_t code, bool vertical, uint32_t colour, int width,
                       int height, int x, int y);

 private:
  OutlineFace* Face();

  std::string faceName_;
  int quality_;
  uint32_t style_;
  EffectRecord effects_;
  bool looked_ = false;
  std::optional<FaceLocation> location_;
  std::unique_ptr<OutlineFace> face_;
};

}  // namespace mavu::imaging
