#include <gtest/gtest.h>

#include "glyph_set_maker.h"
#include "headless_game.h"
#include "imaging/argb8888.h"
#include "support/imaging/animation_files.h"

// A Japanese message typed out in a window, seen in headless screenshots.
namespace mavu::test {
namespace {

constexpr int kLeft = 40;
constexpr int kTop = 420;
constexpr int kRight = 760;
constexpr int kBottom = 580;

class MessageRunTest : public ::testing::Test {
 protected:
  MessageRunTest() {
    // A dark background; the window's text area is (40, 420) - (760, 580).
    game_.Script(
        "@@TOP\n\\gvar,img,bg\\gvar,msg,m\n"
        "\\scp,bg\\fr,0,0,800,600,$FFFFFFFFFF000000\\e\n"
        "\\scp,m\\p,0,400,10,0\\ts,40,20,760,180\\e\\sv,50\n"
        "\\t,こんにちは、世界。日本語のメッセージです。\n"
        "\\msg\\clk\n"
        "\\cc\\t,次のページ\n"
        "\\msg\n");
  }

  // The count of lit pixels inside and outside the text area after `frames`.
  struct Lit {
    int inside = 0;
    int outside = 0;
  };
  Lit Shot(int frames, const std::string& input = {}) {
    const std::filesystem::path png = game_.Folder() / "shot.png";
    std::vector<std::string> args = {"--frames", std::to_string(frames), "--screenshot",
                                     png.string()};
    const HeadlessRun run = input.empty() ? game_.Run(args) : game_.Run(args, input);
    EXPECT_EQ(run.code, 0) << run.err;
    Lit lit;
    const imaging::TARGB8888 image = ReadShot(png);
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width(); ++x) {
        if ((image.Pixel(x, y) & 0x00FFFFFF) == 0) continue;
        const bool inArea = x >= kLeft && x < kRight && y >= kTop && y < kBottom;
        ++(inArea ? lit.inside : lit.outside);
      }
    }
    return lit;
  }

  HeadlessGame game_;
};

TEST_F(MessageRunTest, TextTypesOutInsideTheAreaAndWaitsForAClick) {
  const Lit early = Shot(4);
  const Lit later = Shot(12);
  const Lit done = Shot(60);
  EXPECT_GT(early.inside, 0);
  EXPECT_GT(later.inside, early.inside);  // more characters typed
  EXPECT_GT(done.inside, later.inside);
  EXPECT_EQ(done.outside, 0);
  // Without a click the page stays; a click clears it for the next, shorter one.
  EXPECT_EQ(Shot(70).inside, done.inside);
  const Lit next = Shot(100, "75 click 400 300\n");
  EXPECT_GT(next.inside, 0);
  EXPECT_LT(next.inside, done.inside);
  EXPECT_EQ(next.outside, 0);
}

// The player's settings name an engine font for slot 1, whose "A" is a solid
// 16 x 16 block: text in that slot fills the whole cell, as no platform
// face's "A" does.
TEST(FontSettingsRunTest, AnEngineFontNamedInTheSettingsDrawsItsSlot) {
  HeadlessGame game;
  imaging::GlyphSet block = imaging::test::AlphaSet(16, 16);
  imaging::test::AddCode(block, 'A', std::vector<uint8_t>(16 * 16, 255));
  game.Add("system/font/Block.of", AsText(block.Write()));
  game.Loose("GameData/System/config.txt", "Font[1].Name=Block\r\n");
  game.Script(
      "@@TOP\n\\gvar,msg,m\n"
      "\\scp,m\\p,0,0,10,0\\ts,0,0,200,40\\sv,1\\e\\t,[f,1][s,16,16]A\\msg\n"
      "\\wait,1000\n");
  const std::filesystem::path png = game.Folder() / "shot.png";
  const HeadlessRun run = game.Run({"--frames", "20", "--screenshot", png.string()});
  ASSERT_EQ(run.code, 0) << run.err;
  const imaging::TARGB8888 shot = ReadShot(png);
  ASSERT_EQ(shot.Width(), 800);
  int lit = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) lit += (shot.Pixel(x, y) & 0xFF) > 200 ? 1 : 0;
  }
  EXPECT_EQ(lit, 16 * 16);
}

}  // namespace
}  // namespace mavu::test
