#include "imaging/layers/kel_graphic.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/animation/animation_file.h"
#include "imaging/memory_display_surface.h"
#include "support/imaging/layer_fixture.h"
#include "test_images.h"

namespace mavu::imaging {
namespace {

using Mode = TKelGraphic::Mode;
using Operation = TKelGraphic::ColourOperation;

constexpr int kWidth = 4;
constexpr int kHeight = 2;
constexpr uint32_t kOld = 0xFF204060;  // the scene frozen
constexpr uint32_t kNew = 0xFFC08040;  // the scene drawn since
constexpr int32_t kKeyStep = 10;
constexpr int32_t kTransitionEnd = 31 * kKeyStep;

// "rule.bmp": an 8-bit rule whose columns hold 200, 120, 100 and 0.
std::string Rule() {
  test::BmpSpec spec;
  spec.width = kWidth;
  spec.height = kHeight;
  spec.bitsPerPixel = 8;
  for (uint32_t i = 0; i < 256; ++i) spec.palette.push_back(i * 0x010101);
  spec.rows = {{200, 120, 100, 0}, {200, 120, 100, 0}};
  return test::AsText(test::EncodeBmp(spec));
}

// "t.b": motion 0 copies the whole picture (the snapshot, once the transition
// has it) onto the screen until its keys, 10 ms apart, end.
std::string Transition() {
  AnimationMotion motion = AnimationMotion::Fresh();
  for (AnimationLayer& layer : motion.layers) {
    for (int k = 0; k < AnimationLayer::kKeys; ++k) layer.keys[k].time = k * kKeyStep;
  }
  for (AnimationKey& key : motion.layers[1].keys) {
    key.source = {0, 0, kWidth, kHeight};
    key.destination = {0, 0, kWidth, kHeight, 0};
    key.drawType = static_cast<uint8_t>(KeyDrawType::kCopy);
  }
  AnimationFile file;
  file.motions = {motion};
  return test::AsText(WriteAnimationFile(file));
}

template <class F>
uint32_t PerChannel(uint32_t a, uint32_t b, F f) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int x = static_cast<int>((a >> shift) & 0xFF);
    const int y = static_cast<int>((b >> shift) & 0xFF);
    out |= static_cast<uint32_t>(std::clamp(f(x, y), 0, 255)) << shift;
  }
  return out;
}

// The kernels' formulas, channel by channel (alpha too): the blend of
// crossfades and wipes with weight w of 128, and the overlay and multiply of
// the colour effects with the colour's alpha a.
uint32_t Lerp(uint32_t d, uint32_t s, int w) {
  return PerChannel(d, s, [w](int x, int y) { return x + (((y - x) * w) >> 7); });
}
uint32_t Overlay(uint32_t d, uint32_t colour) {
  const int a = static_cast<int>(colour >> 24);
  return PerChannel(d, colour,
                    [a](int x, int c) { return ((x * (255 - a)) >> 8) + ((c * a) >> 8); });
}
uint32_t Multiply(uint32_t d, uint32_t colour) {
  const int a = static_cast<int>(colour >> 24);
  return PerChannel(d, colour,
                    [a](int x, int c) { return (x * (255 - (255 - c) * a / 255)) >> 8; });
}
uint32_t WithAlpha(uint32_t colour, uint32_t alpha) {
  return (colour & 0x00FFFFFF) | alpha << 24;
}

class KelGraphicTest : public ::testing::Test {
 protected:
  KelGraphicTest() : game_({{"rule.bmp", Rule()}, {"t.b", Transition()}}) {
    graphic_.SetScreenSize(kWidth, kHeight);
  }

  // One frame of a scene filling the screen with the colour.
  void Frame(uint32_t colour) {
    graphic_.Compositor().PostFillSolid({0, 0, kWidth, kHeight}, colour, 0);
    graphic_.Compose();
  }
  uint32_t Shown(int x) const { return graphic_.ShownPicture().Pixel(x, 0); }
  // The first pixel shown after the time passed and a frame of the scene.
  uint32_t ShownAfter(int32_t ms, uint32_t scene) {
    graphic_.Advance(ms);
    Frame(scene);
    return Shown(0);
  }
  void FreezeOldDrawNew() {
    Frame(kOld);
    graphic_.Freeze();
    Frame(kNew);
  }

  test::MountedGame game_;
  TKelGraphic graphic_;
};

TEST_F(KelGraphicTest, CrossfadesEndLiveWhenFadingInAndFrozenWhenFadingOut) {
  FreezeOldDrawNew();
  graphic_.CrossfadeIn(1000);
  // b = 500 x 255 / 1000 = 127: the live screen weighs 127 >> 1 = 63.
  EXPECT_EQ(ShownAfter(500, kNew), Lerp(kOld, kNew, 63));
  EXPECT_EQ(ShownAfter(500, kNew), kNew);
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kNone);

  graphic_.Freeze();
  graphic_.CrossfadeOut(1000);
  // b = 63: the live screen weighs (255 - 63) >> 1 = 96.
  EXPECT_EQ(ShownAfter(250, kOld), Lerp(kNew, kOld, 96));
  EXPECT_EQ(ShownAfter(750, kOld), kNew);
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kFrozen);
}

TEST_F(KelGraphicTest, ARuleWipeInOpensHighRuleValuesFirstAndEndsOnTheLiveScreen) {
  FreezeOldDrawNew();
  graphic_.WipeIn(1000, "rule.bmp");
  // t = 255 - 127: threshold 128 x 288 / 255 - 32 = 112, weight
  // min(255, (rule - 112) x 8) >> 1 towards the screen; the rule is the snapshot's alpha.
  EXPECT_EQ(ShownAfter(500, kNew), Lerp(WithAlpha(kOld, 200), kNew, 127));
  EXPECT_EQ(Shown(1), Lerp(WithAlpha(kOld, 120), kNew, 32));
  EXPECT_EQ(Shown(2), WithAlpha(kOld, 100));
  graphic_.Advance(500);
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kNone);
  MemoryDisplaySurface surface(kWidth, kHeight);
  graphic_.PresentToSurface(surface, false);
  EXPECT_EQ(surface.WindowPixel(2, 0), kNew);
  EXPECT_EQ(surface.WindowPixel(3, 1), kNew);
}

TEST_F(KelGraphicTest, ColourFadesRunAsTheEffectObjectIssuesThem) {
  constexpr uint32_t kTint = 0xC0FF0000;
  constexpr uint32_t kNoTint = kTint & 0x00FFFFFF;
  Frame(kNew);
  graphic_.ColourEffect(0, kTint, Operation::kOverlay);
  graphic_.ColourEffect(1000, kNoTint, Operation::kOverlay);
  // b = 127: alpha (192 x 128 + 0 x 127) / 255 = 96.
  EXPECT_EQ(ShownAfter(500, kNew), Overlay(kNew, 0x60FF0000));
  graphic_.Advance(500);
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kNone);

  graphic_.ColourEffect(1000, kNoTint, Operation::kMultiply);
  graphic_.ColourEffect(1000, kTint, Operation::kMultiply);
  EXPECT_EQ(ShownAfter(1000, kNew), Multiply(kNew, kTint));
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kColourEffect);
  graphic_.EndTransition();
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kNone);
  EXPECT_EQ(Shown(0), Multiply(kNew, kTint));
}

TEST_F(KelGraphicTest, AnAnimatedTransitionShowsTheSnapshotUntilItsAnimationEnds) {
  Frame(kOld);
  graphic_.Freeze();
  graphic_.AnimatedTransition(0, "t.png");
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kFrozen);
  graphic_.AnimatedTransition(0, "missing.b");  // left out, not a frozen screen
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kFrozen);
  graphic_.AnimatedTransition(0, "t.b");
  EXPECT_EQ(ShownAfter(100, kNew), kOld);
  graphic_.Advance(kTransitionEnd - 101);
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kAnimated);
  EXPECT_EQ(ShownAfter(1, kNew), kNew);
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kNone);
}

TEST_F(KelGraphicTest, AnAnimatedTransitionRunsWhileLayerRequestsAreDeferred) {
  graphic_.Context().deferring = true;
  graphic_.AnimatedTransition(0, "t.b");
  graphic_.Advance(kTransitionEnd);
  EXPECT_EQ(graphic_.CurrentMode(), Mode::kNone);
}

TEST_F(KelGraphicTest, TheScreenRecordAndItsTransitionLayerRoundTrip) {
  graphic_.SetBackground(0x80123456);
  graphic_.SetAfterimage(true);
  graphic_.WipeIn(1000, "rule.bmp");
  graphic_.Advance(300);
  base::Bytes bytes = test::Saved(graphic_);
  ASSERT_EQ(bytes.size(), 156u + 1331u);
  EXPECT_EQ(test::I32At(bytes, 0), 0x123456);
  EXPECT_EQ(bytes[4], 1);
  EXPECT_EQ(test::ShortStringAt(bytes, 5), "rule.bmp");
  EXPECT_EQ(bytes[133], 4);
  EXPECT_EQ(test::I32At(bytes, 136), 300);
  TKelGraphic copy;
  base::ByteReader in(bytes);
  copy.LoadState(in);
  EXPECT_EQ(test::Saved(copy), bytes);

  graphic_.AnimatedTransition(0, "t.b");
  graphic_.Advance(20);
  bytes = test::Saved(graphic_);
  EXPECT_EQ(bytes[133], 9);
  EXPECT_EQ(test::ShortStringAt(bytes, 156 + 546), "t.b");
  base::ByteReader again(bytes);
  copy.LoadState(again);
  EXPECT_EQ(test::Saved(copy), bytes);

  TKelGraphic other;
  const base::Bytes before = test::Saved(other);
  base::ByteReader shortIn(test::Shortened(bytes));
  EXPECT_THROW(other.LoadState(shortIn), base::FormatError);
  EXPECT_EQ(test::Saved(other), before);
}

}  // namespace
}  // namespace mavu::imaging
