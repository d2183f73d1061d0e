#include "imaging/glyph_codes.h"

#include <gtest/gtest.h>

#include "imaging/vertical_forms.h"

namespace mavu::imaging {
namespace {

TEST(GlyphCodes, SingleBytesUseTheirOwnSlot) {
  EXPECT_EQ(SlotOfCode(0x00), 0);
  EXPECT_EQ(SlotOfCode(0x41), 0x41);
  EXPECT_EQ(SlotOfCode(0xB1), 0xB1);  // half-width katakana
  EXPECT_EQ(SlotOfCode(0xFF), 0xFF);
}

TEST(GlyphCodes, DoubleByteCodesMapIntoTwoBlocks) {
  EXPECT_EQ(SlotOfCode(0x8100), 0x0100);
  EXPECT_EQ(SlotOfCode(0x82A0), 0x02A0);  // あ
  EXPECT_EQ(SlotOfCode(0x889F), 0x089F);  // 亜
  EXPECT_EQ(SlotOfCode(0x9FFF), 0x1FFF);
  EXPECT_EQ(SlotOfCode(0xE000), 0x2000);
  EXPECT_EQ(SlotOfCode(0xEAA4), 0x2AA4);
  EXPECT_EQ(SlotOfCode(0xFFFF), 0x3FFF);
}

TEST(GlyphCodes, CodesBetweenTheBlocksShareSlotZero) {
  EXPECT_EQ(SlotOfCode(0x0100), 0);
  EXPECT_EQ(SlotOfCode(0x80FF), 0);
  EXPECT_EQ(SlotOfCode(0xA000), 0);
  EXPECT_EQ(SlotOfCode(0xDFFF), 0);
  EXPECT_EQ(SlotOfCode(0x10000), 0);
}

TEST(GlyphCodes, BitmapFontsTake0x80AsALeadByte) {
  auto bitmap = ReadTextChar("\x80\x41", 0, LeadBytes::kFrom0x80);
  EXPECT_EQ(bitmap.code, 0x8041);
  EXPECT_EQ(bitmap.length, 2u);
  auto outline = ReadTextChar("\x80\x41", 0, LeadBytes::kFrom0x81);
  EXPECT_EQ(outline.code, 0x80);
  EXPECT_EQ(outline.length, 1u);
}

TEST(GlyphCodes, LeadBytesAndSingleBytes) {
  EXPECT_EQ(ReadTextChar("\x82\xA0", 0, LeadBytes::kFrom0x81).code, 0x82A0);
  EXPECT_EQ(ReadTextChar("\x9F\xFC", 0, LeadBytes::kFrom0x81).code, 0x9FFC);
  EXPECT_EQ(ReadTextChar("\xE0\x40", 0, LeadBytes::kFrom0x81).code, 0xE040);
  EXPECT_EQ(ReadTextChar("\xFC\x4B", 0, LeadBytes::kFrom0x80).code, 0xFC4B);
  auto kana = ReadTextChar("\xA0\xB1", 0, LeadBytes::kFrom0x80);
  EXPECT_EQ(kana.code, 0xA0);
  EXPECT_EQ(kana.length, 1u);
  EXPECT_EQ(ReadTextChar("\xDF\x41", 0, LeadBytes::kFrom0x81).code, 0xDF);
  EXPECT_EQ(ReadTextChar("a\x82\xA0", 1, LeadBytes::kFrom0x81).code, 0x82A0);
}

TEST(GlyphCodes, LeadByteAtTheEndStandsAlone) {
  auto ch = ReadTextChar("a\x82", 1, LeadBytes::kFrom0x81);
  EXPECT_EQ(ch.code, 0x82);
  EXPECT_EQ(ch.length, 1u);
}

TEST(GlyphCodes, CodesTurnIntoUnicode) {
  EXPECT_EQ(CodeToUnicode(0x41), U'A');
  EXPECT_EQ(CodeToUnicode(0x82A0), U'あ');
  EXPECT_EQ(CodeToUnicode(0x889F), U'亜');
  EXPECT_EQ(CodeToUnicode(0xB1), U'ｱ');
  EXPECT_EQ(CodeToUnicode(kFullWidthSpaceCode), U'\u3000');
  EXPECT_EQ(CodeToUnicode(0x85A0), U'\uFFFD');  // an unassigned row
}

TEST(VerticalForms, HorizontalWritingNeverTurns) {
  EXPECT_EQ(LayoutOf('A', false), GlyphLayout::kHorizontal);
  EXPECT_EQ(LayoutOf(0x815B, false), GlyphLayout::kHorizontal);
}

TEST(VerticalForms, VerticalWritingTurnsHalfWidthAndLongMarks) {
  EXPECT_EQ(LayoutOf('A', true), GlyphLayout::kRotated);
  EXPECT_EQ(LayoutOf(0xB1, true), GlyphLayout::kRotated);
  EXPECT_EQ(LayoutOf(0x815B, true), GlyphLayout::kRotated);  // ー
  EXPECT_EQ(LayoutOf(0x8160, true), GlyphLayout::kRotated);  // ～
  EXPECT_EQ(LayoutOf(0x8163, true), GlyphLayout::kRotated);  // …
  EXPECT_EQ(LayoutOf(0x8169, true), GlyphLayout::kRotated);  // （
  EXPECT_EQ(LayoutOf(0x8175, true), GlyphLayout::kRotated);  // 「
  EXPECT_EQ(LayoutOf(0x817A, true), GlyphLayout::kRotated);  // 】
  EXPECT_EQ(LayoutOf(0x8184, true), GlyphLayout::kRotated);  // ＞
}

TEST(VerticalForms, VerticalWritingKeepsKanaUprightAndMovesCommas) {
  EXPECT_EQ(LayoutOf(0x82A0, true), GlyphLayout::kUpright);
  EXPECT_EQ(LayoutOf(0x889F, true), GlyphLayout::kUpright);
  EXPECT_EQ(LayoutOf(0x817B, true), GlyphLayout::kUpright);  // ＋ looks the same either way
  EXPECT_EQ(LayoutOf(0x8141, true), GlyphLayout::kShifted);  // 、
  EXPECT_EQ(LayoutOf(0x8142, true), GlyphLayout::kShifted);  // 。
}

}  // namespace
}  // namespace mavu::imaging
