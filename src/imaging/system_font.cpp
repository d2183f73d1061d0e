#include "imaging/system_font.h"

#include <algorithm>

#include "base/cp932.h"
#include "imaging/glyph_set.h"
#include "imaging/outline_face.h"
#include "imaging/vertical_forms.h"

namespace mavu::imaging {

namespace {

constexpr char kVerticalPrefix = '@';
constexpr std::array<int, 3> kSupersampleFactors = {2, 4, 8};  // qualities 2, 3, 4

std::string WithoutVerticalPrefix(std::string_view face) {
  if (!face.empty() && face.front() == kVerticalPrefix) face.remove_prefix(1);
  return std::string(face);
}

}  // namespace

TSystemFont::EffectRecord TSystemFont::DefaultEffects() {
  EffectRecord effects{};
  effects[0] = -1;
  return effects;
}

TSystemFont::TSystemFont(std::string_view face, int quality, uint32_t style,
                         const EffectRecord& effects)
    : faceName_(WithoutVerticalPrefix(face)),
      quality_(std::clamp(quality, 0, kMaxQuality)),
      style_(style),
      effects_(effects) {}

TSystemFont::~TSystemFont() = default;

const std::optional<FaceLocation>& TSystemFont::Location() {
  Face();
  return location_;
}

OutlineFace* TSystemFont::Face() {
  if (looked_) return face_.get();
  looked_ = true;
  location_ = FindFace(base::Cp932ToUtf8(faceName_), (style_ & kFontBold) != 0,
                       (style_ & kFontItalic) != 0);
  if (!location_) return nullptr;
  try {
    face_ = std::make_unique<OutlineFace>(location_->file, location_->index);
  } catch (const FontError&) {
    location_.reset();
  }
  return face_.get();
}

GlyphCoverage TSystemFont::RenderCoverage(uint16_t code, bool vertical, int width, int height,
                                          int* advance) {
  *advance = 0;
  OutlineFace* face = Face();
  if (!face || width < 1 || height < 1 || width > kMaxGlyphSide || height > kMaxGlyphSide) {
    return {};
  }
  GlyphRequest request;
  request.codePoint = CodeToUnicode(code);
  request.width = width;
  request.height = height;
  request.layout = LayoutOf(code, vertical);
  request.bold = (style_ & kFontBold) != 0 && !face->IsBold();
  request.italic = (style_ & kFontItalic) != 0 && !face->IsItalic();
  if (quality_ == 0) {
    request.raster = Raster::kMono;
  } else if (quality_ == 1) {
    request.raster = Raster::kGrey;
  } else {
    request.raster = Raster::kSupersample;
    request.factor = kSupersampleFactors[quality_ - 2];
  }
  try {
    GlyphBitmap bitmap = face->Render(request);
    *advance = bitmap.advance;
    return bitmap.ToCoverage();
  } catch (const FontError&) {
    return {};  // a glyph FreeType cannot draw stays blank and advances by the cell
  }
}

TextExtent TSystemFont::DrawGlyph(TARGB8888& dest, uint16_t code, bool vertical, uint32_t colour,
                                  int width, int height, int x, int y) {
  if (code == kSpaceCode)
    return vertical ? TextExtent{width, height / 2} : TextExtent{width / 2, height};
  if (code == kFullWidthSpaceCode) return {width, height};
  int advance = 0;
  BlendCoverage(dest, x, y, RenderCoverage(code, vertical, width, height, &advance), colour);
  if (advance <= 0) return {std::max(width, 0), std::max(height, 0)};
  return vertical ? TextExtent{width, advance} : TextExtent{advance, height};
}

}  // namespace mavu::imaging
