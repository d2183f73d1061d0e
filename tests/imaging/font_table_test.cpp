#include "imaging/font_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "glyph_set_maker.h"
#include "resource/data_tree.h"
#include "support/temp_dir.h"

namespace mavu::imaging {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kFullInkOnBlack = 0xFDFCFCFC;

TARGB8888 Blank(int width, int height) {
  TARGB8888 buffer;
  buffer.SetSize(width, height);
  return buffer;
}

// A 2 x 2 font whose glyphs fill their cell, each with the given advances.
base::Bytes SolidFont(std::vector<uint16_t> codes, uint8_t hAdvance = 128, uint8_t vAdvance = 128) {
  auto set = test::AlphaSet(2, 2);
  for (uint16_t code : codes) test::AddCode(set, code, {255, 255, 255, 255}, hAdvance, vAdvance);
  return set.Write();
}

TEST(WalkText, MovesThePenAndReportsTheExtent) {
  struct Call {
    uint16_t code;
    int x, y;
  };
  std::vector<Call> calls;
  auto draw = [&](TextChar ch, std::string_view, int x, int y) {
    calls.push_back({ch.code, x, y});
    return ch.code == 'a' ? TextExtent{5, 7} : TextExtent{3, 9};
  };
  EXPECT_EQ(WalkText("a\x82\xA0"
                     "a",
                     LeadBytes::kFrom0x81, false, 10, 20, draw),
            (TextExtent{13, 7}));
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[1].code, 0x82A0);
  EXPECT_EQ(calls[1].x, 15);
  EXPECT_EQ(calls[2].x, 18);
  EXPECT_EQ(calls[2].y, 20);
  calls.clear();
  EXPECT_EQ(WalkText("a\x82\xA0", LeadBytes::kFrom0x81, true, 10, 20, draw), (TextExtent{3, 16}));
  EXPECT_EQ(calls[1].x, 10);
  EXPECT_EQ(calls[1].y, 27);
  EXPECT_EQ(WalkText("", LeadBytes::kFrom0x81, false, 0, 0, draw), TextExtent{});
}

TEST(FontTable, StartsWithTheDefaultFaceEverywhere) {
  FontTable table;
  for (int slot = 0; slot < FontTable::kSlots; ++slot) {
    const auto& font = table.Slot(slot);
    EXPECT_EQ(font.Name(), kDefaultFaceName);
    ASSERT_NE(font.SystemFont(), nullptr);
    EXPECT_EQ(font.SystemFont()->Quality(), 1);
    EXPECT_EQ(font.SystemFont()->Style(), 0u);
    EXPECT_EQ(table.GlyphWidth(slot), 32);
    EXPECT_EQ(table.GlyphHeight(slot), 32);
  }
  EXPECT_EQ(&table.Slot(8), &table.Slot(0));
  EXPECT_EQ(&table.Slot(-1), &table.Slot(0));
}

TEST(FontTable, BitmapFontSlotsReportTheirCellSize) {
  FontTable table;
  auto bytes = test::AlphaSet(6, 5).Write();
  EXPECT_TRUE(table.LoadBitmapFont(3, "f", &bytes, nullptr));
  EXPECT_EQ(table.Slot(3).Name(), "f");
  // An empty set is absent: its size does not count.
  EXPECT_EQ(table.GlyphWidth(3), 32);
  auto set = test::AlphaSet(6, 5);
  test::AddCode(set, 'A', std::vector<uint8_t>(30, 1));
  bytes = set.Write();
  table.LoadBitmapFont(3, "f", &bytes, nullptr);
  EXPECT_EQ(table.GlyphWidth(3), 6);
  EXPECT_EQ(table.GlyphHeight(3), 5);
}

TEST(FontTable, LoadingNothingOrABadFileKeepsTheSlot) {
  FontTable table;
  EXPECT_FALSE(table.LoadBitmapFont(2, "x", nullptr, nullptr));
  base::Bytes bad(10);
  EXPECT_THROW(table.LoadBitmapFont(2, "x", nullptr, &bad), FontError);
  EXPECT_NE(table.Slot(2).SystemFont(), nullptr);
  EXPECT_EQ(table.Slot(2).Name(), kDefaultFaceName);
}

TEST(FontTable, MissingGlyphIsRetriedWithSlotZero) {
  FontTable table;
  auto zero = SolidFont({'B'}, 64, 128);
  auto one = SolidFont({'A'});
  table.LoadBitmapFont(0, "zero", &zero, nullptr);
  table.LoadBitmapFont(1, "one", &one, nullptr);
  auto dest = Blank(8, 2);
  // A from slot 1 advances 2, B from slot 0 advances 1, C is nowhere.
  EXPECT_EQ(table.DrawText(dest, "ABC", false, 1, kWhite, 2, 2, 0, 0), (TextExtent{3, 0}));
  EXPECT_EQ(dest.Pixel(0, 0), kFullInkOnBlack);
  EXPECT_EQ(dest.Pixel(2, 0), kFullInkOnBlack);
  EXPECT_EQ(dest.Pixel(3, 1), kFullInkOnBlack);
  EXPECT_EQ(dest.Pixel(4, 0), 0u);
}

TEST(FontTable, RetryExtentTakesSlotZerosAdvance) {
  FontTable table;
  auto zero = SolidFont({'B'}, 128, 64);
  auto one = SolidFont({'A'}, 128, 128);
  table.LoadBitmapFont(0, "zero", &zero, nullptr);
  table.LoadBitmapFont(1, "one", &one, nullptr);
  auto dest = Blank(8, 8);
  EXPECT_EQ(table.DrawText(dest, "AB", false, 1, kWhite, 2, 2, 0, 0), (TextExtent{4, 1}));
  EXPECT_EQ(table.DrawText(dest, "BA", false, 1, kWhite, 2, 2, 0, 0), (TextExtent{4, 2}));
}

TEST(FontTable, VerticalTextStacksDownward) {
  FontTable table;
  auto vertical = SolidFont({'A', 'B'}, 128, 64);
  table.LoadBitmapFont(0, "v", nullptr, &vertical);
  auto dest = Blank(4, 8);
  EXPECT_EQ(table.DrawText(dest, "AB", true, 0, kWhite, 2, 2, 1, 1), (TextExtent{2, 2}));
  // A covers rows 1..2, B (one pixel further down) rows 2..3.
  EXPECT_EQ(dest.Pixel(1, 1), kFullInkOnBlack);
  EXPECT_EQ(dest.Pixel(1, 2), 0xFEFDFDFDu);  // inked twice
  EXPECT_EQ(dest.Pixel(1, 3), kFullInkOnBlack);
  EXPECT_EQ(dest.Pixel(1, 4), 0u);
}

TEST(FontTable, PlatformSpacesAdvanceWithoutDrawing) {
  FontTable table;
  auto dest = Blank(64, 64);
  dest.FillSolid({0, 0, 64, 64}, 0x11223344);
  EXPECT_EQ(table.DrawText(dest, " ", false, 0, kWhite, 24, 20, 0, 0), (TextExtent{12, 20}));
  EXPECT_EQ(table.DrawText(dest, "\x81\x40", false, 0, kWhite, 24, 20, 0, 0), (TextExtent{24, 20}));
  EXPECT_EQ(table.DrawText(dest, " \x81\x40 ", true, 0, kWhite, 24, 20, 0, 0),
            (TextExtent{24, 40}));
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) ASSERT_EQ(dest.Pixel(x, y), 0x11223344u);
  }
}

TEST(FontTable, SpaceInABitmapFontWithoutASpaceGlyphFallsBackToSlotZero) {
  FontTable table;
  auto one = SolidFont({'A'});
  table.LoadBitmapFont(1, "one", &one, nullptr);
  auto dest = Blank(4, 4);
  EXPECT_EQ(table.DrawText(dest, " ", false, 1, kWhite, 2, 2, 0, 0), (TextExtent{1, 2}));
}

class FontTableConfigure : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = resource::TheDataTree().ProgramDirectory();
    resource::TheDataTree().SetProgramDirectory(dir_.Path());
  }
  void TearDown() override { resource::TheDataTree().SetProgramDirectory(saved_); }

  void Place(const std::string& fileName, const base::Bytes& bytes) {
    dir_.Write(std::filesystem::path("System") / "Font" / fileName, bytes);
  }

  std::vector<FontSlotSetting> Settings(std::vector<FontSlotSetting> first) {
    first.resize(FontTable::kSlots);
    return first;
  }

  mavu::test::TempDir dir_;
  std::filesystem::path saved_;
  FontTable table_;
};

TEST_F(FontTableConfigure, EngineFontFilesMakeBitmapFonts) {
  Place("Round.of", SolidFont({'A'}));
  Place("@Tall.of", SolidFont({'A'}));
  auto problems = table_.Configure(Settings({{" Round ", 0}, {"Tall", 0}}), "");
  EXPECT_TRUE(problems.empty());
  ASSERT_NE(table_.Slot(0).BitmapFont(), nullptr);
  EXPECT_EQ(table_.Slot(0).Name(), "Round");
  EXPECT_TRUE(table_.Slot(0).BitmapFont()->Set(false).Present());
  EXPECT_FALSE(table_.Slot(0).BitmapFont()->Set(true).Present());
  ASSERT_NE(table_.Slot(1).BitmapFont(), nullptr);
  EXPECT_TRUE(table_.Slot(1).BitmapFont()->Set(true).Present());
}

TEST_F(FontTableConfigure, OtherNamesBecomePlatformFontsWithMappedStyles) {
  auto problems =
      table_.Configure(Settings({{"A", 2}, {"B", 7}, {"C", 1}, {"D", 3}, {"E", 0}, {"F", -1}}), "");
  EXPECT_TRUE(problems.empty());
  const uint32_t expected[] = {kFontBold, kFontBold, kFontItalic, kFontBold | kFontItalic, 0, 0};
  for (int i = 0; i < 6; ++i) {
    ASSERT_NE(table_.Slot(i).SystemFont(), nullptr) << i;
    EXPECT_EQ(table_.Slot(i).SystemFont()->Style(), expected[i]) << i;
    EXPECT_EQ(table_.Slot(i).SystemFont()->Quality(), 1);
  }
  EXPECT_EQ(table_.Slot(2).Name(), "C");
}

TEST_F(FontTableConfigure, EmptyNameTakesTheFirstListedFace) {
  table_.Configure(Settings({{"", 0}, {"  ", 0}}), "Listed");
  EXPECT_EQ(table_.Slot(0).Name(), "Listed");
  EXPECT_EQ(table_.Slot(1).Name(), "Listed");
  FontTable other;
  other.Configure(Settings({{"", 0}}), "");
  EXPECT_EQ(other.Slot(0).Name(), kDefaultFaceName);
}

TEST_F(FontTableConfigure, UnchangedSlotsKeepTheirFont) {
  Place("Round.of", SolidFont({'A'}));
  table_.Configure(Settings({{"Round", 0}, {"X", 0}}), "");
  const TBitmapFont* bitmap = table_.Slot(0).BitmapFont();
  const TSystemFont* system = table_.Slot(1).SystemFont();
  const TSystemFont* untouched = table_.Slot(2).SystemFont();
  table_.Configure(Settings({{"Round", 2}, {"X", 0}}), std::string(kDefaultFaceName));
  EXPECT_EQ(table_.Slot(0).BitmapFont(), bitmap);
  EXPECT_EQ(table_.Slot(1).SystemFont(), system);
  EXPECT_EQ(table_.Slot(2).SystemFont(), untouched);
}

TEST_F(FontTableConfigure, NewStyleAloneReassignsAPlatformFont) {
  table_.Configure(Settings({{std::string(kDefaultFaceName), 2}}), "");
  ASSERT_NE(table_.Slot(0).SystemFont(), nullptr);
  EXPECT_EQ(table_.Slot(0).SystemFont()->Style(), kFontBold);
}

TEST_F(FontTableConfigure, BadEngineFontIsReportedAndFallsBackToThePlatform) {
  Place("Broken.of", base::Bytes(100));
  auto problems = table_.Configure(Settings({{"Broken", 0}}), "");
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("Broken"), std::string::npos);
  ASSERT_NE(table_.Slot(0).SystemFont(), nullptr);
  EXPECT_EQ(table_.Slot(0).Name(), "Broken");
}

TEST(FontTableGlobal, DrawTextUsesTheProcessTable) {
  auto dest = Blank(8, 8);
  EXPECT_EQ(DrawText(dest, " ", false, 0, kWhite, 8, 8, 0, 0), (TextExtent{4, 8}));
  EXPECT_EQ(&TheFontTable(), &TheFontTable());
}

}  // namespace
}  // namespace mavu::imaging
