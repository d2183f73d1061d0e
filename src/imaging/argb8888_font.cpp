#include "imaging/argb8888_font.h"

namespace mavu::imaging {

TextExtent WalkText(std::string_view text, LeadBytes leads, bool vertical, int x, int y,
                    const DrawCharFn& drawChar) {
  int total = 0;
  TextExtent last;
  for (size_t pos = 0; pos < text.size();) {
    const TextChar ch = ReadTextChar(text, pos, leads);
    last = vertical ? drawChar(ch, text.substr(pos, ch.length), x, y + total)
                    : drawChar(ch, text.substr(pos, ch.length), x + total, y);
    total += vertical ? last.height : last.width;
    pos += ch.length;
  }
  return vertical ? TextExtent{last.width, total} : TextExtent{total, last.height};
}

void TARGB8888Font::SetSystemFont(std::string name, std::unique_ptr<TSystemFont> font) {
  name_ = std::move(name);
  bitmap_.reset();
  system_ = std::move(font);
}

void TARGB8888Font::SetBitmapFont(std::string name, std::unique_ptr<TBitmapFont> font) {
  name_ = std::move(name);
  system_.reset();
  bitmap_ = std::move(font);
}

TextExtent TARGB8888Font::DrawChar(TARGB8888& dest, uint16_t code, bool vertical, uint32_t colour,
                                   int width, int height, int x, int y) const {
  if (bitmap_) return bitmap_->DrawGlyph(dest, code, vertical, colour, width, height, x, y);
  if (system_) return system_->DrawGlyph(dest, code, vertical, colour, width, height, x, y);
  return {};
}

TextExtent TARGB8888Font::DrawGlyphs(TARGB8888& dest, std::string_view text, bool vertical,
                                     uint32_t colour, int width, int height, int x, int y) const {
  return WalkText(text, Leads(), vertical, x, y,
                  [&](TextChar ch, std::string_view, int gx, int gy) {
                    return DrawChar(dest, ch.code, vertical, colour, width, height, gx, gy);
                  });
}

}  // namespace mavu::imaging
