#include <gtest/gtest.h>

#include "imaging/animation/animation_bmp.h"
#include "imaging/animation/argb8888_manager.h"
#include "test_images.h"

namespace mavu::imaging {
namespace {

class CacheTest : public ::testing::Test {
 protected:
  std::shared_ptr<TARGB8888> Acquire(std::string_view name) {
    base::ByteReader in(png_);
    return cache_.Acquire(in, png_.size(), name);
  }

  base::Bytes png_ = test::EncodePng(test::Gradient(4, 4, true), true);
  TARGB8888Manager cache_;
};

TEST_F(CacheTest, ObjectsLoadingOneFileShareOnePicture) {
  TAnimationBmp a;
  TAnimationBmp b;
  base::ByteReader first(png_);
  base::ByteReader second(png_);
  ASSERT_TRUE(a.Load(first, "Shared.PNG"));
  ASSERT_TRUE(b.Load(second, "shared.png"));
  EXPECT_EQ(a.Image(), b.Image());
  EXPECT_TRUE(second.AtEnd());
}

TEST_F(CacheTest, AnUnheldEntrySurvivesFortyEightOperations) {
  std::shared_ptr<TARGB8888> other = Acquire("other.png");
  std::shared_ptr<TARGB8888> held = Acquire("a.png");
  cache_.Release(held.get());
  for (int i = 0; i < 47; ++i) cache_.Lookup("other.png");
  EXPECT_TRUE(cache_.Holds("A.png"));
  cache_.SetCapacity(cache_.Capacity());
  EXPECT_FALSE(cache_.Holds("a.png"));
}

TEST_F(CacheTest, UnheldEntriesStayBelowTheCapacityLowestScoreFirst) {
  constexpr size_t kPicture = 4 * 4 * 4;
  std::shared_ptr<TARGB8888> a = Acquire("a.png");
  Acquire("a.png");  // a second hit: a scores higher
  std::shared_ptr<TARGB8888> b = Acquire("b.png");
  cache_.Release(a.get());
  cache_.Release(a.get());
  cache_.Release(b.get());
  cache_.SetCapacity(2 * kPicture);
  EXPECT_TRUE(cache_.Holds("a.png"));
  EXPECT_FALSE(cache_.Holds("b.png"));
  std::shared_ptr<TARGB8888> held = Acquire("c.png");
  cache_.SetCapacity(0);
  EXPECT_TRUE(cache_.Holds("c.png"));  // held entries never go
  EXPECT_FALSE(cache_.Holds("a.png"));
}

TEST_F(CacheTest, BytesThatDoNotDecodeBuildNothingAndAreSkipped) {
  const base::Bytes junk(10, 7);
  base::ByteReader in(junk);
  EXPECT_EQ(cache_.Acquire(in, 6, "j.png"), nullptr);
  EXPECT_EQ(in.Position(), 6u);
  EXPECT_FALSE(cache_.Holds("j.png"));
}

}  // namespace
}  // namespace mavu::imaging
