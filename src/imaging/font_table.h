#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "imaging/argb8888.h"
#include "imaging/argb8888_font.h"

namespace mavu::imaging {

// "ＭＳ ゴシック" in CP932: the face every slot starts with.
inline constexpr std::string_view kDefaultFaceName =
    "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";

// One slot's entry in the player's settings.
struct FontSlotSetting {
  std::string name;  // face or engine font name; empty for the first listed face
  int style = 0;     // 0 regular, 1 italic, 2 bold, 3 bold italic
};

// The eight font slots all text is drawn through.
class FontTable {
 public:
  static constexpr int kSlots = 8;
  static constexpr int kDefaultQuality = 1;
  static constexpr int kDefaultGlyphSize = 32;

  // Every slot starts as the default face, regular, quality 1.
  FontTable();

  // A slot number outside 0..7 means slot 0.
  TARGB8888Font& Slot(int slot);
  const TARGB8888Font& Slot(int slot) const;

  void SetSystemFont(int slot, std::string_view face, int quality, uint32_t style);
  // Makes the slot a bitmap font from the ".of" files given (null for a
  // missing one). False, and the slot unchanged, when neither is given.
  // Throws FontError on a bad file, leaving the slot unchanged.
  bool LoadBitmapFont(int slot, std::string_view name, const base::Bytes* horizontal,
                      const base::Bytes* vertical);
  // The bitmap font's cell size, or 32 for a platform font.
  int GlyphWidth(int slot) const;
  int GlyphHeight(int slot) const;

  // Draws the text with the slot's font at (x, y); a character that advances
  // 0 x 0 there (a bitmap font without that glyph) is drawn with slot 0.
  // Returns the extent, as WalkText.
  TextExtent DrawText(TARGB8888& dest, std::string_view text, bool vertical, int slot,
                      uint32_t colour, int width, int height, int x, int y);

  // Applies the player's settings: each slot whose name (or, for a platform
  // font, style) differs becomes the engine font "system\font\NAME.of" /
  // "system\font\@NAME.of" if either file exists in the data tree, else the
  // platform face NAME at quality 1. An empty name takes `firstListedFace`
  // (the default face when that is empty too). Returns one message per font
  // file that could not be used; such a slot becomes the platform face.
  std::vector<std::string> Configure(std::span<const FontSlotSetting> settings,
                                     std::string_view firstListedFace);

 private:
  std::array<TARGB8888Font, kSlots> slots_;
};

// The process-wide table the engine draws text through.
FontTable& TheFontTable();

// FontTable::DrawText on the process-wide table.
TextExtent DrawText(TARGB8888& dest, std::string_view text, bool vertical, int slot,
                    uint32_t colour, int width, int height, int x, int y);

}  // namespace mavu::imaging
