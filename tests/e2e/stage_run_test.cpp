#include <gtest/gtest.h>

#include <algorithm>

#include "base/file_io.h"
#include "headless_game.h"
#include "imaging/argb8888.h"
#include "support/imaging/animation_files.h"
#include "test_images.h"

// Pictures of `mavu --headless --screenshot`, checked at pixels worked out
// from the compositing rules.
namespace mavu::test {
namespace {

constexpr uint32_t kBackground = 0xFF204060;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

std::string Picture(int width, int height, uint32_t colour) {
  TopDownImage image{width, height,
                     std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
  return AsText(EncodePng(image, false));
}

// What the blend of a draw at `weight` (0..127) gives in one channel.
int Lerp(int d, int s, int weight) {
  return std::clamp(d + (((s - d) * weight) >> 7), 0, 255);
}

int Channel(uint32_t colour, int shift) {
  return static_cast<int>((colour >> shift) & 0xFF);
}

// Colours with the top bit set are written as 64-bit patterns: a script
// number beyond 32 bits is 0, and $FF0000FF is one.
class StageRunTest : public ::testing::Test {
 protected:
  // The screenshot after `frames` frames, decoded.
  imaging::TARGB8888 Shot(int frames, const std::string& input = {}) {
    const std::filesystem::path png = game_.Folder() / "shot.png";
    std::vector<std::string> args = {"--frames", std::to_string(frames), "--screenshot",
                                     png.string()};
    const HeadlessRun run = input.empty() ? game_.Run(args) : game_.Run(args, input);
    last_ = run;
    EXPECT_EQ(run.code, 0) << run.err;
    imaging::TARGB8888 image;
    const std::optional<base::Bytes> bytes = base::ReadWholeFile(png);
    if (!bytes) {
      ADD_FAILURE() << "no screenshot";
      return image;
    }
    base::ByteReader in(*bytes);
    image.LoadPng(in);
    return image;
  }
  static uint32_t At(const imaging::TARGB8888& image, int x, int y) {
    return image.Pixel(x, y) & 0x00FFFFFF;
  }
  static void ExpectNear(uint32_t got, int r, int g, int b) {
    EXPECT_NEAR(Channel(got, 16), r, 1);
    EXPECT_NEAR(Channel(got, 8), g, 1);
    EXPECT_NEAR(Channel(got, 0), b, 1);
  }

  HeadlessGame game_;
  HeadlessRun last_;
};

// The loads settle the input, so the move and the fade start counting two
// frames later: 20 frames of 25 ms bring them halfway.
TEST_F(StageRunTest, ABackgroundAndTwoPicturesOneMovingOneFading) {
  game_.Add("bg.png", Picture(800, 600, kBackground));
  game_.Add("a.png", Picture(100, 100, kRed));
  game_.Add("b.png", Picture(100, 100, kBlue));
  game_.Script(
      "@@TOP\n\\gvar,img,bg,a,b\n"
      "\\scp,bg\\l,\"bg.png\"\\e\n"
      "\\scp,a\\l,\"a.png\"\\e\\p,100,100,10,0\\p,500,100,10,1000\n"
      "\\scp,b\\l,\"b.png\"\\e\\p,600,300,20,0\\a,0,1000\n"
      "\\wait,5000\n");
  const imaging::TARGB8888 shot = Shot(22);
  ASSERT_EQ(shot.Width(), 800);
  ASSERT_EQ(shot.Height(), 600);
  EXPECT_EQ(At(shot, 10, 10), kBackground & 0x00FFFFFF);
  EXPECT_EQ(At(shot, 150, 150), kBackground & 0x00FFFFFF);  // where it started
  EXPECT_EQ(At(shot, 350, 150), kRed & 0x00FFFFFF);         // x = 300 halfway
  EXPECT_EQ(At(shot, 399, 199), kRed & 0x00FFFFFF);
  EXPECT_EQ(At(shot, 400, 150), kBackground & 0x00FFFFFF);
  // Opacity 127 halfway: the copy blends with weight 63.
  ExpectNear(At(shot, 650, 350), Lerp(0x20, 0x00, 63), Lerp(0x40, 0x00, 63), Lerp(0x60, 0xFF, 63));
}

TEST_F(StageRunTest, ACrossfadeGoesFromTheFrozenPictureToTheNewScene) {
  game_.Script(
      "@@TOP\n\\gvar,img,bg\n"
      "\\scp,bg\\fr,0,0,800,600,$FFFFFFFFFFFF0000\\e\n"
      "\\wait,100\n"
      "\\scp,eff\\c\n"
      "\\scp,bg\\fr,0,0,800,600,$FFFFFFFFFF0000FF\n"
      "\\scp,eff\\fdi,0,1000\n"
      "\\wait,5000\n");
  // The crossfade starts in frame 5; 20 frames later b = 127, k = 128.
  const int weight = (255 - 128) >> 1;
  ExpectNear(At(Shot(25), 400, 300), Lerp(0xFF, 0x00, weight), 0, Lerp(0x00, 0xFF, weight));
  EXPECT_EQ(At(Shot(50), 400, 300), kBlue & 0x00FFFFFF);  // over: the live screen
}

TEST_F(StageRunTest, ARuleWipeShowsTheNewSceneWhereTheRuleIsHighFirst) {
  BmpSpec rule;
  rule.width = 800;
  rule.height = 600;
  for (int y = 0; y < 600; ++y) {
    base::Bytes row;
    for (int x = 0; x < 800; ++x) {
      const uint8_t level = x < 400 ? 0 : 255;
      row.insert(row.end(), {level, level, level});
    }
    rule.rows.push_back(row);
  }
  game_.Add("rule.bmp", AsText(EncodeBmp(rule)));
  game_.Script(
      "@@TOP\n\\gvar,img,bg\n"
      "\\scp,bg\\fr,0,0,800,600,$FFFFFFFFFFFF0000\\e\n"
      "\\wait,100\n"
      "\\scp,eff\\c\n"
      "\\scp,bg\\fr,0,0,800,600,$FFFFFFFFFF0000FF\n"
      "\\scp,eff\\fdi,1,1000,\"rule.bmp\"\n"
      "\\wait,5000\n");
  // Halfway the threshold is 128 x 288 / 255 - 32 = 112: rule 255 is past
  // its soft edge (weight 127), rule 0 is not reached (weight 0).
  const imaging::TARGB8888 half = Shot(25);
  EXPECT_EQ(At(half, 100, 300), kRed & 0x00FFFFFF);
  ExpectNear(At(half, 700, 300), Lerp(0xFF, 0x00, 127), 0, Lerp(0x00, 0xFF, 127));
  EXPECT_EQ(At(Shot(50), 100, 300), kBlue & 0x00FFFFFF);
}

TEST_F(StageRunTest, AClickedButtonEndsTheButtonWaitAndPlaysItsClickMotion) {
  game_.Add("btn.b",
            AsText(FillAnimation({{"*Default", kRed}, {"*OnClick", kBlue}}, {0, 0, 100, 50})));
  game_.Script(
      "@@TOP\n\\gvar,btn,ok\n"
      "\\scp,ok\\l,\"btn.b\"\\us,\"yes\"\\ui,7\\p,200,200,50,0\\ss,0,0,100,50\\e\n"
      "\\btn\n"
      "\\gvar,str,got\\cal,got=ResultBtnStr+\"/\"+ResultBtnInt\n"
      "\\wait,5000\n");
  EXPECT_EQ(At(Shot(4), 250, 220), kRed & 0x00FFFFFF);
  const imaging::TARGB8888 clicked = Shot(10, "6 click 250 220\n");
  EXPECT_EQ(At(clicked, 250, 220), kBlue & 0x00FFFFFF);
  EXPECT_EQ(last_.Global("got").String(), "yes/7");
  EXPECT_EQ(last_.Global("ResultBtn").String(), "ok,0");
}

}  // namespace
}  // namespace mavu::test
