#include "imaging/outline_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

#include "imaging/glyph_set.h"

namespace mavu::imaging {

namespace {

constexpr double kItalicShear = 0.2;         // about 11 degrees, as synthetic italics usually lean
constexpr double kEmboldenShare = 1.0 / 24;  // outline growth for synthetic bold, of the em
constexpr int kShiftNumerator = 9;  // small punctuation moves 9/16 of the cell up and right
constexpr int kShiftDenominator = 16;
constexpr double k26Dot6 = 64.0;
constexpr double k16Dot16 = 65536.0;

// One FreeType library for the process, freed after the last face.
std::shared_ptr<FT_LibraryRec_> SharedLibrary() {
  static std::shared_ptr<FT_LibraryRec_> library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) throw FontError("FreeType cannot start");
    return std::shared_ptr<FT_LibraryRec_>(lib, [](FT_Library l) { FT_Done_FreeType(l); });
  }();
  return library;
}

// The share of the em above the baseline. The em square is the glyph cell,
// as in the Japanese Windows faces, whose em equals their cell height, so a
// full-width glyph advances by exactly the cell width.
double AscentShare(FT_Face face) {
  const double ascent = face->ascender, descent = -face->descender;
  if (ascent <= 0 || ascent + descent <= 0) return 1.0;
  return ascent / (ascent + descent);
}

FT_Fixed Fixed(double v) {
  return static_cast<FT_Fixed>(std::lround(v * k16Dot16));
}

// Glyph space (y up) to pixel space (y up): the em stretched to the cell and,
// for a turned glyph, a quarter turn clockwise on screen; the italic lean
// comes first, in glyph space.
FT_Matrix LayoutMatrix(const GlyphRequest& r) {
  const double sx = static_cast<double>(r.width) / r.height;
  const double shear = r.italic ? kItalicShear : 0;
  if (r.layout == GlyphLayout::kRotated) return {Fixed(0), Fixed(sx), Fixed(-1), Fixed(-shear)};
  return {Fixed(sx), Fixed(sx * shear), Fixed(0), Fixed(1)};
}

int PixelsOf26Dot6(FT_Pos v, int factor) {
  return static_cast<int>(std::lround(static_cast<double>(v) / k26Dot6 / factor));
}

int FloorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// A pixel of a FreeType bitmap: 0..1 for one bit per pixel, 0..255 for grey.
int Sample(const FT_Bitmap& b, int x, int y) {
  const ptrdiff_t pitch = b.pitch;
  const unsigned char* row = pitch >= 0
                                 ? b.buffer + y * pitch
                                 : b.buffer + (static_cast<ptrdiff_t>(b.rows) - 1 - y) * -pitch;
  if (b.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x >> 3] >> (7 - (x & 7))) & 1;
  return row[x];
}

// The rendered bitmap, with its top-left pixel at (left, top) in the cell.
GlyphBitmap TakePlain(const FT_Bitmap& b, int left, int top, bool mono) {
  GlyphBitmap out;
  out.left = left;
  out.top = top;
  out.width = static_cast<int>(b.width);
  out.height = static_cast<int>(b.rows);
  out.maxLevel = mono ? 1 : 255;
  out.levels.resize(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      out.levels[static_cast<size_t>(y) * out.width + x] = static_cast<uint8_t>(Sample(b, x, y));
    }
  }
  return out;
}

// Each cell pixel counts the set bits of its factor x factor block of the
// supersampled bitmap, whose top-left pixel lies at (left, top) in the
// supersampled cell.
GlyphBitmap TakeSupersampled(const FT_Bitmap& b, int left, int top, int factor) {
  GlyphBitmap out;
  out.maxLevel = factor * factor;
  if (b.width == 0 || b.rows == 0) return out;
  const int right = left + static_cast<int>(b.width) - 1;
  const int bottom = top + static_cast<int>(b.rows) - 1;
  out.left = FloorDiv(left, factor);
  out.top = FloorDiv(top, factor);
  out.width = FloorDiv(right, factor) - out.left + 1;
  out.height = FloorDiv(bottom, factor) - out.top + 1;
  out.levels.assign(static_cast<size_t>(out.width) * out.height, 0);
  for (int y = 0; y < static_cast<int>(b.rows); ++y) {
    const int cy = FloorDiv(top + y, factor) - out.top;
    for (int x = 0; x < static_cast<int>(b.width); ++x) {
      if (Sample(b, x, y) == 0) continue;
      const int cx = FloorDiv(left + x, factor) - out.left;
      ++out.levels[static_cast<size_t>(cy) * out.width + cx];
    }
  }
  return out;
}

FT_Int32 LoadFlags(Raster raster) {
  switch (raster) {
    case Raster::kMono:
      return FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO;
    case Raster::kGrey:
      return FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT;
    case Raster::kSupersample:
      break;
  }
  return FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING;
}

}  // namespace

GlyphCoverage GlyphBitmap::ToCoverage() const {
  GlyphCoverage out{left, top, width, height, {}};
  out.levels.resize(levels.size());
  const int max = std::max(1, maxLevel);
  for (size_t i = 0; i < levels.size(); ++i) {
    out.levels[i] = static_cast<uint8_t>((levels[i] * GlyphCoverage::kFull + max / 2) / max);
  }
  return out;
}

struct OutlineFace::State {
  std::shared_ptr<FT_LibraryRec_> library;
  FT_Face face = nullptr;
  double ascentShare = 1.0;
};

OutlineFace::OutlineFace(const std::filesystem::path& file, int index)
    : state_(std::make_unique<State>()) {
  state_->library = SharedLibrary();
  if (FT_New_Face(state_->library.get(), file.c_str(), index, &state_->face) != 0) {
    state_->face = nullptr;
    throw FontError("cannot read the outline font " + file.string());
  }
  if (!FT_IS_SCALABLE(state_->face) || state_->face->units_per_EM == 0) {
    FT_Done_Face(state_->face);
    throw FontError("not an outline font: " + file.string());
  }
  state_->ascentShare = AscentShare(state_->face);
}

OutlineFace::~OutlineFace() {
  if (state_->face) FT_Done_Face(state_->face);
}

std::string OutlineFace::FamilyName() const {
  return state_->face->family_name ? state_->face->family_name : "";
}

bool OutlineFace::IsBold() const {
  return (state_->face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
}

bool OutlineFace::IsItalic() const {
  return (state_->face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
}

bool OutlineFace::HasGlyph(char32_t codePoint) const {
  return FT_Get_Char_Index(state_->face, codePoint) != 0;
}

GlyphBitmap OutlineFace::Render(const GlyphRequest& r) {
  if (r.width < 1 || r.height < 1) throw FontError("glyph cell of size 0");
  FT_Face face = state_->face;
  const int factor = r.raster == Raster::kSupersample ? std::max(1, r.factor) : 1;
  const auto em26 = static_cast<FT_F26Dot6>(r.height) * factor * static_cast<FT_F26Dot6>(k26Dot6);
  FT_Matrix matrix = LayoutMatrix(r);
  FT_Set_Transform(face, &matrix, nullptr);
  FT_GlyphSlot slot = face->glyph;
  if (FT_Set_Char_Size(face, 0, em26, 72, 72) != 0 ||
      FT_Load_Glyph(face, FT_Get_Char_Index(face, r.codePoint), LoadFlags(r.raster)) != 0) {
    throw FontError("FreeType cannot load a glyph");
  }
  if (r.bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_Outline_Embolden(&slot->outline, static_cast<FT_Pos>(em26 * kEmboldenShare));
  }
  const bool grey = r.raster == Raster::kGrey;
  if (FT_Render_Glyph(slot, grey ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) {
    throw FontError("FreeType cannot render a glyph");
  }
  if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO &&
      slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
    throw FontError("FreeType rendered an unexpected pixel format");
  }

  // The pen origin in the cell, in output pixels.
  const double ascentShare = state_->ascentShare;
  const int baseline = static_cast<int>(std::lround(r.height * ascentShare));
  const int advanceX = PixelsOf26Dot6(slot->advance.x, factor);
  int ox = 0, oy = baseline, advance = r.height;
  switch (r.layout) {
    case GlyphLayout::kHorizontal:
      advance = advanceX;
      break;
    case GlyphLayout::kUpright:
      ox = (r.width - advanceX) / 2;
      break;
    case GlyphLayout::kShifted:
      ox = (r.width - advanceX) / 2 + r.width * kShiftNumerator / kShiftDenominator;
      oy = baseline - r.height * kShiftNumerator / kShiftDenominator;
      break;
    case GlyphLayout::kRotated:
      ox = static_cast<int>(std::lround(r.width * (1 - ascentShare)));
      oy = 0;
      advance = PixelsOf26Dot6(-slot->advance.y, factor);
      break;
  }
  const int left = ox * factor + slot->bitmap_left;
  const int top = oy * factor - slot->bitmap_top;
  GlyphBitmap out = factor > 1 ? TakeSupersampled(slot->bitmap, left, top, factor)
                               : TakePlain(slot->bitmap, left, top, !grey);
  out.advance = advance;
  return out;
}

}  // namespace mavu::imaging
