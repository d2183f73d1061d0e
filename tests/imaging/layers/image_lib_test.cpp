#include "imaging/layers/image_lib.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/byte_writer.h"
#include "imaging/animation/animation_file.h"
#include "imaging/layers/easing.h"
#include "support/imaging/layer_fixture.h"

namespace mavu::imaging {
namespace {

using Place = ImageLibState::Place;
using test::I32At;
using test::ShortStringAt;

// "hits.b": 31 hit areas of 10 x 10, one every 20 pixels down from y = 20.
std::string ThirtyOneHitAreas() {
  AnimationMotion motion = AnimationMotion::Fresh();
  motion.layers.resize(1);
  for (int k = 1; k <= 31; ++k) {
    AnimationLayer layer = AnimationLayer::Fresh(k);
    const auto top = static_cast<int16_t>(20 * k);
    for (AnimationKey& key : layer.keys) {
      key.destination = {0, top, 10, static_cast<int16_t>(top + 10), 0};
      key.drawType = static_cast<uint8_t>(KeyDrawType::kHitArea);
    }
    motion.layers.push_back(layer);
  }
  AnimationFile file;
  file.motions = {motion};
  return test::AsText(WriteAnimationFile(file));
}

class ImageLibTest : public test::LayerTest {
 protected:
  ImageLibTest() : LayerTest({{"hits.b", ThirtyOneHitAreas()}}) {}

  TImageLib layer_{context_};
};

TEST_F(ImageLibTest, TheRecordRoundTripsByteForByte) {
  ShowLoaded(layer_, "ui.b");
  layer_.PlayMotion("Other", false);
  layer_.Update(120);
  layer_.SetEasing(4);
  layer_.MoveTo(-7, 9, 2, 1000);
  layer_.FadeTo(100, 0);
  layer_.Update(250);
  layer_.SetTag("tag");
  layer_.SetUserValue(-3);
  layer_.SetAnchor(1, 2);
  layer_.SetMasks(3, 5);
  layer_.SetHoverWindow({1, 2, 3, 4});
  layer_.WatchMotion("*OnClick", "*label");
  layer_.MouseMove(-1, 12, 34);
  const base::Bytes bytes = test::Saved(layer_);
  ASSERT_EQ(bytes.size(), 1331u);
  EXPECT_EQ(I32At(bytes, 534), 100);  // opacity
  EXPECT_EQ(ShortStringAt(bytes, 546), "ui.b");
  EXPECT_EQ(bytes[890], 4);  // easing
  EXPECT_EQ(ShortStringAt(bytes, 1075), "*label");

  TImageLib copy(context_);
  base::ByteReader in(bytes);
  copy.LoadState(in);
  EXPECT_EQ(test::Saved(copy), bytes);
  EXPECT_EQ(copy.CurrentMotionName(), "Other");
}

TEST_F(ImageLibTest, AShortRecordIsRefusedWithTheLayerUnchanged) {
  TImageLib other(context_);
  ShowLoaded(other, "bare.b");
  const base::Bytes record = test::Saved(other);
  ShowLoaded(layer_, "ui.b");
  const base::Bytes before = test::Saved(layer_);
  base::ByteReader in(test::Shortened(record));
  EXPECT_THROW(layer_.LoadState(in), base::FormatError);
  EXPECT_EQ(test::Saved(layer_), before);
}

TEST_F(ImageLibTest, AMoveWithoutDurationJumpsAndALinearOneIsHalfwayAtHalfTime) {
  layer_.MoveTo(100, 50, 7, 0);
  EXPECT_EQ(layer_.State().at, (Place{100, 50, 7}));
  layer_.MoveTo(1100, 150, 17, 1000);
  layer_.Update(500);
  EXPECT_EQ(layer_.State().at, (Place{600, 100, 12}));
  layer_.Update(500);
  EXPECT_EQ(layer_.State().at, (Place{1100, 150, 17}));
}

// From 0 to 1024 over 1024 ms, so that the progress p is the time; the weight
// is round(p^2.4 / 16384): 2^5.2 = 36.8 for p = 256, 2^7.6 = 194.01 for 512.
TEST_F(ImageLibTest, EasedMovesWeighTheProgressByItsPowerTwoPointFour) {
  struct Step {
    int32_t ms;
    int32_t x;
  };
  const std::vector<std::pair<uint8_t, std::vector<Step>>> easings = {
      {4, {{256, 37}, {256, 194}}},
      {3, {{512, 1024 - 194}, {256, 1024 - 37}}},
      {0, {{1023, 0}, {1, 1024}}},
  };
  for (const auto& [easing, steps] : easings) {
    layer_.MoveTo(0, 0, 0, 0);
    layer_.SetEasing(easing);
    layer_.MoveTo(1024, 0, 0, 1024);
    for (const Step& step : steps) {
      layer_.Update(step.ms);
      EXPECT_EQ(layer_.State().at.x, step.x) << "easing " << int{easing};
    }
  }
  // A damaged record's clock before the start stays at the start.
  for (uint8_t easing : {1, 3, 4}) EXPECT_EQ(Ease(easing, 100, 1124, -4096), 100);
}

TEST_F(ImageLibTest, FadesAreLinear) {
  layer_.FadeTo(0, 1000);
  layer_.Update(250);  // p = 1024 - 750 x 1024 / 1000 = 256: 255 x 768 >> 10
  EXPECT_EQ(layer_.Opacity(), 191);
  layer_.FadeTo(255, 0);
  EXPECT_EQ(layer_.Opacity(), 255);
}

TEST_F(ImageLibTest, ACentredLayerIsPlacedAndHitFromHalfItsWidthLeft) {
  layer_.SetAnchor(TImageLib::kAnchorCentre, TImageLib::kAnchorStart);
  layer_.MoveTo(400, 0, 0, 0);
  ShowLoaded(layer_, "wide.png", {0, 0, 200, 100});
  EXPECT_TRUE(layer_.HitTest(300, 50));
  EXPECT_TRUE(layer_.HitTest(499, 99));
  EXPECT_FALSE(layer_.HitTest(299, 50));
  EXPECT_FALSE(layer_.HitTest(500, 50));

  layer_.Post(-1, 0, 0);
  compositor_.Render(true);
  const TARGB8888& picture = *layer_.Animation().Image();
  EXPECT_EQ(canvas_.Pixel(300, 0), picture.Pixel(0, 0));
  EXPECT_EQ(canvas_.Pixel(499, 99), picture.Pixel(199, 99));
  EXPECT_EQ(canvas_.Pixel(299, 0), 0u);
}

TEST_F(ImageLibTest, HitTestsUseTheMoveTargetNotThePosition) {
  ShowLoaded(layer_, "ui.b");
  layer_.MoveTo(400, 0, 0, 1000);
  layer_.Update(0);
  EXPECT_EQ(layer_.State().at.x, 0);
  EXPECT_TRUE(layer_.HitTest(405, 5));
  EXPECT_FALSE(layer_.HitTest(5, 5));
}

TEST_F(ImageLibTest, TheLayersOwnRectangleIsIgnoredAsTheThirtySecond) {
  ShowLoaded(layer_, "hits.b");
  EXPECT_TRUE(layer_.HitTest(5, 20 * 31 + 5));
  EXPECT_FALSE(layer_.HitTest(5, 5));
}

TEST_F(ImageLibTest, EnablePlaysEnableOnceAndDisablePlaysDisableWhileStayingVisible) {
  ASSERT_TRUE(layer_.LoadFile("ui.b", {}, false));
  layer_.Enable();
  EXPECT_EQ(layer_.CurrentMotionName(), "*Enable");
  EXPECT_TRUE(layer_.Shown());
  layer_.PlayMotion("Other", false);
  layer_.Enable();
  EXPECT_EQ(layer_.CurrentMotionName(), "Other");
  layer_.Disable();
  EXPECT_EQ(layer_.CurrentMotionName(), "*Disable");
  EXPECT_TRUE(layer_.Shown());
  EXPECT_FALSE(layer_.Enabled());
}

TEST_F(ImageLibTest, DisableHidesALayerWithoutADisableMotion) {
  ShowLoaded(layer_, "bare.b");
  layer_.Disable();
  EXPECT_FALSE(layer_.Shown());
  EXPECT_FALSE(layer_.Enabled());
  EXPECT_EQ(layer_.CurrentMotionName(), "Idle");
}

TEST_F(ImageLibTest, HoverPlaysOnMouseAndOffMouseWithTheCallbacks) {
  int enters = 0;
  int leaves = 0;
  layer_.onMouseEnter = [&] { ++enters; };
  layer_.onMouseLeave = [&] { ++leaves; };
  ShowLoaded(layer_, "ui.b");
  layer_.MouseMove(-1, 5, 5);
  layer_.MouseMove(-1, 6, 6);
  EXPECT_EQ(layer_.CurrentMotionName(), "*OnMouse");
  EXPECT_EQ(enters, 1);
  layer_.MouseMove(-1, 50, 50);
  EXPECT_EQ(layer_.CurrentMotionName(), "*OffMouse");
  EXPECT_EQ(leaves, 1);
  layer_.SetMasks(2, -1);
  layer_.MouseMove(1, 5, 5);
  EXPECT_EQ(layer_.CurrentMotionName(), "*OffMouse");
  EXPECT_EQ(enters, 1);
}

TEST_F(ImageLibTest, PlayMotionHidesALayerThatIsNotEnabled) {
  ShowLoaded(layer_, "ui.b");
  layer_.PlayMotion("Other", false);
  EXPECT_TRUE(layer_.Shown());
  layer_.Disable();
  layer_.PlayMotion("Idle", false);
  EXPECT_FALSE(layer_.Shown());
  EXPECT_EQ(layer_.CurrentMotionName(), "Idle");
  layer_.PlayMotion("missing", false);
  EXPECT_EQ(layer_.CurrentMotionName(), "Idle");
}

TEST_F(ImageLibTest, TheWatchedMotionCallsBackOnceWithItsLabel) {
  std::vector<std::string> labels;
  layer_.onWatchedMotion = [&](const std::string& label) { labels.push_back(label); };
  ShowLoaded(layer_, "ui.b");
  layer_.WatchMotion("other", "*done");
  layer_.PlayMotion("Other", false);
  layer_.Update(10);
  layer_.Update(10);
  EXPECT_EQ(labels, std::vector<std::string>{"*done"});
}

TEST_F(ImageLibTest, DeferredRequestsAreOnlyRecordedThenCarriedOutInOrder) {
  context_.deferring = true;
  layer_.LoadFile("ui.b", {}, false);
  layer_.Show();
  layer_.PlayMotionAt(1, false);
  EXPECT_FALSE(layer_.Loaded());
  EXPECT_FALSE(layer_.Shown());
  context_.deferring = false;
  layer_.CarryOutDeferred();
  EXPECT_TRUE(layer_.Enabled());
  // Enabling played "*Enable" before the recorded motion.
  EXPECT_EQ(layer_.CurrentMotionIndex(), 1);

  context_.deferring = true;
  layer_.PlayMotion("*OffMouse", false);
  layer_.Hide();
  context_.deferring = false;
  layer_.CarryOutDeferred();
  EXPECT_FALSE(layer_.Shown());
  EXPECT_EQ(layer_.CurrentMotionName(), "*OffMouse");

  // The load is forced: the same file again starts at its first motion.
  context_.deferring = true;
  layer_.LoadFile("ui.b", {}, false);
  context_.deferring = false;
  layer_.CarryOutDeferred();
  EXPECT_EQ(layer_.CurrentMotionIndex(), 0);
}

}  // namespace
}  // namespace mavu::imaging
