#include "shell/app/startup_splash.h"

#include <gtest/gtest.h>

#include "imaging/png_writer.h"
#include "shell/platform/headless/headless_display.h"
#include "support/mounted_game.h"

namespace mavu::shell {
namespace {

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;

std::string RedPicture(int width, int height) {
  imaging::TARGB8888 picture;
  picture.SetSize(width, height);
  picture.FillSolid({0, 0, static_cast<float>(width), static_cast<float>(height)}, kRed);
  const base::Bytes png = imaging::EncodePng(picture);
  return {png.begin(), png.end()};
}

class StartupSplashTest : public ::testing::Test {
 protected:
  uint32_t Pixel(int x, int y) const { return display_.Memory()->WindowPixel(x, y); }

  HeadlessDisplay display_;
  base::SimulatedClock clock_;
};

TEST_F(StartupSplashTest, GreyWithoutAPictureAndTheBarAtItsShare) {
  test::MountedGame game({{"other.png", RedPicture(4, 4)}});
  StartupSplash splash(display_, clock_);
  EXPECT_EQ(display_.CurrentMode().width, 640);
  EXPECT_EQ(display_.CurrentMode().height, 480);
  splash.Step("DirectDraw(DDDD2custom) Initialize ...", 50);
  EXPECT_EQ(clock_.NowMs(), 100u);
  EXPECT_EQ(Pixel(300, 300), StartupSplash::kNoPicture);
  EXPECT_EQ(Pixel(300, 456), kBlack);
  EXPECT_EQ(Pixel(0, 457), kWhite);
  EXPECT_EQ(Pixel(319, 458), kWhite);
  EXPECT_EQ(Pixel(320, 458), kBlack);
  EXPECT_EQ(Pixel(300, 459), kBlack);
  splash.Complete();
  EXPECT_EQ(clock_.NowMs(), 800u);
  EXPECT_EQ(Pixel(639, 458), kWhite);
}

TEST_F(StartupSplashTest, ThePicturesTopPartAboveTheStrip) {
  test::MountedGame game({{"system\\startup\\WakeUp.png", RedPicture(700, 300)}});
  StartupSplash splash(display_, clock_);
  splash.Step("SystemSetup Start ...", 0);
  EXPECT_EQ(Pixel(639, 0), kRed);
  EXPECT_EQ(Pixel(10, 299), kRed);
  EXPECT_EQ(Pixel(10, 300), kBlack);  // below a short picture
  EXPECT_EQ(Pixel(0, 457), kBlack);   // no bar at 0 %
}

}  // namespace
}  // namespace mavu::shell
