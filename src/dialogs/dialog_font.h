#pragma once

#include <imgui.h>

#include <optional>
#include <string_view>

#include "base/bytes.h"

namespace mavu::dialogs {

// The dialogs' Japanese face in the current ImGui context's font atlas. The
// face is looked up and the atlas built the first time a dialog needs it,
// with the common Japanese characters and those of the texts shown; a later
// text with characters the atlas lacks builds it again with them added.
// Without any usable face, ImGui's own font stands in.
class DialogFont {
 public:
  static constexpr float kPixelSize = 16;

  // Makes the atlas hold every character of `utf8`. True when the atlas was
  // built anew, so that its texture must be made again.
  bool Cover(std::string_view utf8);

 private:
  void LoadFace();
  void Build();

  bool built_ = false;
  std::optional<base::Bytes> face_;  // the font file, kept for the atlas
  int faceIndex_ = 0;
  ImFontGlyphRangesBuilder wanted_;
  ImVector<ImWchar> ranges_;  // the atlas keeps a pointer to them
};

}  // namespace mavu::dialogs
