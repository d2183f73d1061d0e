#include "dialogs/dialog_font.h"

#include <stb_truetype.h>

#include <algorithm>

#include "base/file_io.h"
#include "imaging/face_lookup.h"

namespace mavu::dialogs {
namespace {

constexpr std::string_view kFaceName = "ＭＳ Ｐゴシック";

// ImGui stops the process on a face that stb_truetype cannot place, so that
// is asked first; fontconfig also lists faces that only FreeType reads.
bool Readable(base::Bytes& file, int index) {
  stbtt_fontinfo info;
  const int offset = stbtt_GetFontOffsetForIndex(file.data(), index);
  return offset >= 0 && stbtt_InitFont(&info, file.data(), offset) != 0;
}

}  // namespace

bool DialogFont::Cover(std::string_view utf8) {
  if (!built_) {
    LoadFace();
    wanted_.AddRanges(ImGui::GetIO().Fonts->GetGlyphRangesJapanese());
  }
  const ImVector<ImU32> before = wanted_.UsedChars;
  wanted_.AddText(utf8.data(), utf8.data() + utf8.size());
  if (built_ && std::equal(before.begin(), before.end(), wanted_.UsedChars.begin())) return false;
  Build();
  return true;
}

void DialogFont::LoadFace() {
  const std::optional<imaging::FaceLocation> face = imaging::FindFace(kFaceName, false, false);
  if (!face) return;
  face_ = base::ReadWholeFile(face->file);
  faceIndex_ = face->index;
  if (face_ && !Readable(*face_, faceIndex_)) face_.reset();
}

void DialogFont::Build() {
  ImFontAtlas& atlas = *ImGui::GetIO().Fonts;
  atlas.Clear();
  ranges_.clear();
  wanted_.BuildRanges(&ranges_);
  built_ = true;
  if (face_) {
    ImFontConfig config;
    config.FontDataOwnedByAtlas = false;
    config.FontNo = faceIndex_;
    config.OversampleH = 1;  // some 3000 glyphs: a narrower atlas, and crisp at this size
    config.PixelSnapH = true;
    atlas.AddFontFromMemoryTTF(face_->data(), static_cast<int>(face_->size()), kPixelSize, &config,
                               ranges_.Data);
    if (atlas.Build()) return;
    atlas.Clear();
  }
  atlas.AddFontDefault();
  atlas.Build();
}

}  // namespace mavu::dialogs
