#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/file_io.h"
#include "imaging/face_lookup.h"
#include "imaging/font_table.h"
#include "imaging/glyph_set.h"
#include "resource/data_tree.h"
#include "support/temp_dir.h"
#include "tool_runner.h"

// mavu-font run as a program; the fonts it writes are loaded by the engine's
// font table from loose files and from a pack built by mavu-pack.
namespace mavu::tools {
namespace {

using imaging::GlyphSet;
using imaging::TextExtent;

constexpr int kSize = 16;
constexpr uint16_t kHiraganaA = 0x82A0;
constexpr uint32_t kWhite = 0xFFFFFFFF;

std::string IpaGothicFile() {
  auto face = imaging::FindFace("IPAGothic", false, false);
  if (!face) throw std::runtime_error("IPAGothic is not installed");
  return face->file.string();
}

GlyphSet ReadSet(const std::filesystem::path& path) {
  auto bytes = base::ReadWholeFile(path);
  if (!bytes) throw std::runtime_error("missing " + path.string());
  base::ByteReader in(*bytes);
  return GlyphSet::Read(in);
}

// White text on transparent black: value v gives s2 alpha (v * 255) >> 8,
// weight half of that, RGB 254 and alpha 255 as the targets.
uint32_t ExpectedPixel(uint8_t v) {
  const uint32_t w = ((v * 255u) >> 8) >> 1;
  const uint32_t rgb = (254 * w) >> 7;
  return ((255 * w) >> 7) << 24 | rgb << 16 | rgb << 8 | rgb;
}

class FontToolTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir();
    built_ = test::RunTool("mavu-font",
                           {"build", "Gothic", IpaGothicFile(), std::to_string(kSize),
                            (dir_->Path() / "src" / "system" / "font").string()},
                           dir_->Path());
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override {
    ASSERT_EQ(built_.code, 0) << built_.err;
    saved_ = resource::TheDataTree().ProgramDirectory();
  }
  void TearDown() override {
    resource::TheDataTree().UnmountDataPacks();
    resource::TheDataTree().SetProgramDirectory(saved_);
  }

  static std::filesystem::path Built(const std::string& file) {
    return dir_->Path() / "src" / "system" / "font" / file;
  }

  // The table with slot 0 set to the built font through the data tree.
  static void ConfigureGothic(imaging::FontTable& table) {
    auto problems = table.Configure(std::vector<imaging::FontSlotSetting>{{"Gothic", 0}}, "");
    ASSERT_TRUE(problems.empty());
    ASSERT_NE(table.Slot(0).BitmapFont(), nullptr);
  }

  static test::TempDir* dir_;
  static test::ToolResult built_;
  std::filesystem::path saved_;
};

test::TempDir* FontToolTest::dir_ = nullptr;
test::ToolResult FontToolTest::built_;

TEST_F(FontToolTest, WritesBothDirectionsCoveringJisX0208) {
  auto horizontal = ReadSet(Built("Gothic.of"));
  auto vertical = ReadSet(Built("@Gothic.of"));
  EXPECT_NE(built_.out.find("IPAGothic"), std::string::npos) << built_.out;
  for (const GlyphSet* set : {&horizontal, &vertical}) {
    EXPECT_EQ(set->cellWidth, kSize);
    EXPECT_EQ(set->cellHeight, kSize);
    EXPECT_EQ(set->pageWidth, 16 * kSize);
    EXPECT_TRUE(set->colourable);
    EXPECT_EQ(set->palette[200], 200u << 24);
    // あ, 亜 (first level-1 kanji), 熙 (last level-2 kanji), ｱ, A and the spaces.
    for (uint16_t code : {0x82A0, 0x889F, 0xEAA4, 0xB1, 0x41, 0x20, 0x8140}) {
      EXPECT_NE(set->location[imaging::SlotOfCode(code)], 0) << std::hex << code;
    }
    const auto glyphs = std::count_if(set->location.begin(), set->location.end(),
                                      [](uint16_t loc) { return loc != 0; });
    EXPECT_GT(glyphs, 6879 + 94);  // JIS X 0208 plus the single bytes
  }
  EXPECT_EQ(horizontal.horizontalAdvance[imaging::SlotOfCode(kHiraganaA)], 128);
  EXPECT_EQ(horizontal.horizontalAdvance['A'], 64);
  EXPECT_EQ(vertical.verticalAdvance['A'], 64);
  EXPECT_EQ(vertical.horizontalAdvance['A'], 128);
}

TEST_F(FontToolTest, LooseFontDrawsItsCellsThroughTheTable) {
  resource::TheDataTree().SetProgramDirectory(dir_->Path() / "src");
  imaging::FontTable table;
  ConfigureGothic(table);
  EXPECT_EQ(table.GlyphWidth(0), kSize);
  imaging::TARGB8888 dest;
  dest.SetSize(3 * kSize, kSize);
  EXPECT_EQ(table.DrawText(dest,
                           "\x82\xA0"
                           "A",
                           false, 0, kWhite, kSize, kSize, 0, 0),
            (TextExtent{kSize + kSize / 2, kSize}));
  auto set = ReadSet(Built("Gothic.of"));
  auto cell = set.CellOf(set.location[imaging::SlotOfCode(kHiraganaA)]);
  int inked = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; x += 2) {
      const uint8_t v0 = set.PagePixel(cell.page, cell.left + x, cell.top + y);
      const uint8_t v1 = set.PagePixel(cell.page, cell.left + x + 1, cell.top + y);
      const bool skipped = v0 == 0 && v1 == 0;
      EXPECT_EQ(dest.Pixel(x, y), skipped ? 0u : ExpectedPixel(v0)) << x << "," << y;
      EXPECT_EQ(dest.Pixel(x + 1, y), skipped ? 0u : ExpectedPixel(v1)) << x << "," << y;
      inked += (v0 > 128) + (v1 > 128);
    }
  }
  EXPECT_GT(inked, kSize * 2);
}

TEST_F(FontToolTest, PackedFontDrawsVerticalText) {
  auto packed = test::RunTool("mavu-pack",
                              {"build", (dir_->Path() / "game" / "GameData" / "data0").string(),
                               (dir_->Path() / "src").string()},
                              dir_->Path());
  ASSERT_EQ(packed.code, 0) << packed.err;
  resource::TheDataTree().SetProgramDirectory(dir_->Path() / "game");
  ASSERT_EQ(resource::TheDataTree().MountDataPacks("GameData\\"), 1);
  imaging::FontTable table;
  ConfigureGothic(table);
  imaging::TARGB8888 dest;
  dest.SetSize(kSize, 3 * kSize);
  // ー turns in vertical writing: its ink is a tall, narrow bar.
  EXPECT_EQ(table.DrawText(dest, "\x81\x5B\x81\x5B", true, 0, kWhite, kSize, kSize, 0, 0),
            (TextExtent{kSize, 2 * kSize}));
  int minX = kSize, maxX = -1, minY = 3 * kSize, maxY = -1;
  for (int y = 0; y < 3 * kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if ((dest.Pixel(x, y) >> 24) < 128) continue;
      minX = std::min(minX, x), maxX = std::max(maxX, x);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  }
  EXPECT_GT(maxY - minY, 3 * (maxX - minX + 1));
  EXPECT_EQ(table.DrawText(dest, "", true, 0, kWhite, kSize, kSize, 0, 0), TextExtent{});
}

TEST_F(FontToolTest, RefusesBadArguments) {
  auto scratch = dir_->Path();
  EXPECT_EQ(test::RunTool("mavu-font", {}, scratch).code, 2);
  EXPECT_EQ(test::RunTool("mavu-font", {"render"}, scratch).code, 2);
  const std::string out = (scratch / "bad").string();
  EXPECT_EQ(test::RunTool("mavu-font", {"build", "x", IpaGothicFile(), "3", out}, scratch).code, 2);
  EXPECT_EQ(test::RunTool("mavu-font", {"build", "x", IpaGothicFile(), "12px", out}, scratch).code,
            2);
  EXPECT_EQ(test::RunTool("mavu-font", {"build", "a/b", IpaGothicFile(), "12", out}, scratch).code,
            2);
  auto missing =
      test::RunTool("mavu-font", {"build", "x", "/no/such/font.ttf", "12", out}, scratch);
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("/no/such/font.ttf"), std::string::npos) << missing.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace mavu::tools
