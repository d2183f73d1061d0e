#include "imaging/system_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/cp932.h"
#include "imaging/face_lookup.h"
#include "imaging/font_table.h"
#include "imaging/outline_face.h"

// These tests rely on the IPA fonts that scripts/install-deps installs.
namespace mavu::imaging {
namespace {

constexpr uint16_t kHiraganaA = 0x82A0;  // あ
constexpr uint16_t kLongMark = 0x815B;   // ー
constexpr uint32_t kWhite = 0xFFFFFFFF;

std::string Family(std::string_view utf8Name, bool bold = false) {
  auto face = FindFace(utf8Name, bold, false);
  return face ? face->family : "(none)";
}

TEST(FaceLookup, WindowsJapaneseFacesFindTheirIpaStandIns) {
  EXPECT_EQ(Family("ＭＳ ゴシック"), "IPAGothic");
  EXPECT_EQ(Family("ＭＳ Ｐゴシック"), "IPAPGothic");
  EXPECT_EQ(Family("ＭＳ 明朝"), "IPAMincho");
  EXPECT_EQ(Family("ＭＳ Ｐ明朝"), "IPAPMincho");
  EXPECT_EQ(Family("MS UI Gothic"), "IPAPGothic");
}

TEST(FaceLookup, InstalledFacesAreFoundByName) {
  EXPECT_EQ(Family("IPAMincho"), "IPAMincho");
  EXPECT_EQ(Family("ipapgothic"), "IPAPGothic");
}

TEST(FaceLookup, UnknownNamesFallBackToAJapaneseGothic) {
  EXPECT_EQ(Family("No Such Face 12345"), "IPAGothic");
  EXPECT_EQ(Family(""), "IPAGothic");
}

TEST(FaceLookup, StandInsByKindOfName) {
  EXPECT_STREQ(StandInFamily("メイリオ"), "IPAGothic");
  EXPECT_STREQ(StandInFamily("MS PMincho"), "IPAPMincho");
  EXPECT_STREQ(StandInFamily("Some Mincho"), "IPAMincho");
  EXPECT_STREQ(StandInFamily("MS PGothic"), "IPAPGothic");
}

TEST(SystemFont, KeepsFaceWithoutTheVerticalPrefixAndDefaultEffects) {
  TSystemFont font("@" + base::Utf8ToCp932("ＭＳ 明朝"), 9, kFontBold);
  EXPECT_EQ(font.FaceName(), base::Utf8ToCp932("ＭＳ 明朝"));
  EXPECT_EQ(font.Quality(), TSystemFont::kMaxQuality);
  EXPECT_EQ(font.Style(), kFontBold);
  EXPECT_EQ(font.Effects()[0], -1);
  EXPECT_TRUE(std::all_of(font.Effects().begin() + 1, font.Effects().end(),
                          [](int32_t v) { return v == 0; }));
  EXPECT_EQ(TSystemFont("x", -3, 0).Quality(), 0);
  ASSERT_TRUE(font.Location());
  EXPECT_EQ(font.Location()->family, "IPAMincho");
}

std::set<int> LevelsOf(int quality, uint16_t code = kHiraganaA) {
  TSystemFont font(kDefaultFaceName, quality, 0);
  int advance = 0;
  auto coverage = font.RenderCoverage(code, false, 24, 24, &advance);
  return {coverage.levels.begin(), coverage.levels.end()};
}

bool AllMultiplesOf(const std::set<int>& levels, int step) {
  return std::all_of(levels.begin(), levels.end(), [&](int v) { return v % step == 0; });
}

TEST(SystemFont, QualityZeroIsMonochrome) {
  EXPECT_EQ(LevelsOf(0), (std::set<int>{0, 64}));
}

TEST(SystemFont, QualityOneHasGreyLevelsUpTo64) {
  auto levels = LevelsOf(1);
  EXPECT_EQ(*levels.begin(), 0);
  EXPECT_EQ(*levels.rbegin(), 64);
  EXPECT_GT(levels.size(), 10u);
  EXPECT_FALSE(AllMultiplesOf(levels, 4));
}

TEST(SystemFont, SupersamplingQualitiesHaveFactorSquaredPlusOneLevels) {
  auto two = LevelsOf(2);  // 2 x 2: levels 0, 16, 32, 48, 64
  EXPECT_TRUE(AllMultiplesOf(two, 16));
  EXPECT_GT(two.size(), 2u);
  auto four = LevelsOf(3);  // 4 x 4: multiples of 4
  EXPECT_TRUE(AllMultiplesOf(four, 4));
  EXPECT_FALSE(AllMultiplesOf(four, 16));
  auto eight = LevelsOf(4);  // 8 x 8: every level
  EXPECT_FALSE(AllMultiplesOf(eight, 4));
  EXPECT_LE(*eight.rbegin(), 64);
}

TEST(SystemFont, DrawnPixelsFollowTheCoverageFormula) {
  // From transparent black toward white, level v gives (255 * (2v - 1)) >> 7 per channel.
  std::set<uint32_t> allowed = {0};
  for (int v = 1; v <= 64; v += 1) {
    const uint32_t c = static_cast<uint32_t>((255 * (2 * v - 1)) >> 7);
    allowed.insert(c * 0x01010101u);
  }
  for (int quality = 0; quality <= 4; ++quality) {
    TSystemFont font(kDefaultFaceName, quality, 0);
    TARGB8888 dest;
    dest.SetSize(40, 40);
    font.DrawGlyph(dest, kHiraganaA, false, kWhite, 24, 24, 8, 8);
    int inked = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_TRUE(allowed.count(dest.Pixel(x, y))) << quality << ": " << x << "," << y;
        inked += dest.Pixel(x, y) != 0;
        // Nothing lands outside the cell for a kana.
        if (x < 8 || y < 8 || x >= 32 || y >= 32) {
          ASSERT_EQ(dest.Pixel(x, y), 0u);
        }
      }
    }
    EXPECT_GT(inked, 40) << quality;
  }
}

TEST(SystemFont, QualityZeroInkIsTheFullWeight) {
  TSystemFont font(kDefaultFaceName, 0, 0);
  TARGB8888 dest;
  dest.SetSize(32, 32);
  font.DrawGlyph(dest, kHiraganaA, false, 0xFF0000FF, 24, 24, 0, 0);
  std::set<uint32_t> seen;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) seen.insert(dest.Pixel(x, y));
  }
  EXPECT_EQ(seen, (std::set<uint32_t>{0, 0xFD0000FD}));
}

TEST(SystemFont, FullWidthAdvancesByTheWidthAndHalfWidthByHalf) {
  TSystemFont font(kDefaultFaceName, 1, 0);
  TARGB8888 dest;
  dest.SetSize(64, 64);
  EXPECT_EQ(font.DrawGlyph(dest, kHiraganaA, false, kWhite, 24, 24, 0, 0), (TextExtent{24, 24}));
  EXPECT_EQ(font.DrawGlyph(dest, 'A', false, kWhite, 24, 24, 0, 0), (TextExtent{12, 24}));
  // The em is stretched to the cell: a narrower cell advances less.
  EXPECT_EQ(font.DrawGlyph(dest, kHiraganaA, false, kWhite, 16, 24, 0, 0), (TextExtent{16, 24}));
  EXPECT_EQ(font.DrawGlyph(dest, kHiraganaA, true, kWhite, 24, 24, 0, 0), (TextExtent{24, 24}));
  EXPECT_EQ(font.DrawGlyph(dest, 'A', true, kWhite, 24, 24, 0, 0), (TextExtent{24, 12}));
}

struct Box {
  int width;
  int height;
};

Box InkBox(const GlyphCoverage& c) {
  int x0 = c.width, x1 = -1, y0 = c.height, y1 = -1;
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      if (c.At(x, y) == 0) continue;
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  }
  return {x1 - x0 + 1, y1 - y0 + 1};
}

TEST(SystemFont, VerticalWritingTurnsTheLongMark) {
  TSystemFont font(kDefaultFaceName, 1, 0);
  int advance = 0;
  Box across = InkBox(font.RenderCoverage(kLongMark, false, 24, 24, &advance));
  Box down = InkBox(font.RenderCoverage(kLongMark, true, 24, 24, &advance));
  EXPECT_GT(across.width, 3 * across.height);
  EXPECT_GT(down.height, 3 * down.width);
  EXPECT_EQ(advance, 24);
}

TEST(SystemFont, VerticalWritingMovesTheFullStopUpAndRight) {
  TSystemFont font(kDefaultFaceName, 1, 0);
  int advance = 0;
  auto horizontal = font.RenderCoverage(0x8142, false, 24, 24, &advance);
  auto vertical = font.RenderCoverage(0x8142, true, 24, 24, &advance);
  EXPECT_LT(horizontal.left, 12);
  EXPECT_GE(horizontal.top, 12);
  EXPECT_GE(vertical.left, 12);
  EXPECT_LT(vertical.top, 12);
}

TEST(SystemFont, SyntheticBoldInksMore) {
  auto inked = [](uint32_t style) {
    TSystemFont font(kDefaultFaceName, 1, style);
    int advance = 0;
    auto c = font.RenderCoverage(kHiraganaA, false, 24, 24, &advance);
    int sum = 0;
    for (uint8_t v : c.levels) sum += v;
    return sum;
  };
  EXPECT_GT(inked(kFontBold), inked(0) * 11 / 10);
}

TEST(SystemFont, SyntheticItalicLeans) {
  auto inkWidth = [](uint32_t style) {
    TSystemFont font(kDefaultFaceName, 1, style);
    int advance = 0;
    return InkBox(font.RenderCoverage('|', false, 24, 24, &advance)).width;
  };
  EXPECT_GT(inkWidth(kFontItalic), inkWidth(0) + 2);
}

TEST(SystemFont, OutOfRangeSizesDrawNothing) {
  TSystemFont font(kDefaultFaceName, 1, 0);
  TARGB8888 dest;
  dest.SetSize(8, 8);
  EXPECT_EQ(font.DrawGlyph(dest, kHiraganaA, false, kWhite, 0, 0, 0, 0), TextExtent{});
  EXPECT_EQ(font.DrawGlyph(dest, kHiraganaA, false, kWhite, 2000, 8, 0, 0), (TextExtent{2000, 8}));
  EXPECT_EQ(dest.Pixel(0, 0), 0u);
}

TEST(OutlineFace, RefusesFilesThatAreNoFont) {
  EXPECT_THROW(OutlineFace("/nonexistent/font.ttf", 0), FontError);
  EXPECT_THROW(OutlineFace("/etc/hostname", 0), FontError);
}

TEST(OutlineFace, RawLevelsPerRaster) {
  auto location = FindFace("IPAGothic", false, false);
  ASSERT_TRUE(location);
  OutlineFace face(location->file, location->index);
  EXPECT_TRUE(face.HasGlyph(U'あ'));
  EXPECT_FALSE(face.HasGlyph(U'\U0001F600'));
  GlyphRequest request;
  request.codePoint = U'あ';
  request.width = request.height = 20;
  request.raster = Raster::kGrey;
  EXPECT_EQ(face.Render(request).maxLevel, 255);
  request.raster = Raster::kMono;
  EXPECT_EQ(face.Render(request).maxLevel, 1);
  request.raster = Raster::kSupersample;
  request.factor = 4;
  auto bitmap = face.Render(request);
  EXPECT_EQ(bitmap.maxLevel, 16);
  EXPECT_EQ(bitmap.advance, 20);
  EXPECT_LE(bitmap.width, 20);
}

}  // namespace
}  // namespace mavu::imaging
