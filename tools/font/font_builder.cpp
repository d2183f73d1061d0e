#include "font_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>
#include <vector>

#include "base/file_io.h"
#include "imaging/glyph_codes.h"
#include "imaging/vertical_forms.h"

namespace mavu::tools {

namespace {

using imaging::GlyphBitmap;
using imaging::GlyphLayout;
using imaging::GlyphSet;

constexpr char32_t kNoCharacter = 0xFFFD;
constexpr char kVerticalPrefix[] = "@";
constexpr char kExtension[] = ".of";

// The codes a set covers, in slot order.
std::vector<uint16_t> Cp932Codes() {
  std::vector<uint16_t> codes;
  for (int c = 0x20; c <= 0x7E; ++c) codes.push_back(static_cast<uint16_t>(c));
  for (int c = 0xA1; c <= 0xDF; ++c) codes.push_back(static_cast<uint16_t>(c));
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail != 0x7F) codes.push_back(static_cast<uint16_t>(lead << 8 | trail));
    }
  }
  return codes;
}

// The glyph's pixels cut to its cell.
std::vector<uint8_t> CellPixels(const GlyphBitmap& glyph, int size) {
  std::vector<uint8_t> cell(static_cast<size_t>(size) * size, 0);
  for (int y = 0; y < glyph.height; ++y) {
    const int cy = glyph.top + y;
    if (cy < 0 || cy >= size) continue;
    for (int x = 0; x < glyph.width; ++x) {
      const int cx = glyph.left + x;
      if (cx >= 0 && cx < size) cell[static_cast<size_t>(cy) * size + cx] = glyph.At(x, y);
    }
  }
  return cell;
}

// An advance in pixels as 1/128 of the cell, kept within a byte.
uint8_t AdvanceByte(int advance, int size) {
  const long units = std::lround(advance * double{GlyphSet::kFullAdvance} / size);
  return static_cast<uint8_t>(std::clamp<long>(units, 1, 255));
}

bool WriteSet(const GlyphSet& set, const std::filesystem::path& path) {
  const auto bytes = set.Write();
  if (base::WriteFileAtomic(path, bytes)) return true;
  std::fprintf(stderr, "mavu-font: cannot write %s\n", path.string().c_str());
  return false;
}

}  // namespace

GlyphSet BuildGlyphSet(imaging::OutlineFace& face, int size, bool vertical) {
  GlyphSet set(size, size);
  for (uint32_t v = 0; v < GlyphSet::kPaletteSize; ++v) set.palette[v] = v << 24;
  set.colourable = true;
  imaging::GlyphRequest request;
  request.width = request.height = size;
  request.raster = imaging::Raster::kGrey;
  for (uint16_t code : Cp932Codes()) {
    request.codePoint = imaging::CodeToUnicode(code);
    if (request.codePoint == kNoCharacter || !face.HasGlyph(request.codePoint)) continue;
    request.layout = imaging::LayoutOf(code, vertical);
    GlyphBitmap glyph = face.Render(request);
    const uint8_t along = AdvanceByte(glyph.advance, size);
    const uint8_t full = GlyphSet::kFullAdvance;
    set.AddGlyph(imaging::SlotOfCode(code), CellPixels(glyph, size), vertical ? full : along,
                 vertical ? along : full);
  }
  return set;
}

int BuildFont(const std::string& name, const std::filesystem::path& fontFile, int size,
              const std::filesystem::path& outDir) {
  imaging::OutlineFace face(fontFile, 0);
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  const GlyphSet horizontal = BuildGlyphSet(face, size, false);
  const GlyphSet vertical = BuildGlyphSet(face, size, true);
  if (!WriteSet(horizontal, outDir / (name + kExtension)) ||
      !WriteSet(vertical, outDir / (kVerticalPrefix + name + kExtension))) {
    return kExitFailed;
  }
  const auto glyphs = std::count_if(horizontal.location.begin(), horizontal.location.end(),
                                    [](uint16_t loc) { return loc != 0; });
  std::printf("%s: %s, %d px, %ld glyphs on %d pages per direction\n", name.c_str(),
              face.FamilyName().c_str(), size, static_cast<long>(glyphs), horizontal.pageCount);
  return kExitOk;
}

}  // namespace mavu::tools
