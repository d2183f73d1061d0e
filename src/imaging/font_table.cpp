#include "imaging/font_table.h"

#include <memory>
#include <optional>

#include "resource/data_tree.h"

namespace mavu::imaging {

namespace {

constexpr char kFontFolder[] = "system\\font\\";
constexpr char kVerticalPrefix[] = "@";
constexpr char kFontExtension[] = ".of";
constexpr std::array<uint32_t, 4> kConfiguredStyles = {0, kFontItalic, kFontBold,
                                                       kFontBold | kFontItalic};

// Drops control characters and blanks at both ends; no trail byte is that low.
std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<uint8_t>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<uint8_t>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

bool IsSlot(int slot) {
  return slot >= 0 && slot < FontTable::kSlots;
}

}  // namespace

FontTable::FontTable() {
  for (int i = 0; i < kSlots; ++i) SetSystemFont(i, kDefaultFaceName, kDefaultQuality, 0);
}

TARGB8888Font& FontTable::Slot(int slot) {
  return slots_[IsSlot(slot) ? slot : 0];
}

const TARGB8888Font& FontTable::Slot(int slot) const {
  return slots_[IsSlot(slot) ? slot : 0];
}

void FontTable::SetSystemFont(int slot, std::string_view face, int quality, uint32_t style) {
  Slot(slot).SetSystemFont(std::string(face), std::make_unique<TSystemFont>(face, quality, style));
}

bool FontTable::LoadBitmapFont(int slot, std::string_view name, const base::Bytes* horizontal,
                               const base::Bytes* vertical) {
  if (!horizontal && !vertical) return false;
  Slot(slot).SetBitmapFont(std::string(name), std::make_unique<TBitmapFont>(horizontal, vertical));
  return true;
}

int FontTable::GlyphWidth(int slot) const {
  const TBitmapFont* font = Slot(slot).BitmapFont();
  return font ? font->GlyphWidth() : kDefaultGlyphSize;
}

int FontTable::GlyphHeight(int slot) const {
  const TBitmapFont* font = Slot(slot).BitmapFont();
  return font ? font->GlyphHeight() : kDefaultGlyphSize;
}

TextExtent FontTable::DrawText(TARGB8888& dest, std::string_view text, bool vertical, int slot,
                               uint32_t colour, int width, int height, int x, int y) {
  const TARGB8888Font& font = Slot(slot);
  const TARGB8888Font& fallback = slots_[0];
  return WalkText(
      text, font.Leads(), vertical, x, y, [&](TextChar ch, std::string_view bytes, int gx, int gy) {
        TextExtent advance = font.DrawChar(dest, ch.code, vertical, colour, width, height, gx, gy);
        if (advance == TextExtent{} && &font != &fallback) {
          advance = fallback.DrawGlyphs(dest, bytes, vertical, colour, width, height, gx, gy);
        }
        return advance;
      });
}

std::vector<std::string> FontTable::Configure(std::span<const FontSlotSetting> settings,
                                              std::string_view firstListedFace) {
  std::vector<std::string> problems;
  uint32_t style = 0;  // a style setting out of range keeps the previous slot's style
  for (int i = 0; i < kSlots && i < static_cast<int>(settings.size()); ++i) {
    std::string name(Trim(settings[i].name));
    if (name.empty()) name = Trim(firstListedFace);
    if (name.empty()) name = kDefaultFaceName;
    const int setting = settings[i].style;
    if (setting >= 0 && setting < static_cast<int>(kConfiguredStyles.size())) {
      style = kConfiguredStyles[setting];
    }
    // A new style alone must take effect too, or a setting equal to the
    // default face would never get its style.
    const TSystemFont* current = slots_[i].SystemFont();
    if (name == slots_[i].Name() && (!current || current->Style() == style)) continue;
    const std::string file = kFontFolder + name + kFontExtension;
    const std::string verticalFile =
        kFontFolder + std::string(kVerticalPrefix) + name + kFontExtension;
    try {
      const std::optional<base::Bytes> horizontal = resource::OpenDataFile(file);
      const std::optional<base::Bytes> vertical = resource::OpenDataFile(verticalFile);
      if (LoadBitmapFont(i, name, horizontal ? &*horizontal : nullptr,
                         vertical ? &*vertical : nullptr)) {
        continue;
      }
    } catch (const base::FormatError& e) {  // a bad font file or a damaged archive entry
      problems.push_back("font " + name + ": " + e.what());
    }
    SetSystemFont(i, name, kDefaultQuality, style);
  }
  return problems;
}

FontTable& TheFontTable() {
  static FontTable table;
  return table;
}

TextExtent DrawText(TARGB8888& dest, std::string_view text, bool vertical, int slot,
                    uint32_t colour, int width, int height, int x, int y) {
  return TheFontTable().DrawText(dest, text, vertical, slot, colour, width, height, x, y);
}

}  // namespace mavu::imaging
