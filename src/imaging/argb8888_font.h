#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "imaging/argb8888.h"
#include "imaging/bitmap_font.h"
#include "imaging/glyph_codes.h"
#include "imaging/system_font.h"

namespace mavu::imaging {

// Draws one character at (x, y) and returns its advance.
using DrawCharFn = std::function<TextExtent(TextChar ch, std::string_view bytes, int x, int y)>;

// Walks CP932 text character by character: each glyph is drawn at the pen,
// which moves along x (or y in vertical writing) by the glyph's advance. The
// extent is (total advance, height of the last glyph), or (width of the last
// glyph, total advance) in vertical writing.
TextExtent WalkText(std::string_view text, LeadBytes leads, bool vertical, int x, int y,
                    const DrawCharFn& drawChar);

// One slot of the font table: a name and a platform or a bitmap font.
class TARGB8888Font {
 public:
  const std::string& Name() const { return name_; }
  TSystemFont* SystemFont() const { return system_.get(); }
  TBitmapFont* BitmapFont() const { return bitmap_.get(); }
  void SetSystemFont(std::string name, std::unique_ptr<TSystemFont> font);
  void SetBitmapFont(std::string name, std::unique_ptr<TBitmapFont> font);

  // Bitmap fonts take 0x80 as a lead byte; platform fonts do not.
  LeadBytes Leads() const { return bitmap_ ? LeadBytes::kFrom0x80 : LeadBytes::kFrom0x81; }
  // A slot without a font draws nothing and advances 0 x 0.
  TextExtent DrawChar(TARGB8888& dest, uint16_t code, bool vertical, uint32_t colour, int width,
                      int height, int x, int y) const;
  TextExtent DrawGlyphs(TARGB8888& dest, std::string_view text, bool vertical, uint32_t colour,
                        int width, int height, int x, int y) const;

 private:
  std::string name_;
  std::unique_ptr<TSystemFont> system_;
  std::unique_ptr<TBitmapFont> bitmap_;
};

}  // namespace mavu::imaging
