#include "imaging/animation/animation_bmp.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/byte_writer.h"
#include "imaging/animation/animation_file.h"
#include "imaging/argb8888_cell_draw.h"
#include "resource/random_table.h"
#include "test_images.h"

namespace mavu::imaging {
namespace {

constexpr auto kHitArea = static_cast<uint8_t>(KeyDrawType::kHitArea);

uint8_t Act(KeyAction action) {
  return static_cast<uint8_t>(action);
}

// A motion whose layer 1 is a 10 x 10 hit area: the hit stack shows where it is.
AnimationMotion HitMotion(std::string name = "m") {
  AnimationMotion motion = AnimationMotion::Fresh();
  motion.name = std::move(name);
  for (AnimationKey& key : motion.layers[1].keys) {
    key.destination = {0, 0, 10, 10, 0};
    key.drawType = kHitArea;
  }
  return motion;
}

// Records what the keys ask of the sound system.
class FakeSound : public base::SoundPlayer {
 public:
  std::shared_ptr<const base::Bytes> Decode(std::span<const uint8_t> file) override {
    return std::make_shared<const base::Bytes>(file.begin(), file.end());
  }
  void PlayDecoded(int32_t channel, std::shared_ptr<const base::Bytes> sound,
                   int32_t volume) override {
    played.push_back({channel, sound->size(), volume});
  }
  int32_t ChannelLevel(int32_t) const override { return level; }
  void FadeOutSpeakerVoices(std::string_view, int32_t) override {}

  struct Play {
    int32_t channel;
    size_t bytes;
    int32_t volume;
    bool operator==(const Play&) const = default;
  };
  std::vector<Play> played;
  int32_t level = 0;
};

class AnimationBmpTest : public ::testing::Test {
 protected:
  bool Load(const AnimationFile& file, std::string name = "t.b") {
    bytes_ = WriteAnimationFile(file);
    base::ByteReader in(bytes_);
    return anim_.Load(in, name);
  }
  bool Load(std::vector<AnimationMotion> motions) {
    AnimationFile file;
    file.motions = std::move(motions);
    return Load(file);
  }
  int32_t Clock(int layer) { return anim_.LayerClocks()[static_cast<size_t>(layer)]; }
  THitStack::Entry Hit() {
    EXPECT_EQ(anim_.HitStack().Count(), 1);
    return anim_.HitStack().At(0);
  }

  base::Bytes bytes_;
  FakeSound sound_;
  TAnimationBmp anim_{&sound_};
};

TEST_F(AnimationBmpTest, AdvanceRunsInSlicesOfFiftyMilliseconds) {
  AnimationMotion motion = HitMotion();
  AnimationKey& back = motion.layers[1].keys[1];
  back.time = 60;
  back.action = Act(KeyAction::kJump);
  ASSERT_TRUE(Load({motion}));
  // 50: key 0; 100: key 1 jumps to 40; 120: key 1 again, jumps to 0.
  anim_.Advance(120);
  EXPECT_EQ(Clock(1), 0);
  EXPECT_EQ(Clock(0), 120);
}

TEST_F(AnimationBmpTest, AStillLoopsAndAClockStopsAtItsLastKey) {
  AnimationMotion motion = HitMotion();
  motion.layers[1].keys[1].action = Act(KeyAction::kJump);
  ASSERT_TRUE(Load({motion}));
  anim_.Advance(1020);
  EXPECT_EQ(Clock(1), 20);
  EXPECT_FALSE(anim_.IsFinished());
  anim_.Advance(40000);
  EXPECT_EQ(Clock(0), 31000);
  EXPECT_EQ(Clock(2), 31000);
}

TEST_F(AnimationBmpTest, IsFinishedWhenEveryLayerReachedItsLastKey) {
  ASSERT_TRUE(Load({HitMotion()}));
  anim_.Advance(30990);
  EXPECT_FALSE(anim_.IsFinished());
  anim_.Advance(10);
  EXPECT_TRUE(anim_.IsFinished());
}

TEST_F(AnimationBmpTest, StartMarksWaitsAndEnd) {
  AnimationMotion motion = HitMotion();
  motion.layers[1].keys[3].action = Act(KeyAction::kStartMark);
  motion.layers[2].keys[0].action = Act(KeyAction::kWaitSeconds);
  motion.layers[2].keys[0].argument = 2;
  motion.layers[3].keys[0].action = Act(KeyAction::kWaitHundredths);
  motion.layers[3].keys[0].argument = 5;
  motion.layers[0].keys[5].action = Act(KeyAction::kEnd);
  ASSERT_TRUE(Load({motion}));
  EXPECT_EQ(Clock(1), 3000);
  // Key 0 is entered in the first slice, after the clock moved: its wait
  // holds the clock from there.
  anim_.Advance(100);
  EXPECT_EQ(Clock(2), 50);
  EXPECT_EQ(Clock(3), 50);
  anim_.Advance(2000);
  EXPECT_EQ(Clock(2), 100);
  EXPECT_EQ(Clock(3), 2050);
  anim_.Advance(5000);
  EXPECT_TRUE(anim_.IsFinished());
}

TEST_F(AnimationBmpTest, RandomWaitsDrawFromTheRandomTable) {
  base::ByteWriter values;
  for (uint32_t v = 0; v < 1024; ++v) values.U32(1234 + v);
  ASSERT_TRUE(resource::TheRandomTable().Load(values.Take()));
  AnimationMotion motion = HitMotion();
  motion.layers[1].keys[0].action = Act(KeyAction::kRandomWaitSeconds);
  motion.layers[1].keys[0].argument = 1;  // 0 .. 999 ms
  motion.layers[2].keys[0].action = Act(KeyAction::kRandomWaitHundredths);
  motion.layers[2].keys[0].argument = 10;  // 0 .. 99 ms
  ASSERT_TRUE(Load({motion}));
  anim_.Advance(50);
  // The first draws take entries 1 and 2: 1235 mod 1000, 1236 mod 100.
  EXPECT_EQ(anim_.LayerWaits()[1], 235);
  EXPECT_EQ(anim_.LayerWaits()[2], 36);
  ASSERT_TRUE(resource::TheRandomTable().Load(base::Bytes(4096, 0)));
}

TEST_F(AnimationBmpTest, SoundKeysPlayAndFollowTheChannelLevel) {
  AnimationMotion motion = HitMotion();
  AnimationKey& loop = motion.layers[1].keys[1];
  loop.action = Act(KeyAction::kJumpWhileSounding);
  motion.layers[2].keys[1].action = Act(KeyAction::kPlaySound);
  motion.layers[2].keys[1].argument = 1;
  AnimationFile file;
  file.motions = {motion};
  file.sounds = {{"a", base::Bytes(3, 1)}, {"b", base::Bytes(5, 2)}};
  ASSERT_TRUE(Load(file));
  anim_.SetPlayChannel(4);
  anim_.SetVolume(200);
  sound_.level = 33;
  anim_.Advance(1050);
  EXPECT_EQ(Clock(1), 50);  // the level is above 32: back to key 0
  EXPECT_EQ(sound_.played, (std::vector<FakeSound::Play>{{4, 5, 200}}));
  sound_.level = 32;
  anim_.Advance(1000);
  EXPECT_EQ(Clock(1), 1050);
}

TEST_F(AnimationBmpTest, SwitchingMotionKeepsTheTimePastTheKey) {
  AnimationMotion first = HitMotion("first");
  first.layers[0].keys[1].action = Act(KeyAction::kSwitchMotion);
  first.layers[0].keys[1].argument = 1;
  AnimationMotion second = HitMotion("second");
  second.layers[1].keys[2].action = Act(KeyAction::kStartMark);
  ASSERT_TRUE(Load({first, second}));
  anim_.Advance(1020);  // the switch at 1000 in the slice ending at 1020
  EXPECT_EQ(anim_.CurrentMotion(), 1);
  EXPECT_EQ(Clock(0), 20);
  EXPECT_EQ(Clock(1), 2020);
  EXPECT_EQ(anim_.FindMotion("SECOND"), 1);
  EXPECT_EQ(anim_.FindMotion("third"), -1);
}

TEST_F(AnimationBmpTest, LaterLayersArePlacedRelativeToTheFirst) {
  AnimationMotion motion = HitMotion();
  motion.layers[0].keys[0].destination = {10, 20, 0, 0, 5};
  AnimationKey& moving = motion.layers[1].keys[0];
  moving.destinationMode = 1;
  motion.layers[1].keys[1].destination = {100, 0, 110, 10, 0};
  ASSERT_TRUE(Load({motion}));
  anim_.Advance(0);
  EXPECT_EQ(Hit().left, 10);
  EXPECT_EQ(Hit().top, 20);
  EXPECT_EQ(Hit().priority, 5);
  anim_.Advance(500);  // u = 500 x 1023 / 1000 = 511: t = 511 / 1024
  EXPECT_EQ(Hit().left, 10 + static_cast<int>(100.0 * 511 / 1024));
  EXPECT_EQ(Hit().right, 20 + static_cast<int>(100.0 * 511 / 1024));
}

TEST_F(AnimationBmpTest, AThirtySecondHitAreaIsIgnored) {
  AnimationMotion motion = HitMotion();
  motion.layers.resize(AnimationMotion::kMaxLayers, motion.layers[1]);
  ASSERT_TRUE(Load({motion}));
  anim_.Advance(0);
  EXPECT_EQ(anim_.HitStack().Count(), THitStack::kCapacity);
}

// The opacity a fill reaches on black, read back from a rendered canvas.
int RenderedBlue(TAnimationBmp& anim, int opacity, int messageOpacity) {
  TARGB8888 canvas;
  canvas.SetSize(4, 4);
  TARGB8888CellDraw compositor;
  compositor.SetCanvas(canvas);
  compositor.SetBackground(0xFF000000);
  anim.Post(compositor, 0, 0, 0, opacity, messageOpacity);
  compositor.Render(true);
  return static_cast<int>(canvas.Pixel(1, 1) & 0xFF);
}

TEST_F(AnimationBmpTest, MessageLayersFollowTheWindowOpacitySetting) {
  AnimationMotion motion = AnimationMotion::Fresh();
  AnimationKey& fill = motion.layers[1].keys[0];
  fill.destination = {0, 0, 4, 4, 0};
  fill.colour = 0xFF0000FF;
  fill.drawType = static_cast<uint8_t>(KeyDrawType::kFillBlend);
  motion.layers[1].name = "*MESSAGE";
  ASSERT_TRUE(Load({motion}));
  EXPECT_NEAR(RenderedBlue(anim_, 255, 128), 128, 1);
  EXPECT_NEAR(RenderedBlue(anim_, 128, 255), 128, 1);
  motion.layers[1].name = "plain";
  ASSERT_TRUE(Load({motion}));
  EXPECT_EQ(RenderedBlue(anim_, 255, 128), 255);
}

TEST_F(AnimationBmpTest, APlainPictureBecomesALoopingStill) {
  const base::Bytes png = test::EncodePng(test::Gradient(6, 4, false), false);
  base::ByteReader in(png);
  ASSERT_TRUE(anim_.Load(in, "still.png"));
  ASSERT_NE(anim_.Image(), nullptr);
  const AnimationKey& show = anim_.Motion(0).layers[1].keys[0];
  EXPECT_EQ(show.source, (std::array<int16_t, 4>{0, 0, 6, 4}));
  EXPECT_EQ(show.drawType, static_cast<uint8_t>(KeyDrawType::kCopy));
  anim_.Advance(5000);
  EXPECT_LT(Clock(1), 1000);
}

TEST_F(AnimationBmpTest, UnreadableFilesLeaveTheObjectReset) {
  const base::Bytes junk = {'A', 'B', 'M', 'P', '9', 0, 0, 0, 1, 0, 0, 0};
  base::ByteReader in(junk);
  EXPECT_FALSE(anim_.Load(in, "x.b"));
  EXPECT_EQ(anim_.MotionCount(), 1);
  EXPECT_EQ(anim_.Image(), nullptr);
  base::ByteReader text(junk);
  EXPECT_FALSE(anim_.Load(text, "x.txt"));
}

TEST_F(AnimationBmpTest, ASolidColourFillsItsRectangle) {
  anim_.SetSolidColour({0, 0, 4, 4}, 0xFF0000FF);
  anim_.Advance(5000);
  EXPECT_EQ(RenderedBlue(anim_, 255, 255), 255);
}

TEST_F(AnimationBmpTest, AReplacedPictureOfAnotherSizeScalesTheSources) {
  AnimationMotion motion = HitMotion();
  motion.layers[1].keys[0].source = {2, 2, 4, 4};
  motion.layers[1].keys[0].destination = {0, 0, 10, 20, 0};
  AnimationFile file;
  file.motions = {motion};
  file.hasImage = true;
  file.imageFormat = static_cast<uint8_t>(EmbeddedImageFormat::kPng);
  file.image = test::EncodePng(test::Gradient(4, 4, false), false);
  ASSERT_TRUE(Load(file, "scale.b"));
  const base::Bytes bigger = test::EncodePng(test::Gradient(8, 2, false), false);
  base::ByteReader in(bigger);
  ASSERT_TRUE(anim_.ReplaceImage(in, "bigger.png"));
  const AnimationKey& key = anim_.Motion(0).layers[1].keys[0];
  EXPECT_EQ(key.source, (std::array<int16_t, 4>{4, 1, 8, 2}));
  EXPECT_EQ(key.destination, (std::array<int16_t, 5>{0, 0, 20, 10, 0}));
  EXPECT_EQ(anim_.Image()->Width(), 8);
}

}  // namespace
}  // namespace mavu::imaging
