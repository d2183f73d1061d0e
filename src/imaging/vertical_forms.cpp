#include "imaging/vertical_forms.h"

#include <algorithm>
#include <array>

namespace mavu::imaging {

namespace {

// 、。，．
constexpr std::array<uint16_t, 4> kShiftedCodes = {0x8141, 0x8142, 0x8143, 0x8144};

// ：；＿ー―‐～∥｜…‥－＝, besides the brackets （）〔〕［］｛｝〈〉《》「」『』【】 and ＜＞.
constexpr std::array<uint16_t, 13> kRotatedCodes = {0x8146, 0x8147, 0x8151, 0x815B, 0x815C,
                                                    0x815D, 0x8160, 0x8161, 0x8162, 0x8163,
                                                    0x8164, 0x817C, 0x8181};
constexpr uint16_t kFirstBracket = 0x8169;
constexpr uint16_t kLastBracket = 0x817A;
constexpr uint16_t kLessThan = 0x8183;
constexpr uint16_t kGreaterThan = 0x8184;

bool Contains(const auto& codes, uint16_t code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace

GlyphLayout LayoutOf(uint16_t code, bool vertical) {
  if (!vertical) return GlyphLayout::kHorizontal;
  if (code <= 0xFF) return GlyphLayout::kRotated;
  if (Contains(kShiftedCodes, code)) return GlyphLayout::kShifted;
  if (Contains(kRotatedCodes, code) || (code >= kFirstBracket && code <= kLastBracket) ||
      code == kLessThan || code == kGreaterThan) {
    return GlyphLayout::kRotated;
  }
  return GlyphLayout::kUpright;
}

}  // namespace mavu::imaging
