#include "resource/bpe_output.h"

#include <gtest/gtest.h>

#include "resource/bpe.h"

namespace mavu::resource {
namespace {

size_t Usable(BpeOutput& out) {
  return static_cast<size_t>(out.UsableEnd() - out.Begin());
}

TEST(BpeOutput, StartsFromAGuessNotFromTheDeclaredLength) {
  BpeOutput large(kBpeMaxUnpacked, 20);
  EXPECT_EQ(Usable(large), 64u * 1024);
  BpeOutput fromPacked(kBpeMaxUnpacked, 100 * 1024);
  EXPECT_EQ(Usable(fromPacked), 400u * 1024);
  BpeOutput small(10, 100 * 1024);
  EXPECT_EQ(Usable(small), 10u);
}

TEST(BpeOutput, GrowsByDoublingUpToTheDeclaredLength) {
  BpeOutput out(200 * 1024, 0);
  out.Reserve(64 * 1024, 1);
  EXPECT_EQ(Usable(out), 128u * 1024);
  out.Reserve(100 * 1024, 60 * 1024);
  EXPECT_EQ(Usable(out), 200u * 1024);
}

TEST(BpeOutput, RefusesToGrowPastTheDeclaredLength) {
  BpeOutput out(100, 0);
  EXPECT_NO_THROW(out.Reserve(40, 60));
  EXPECT_THROW(out.Reserve(40, 61), base::FormatError);
  EXPECT_THROW(out.Reserve(0, uint64_t{1} << 40), base::FormatError);
}

TEST(BpeOutput, FinishesOnlyAtTheDeclaredLength) {
  BpeOutput shortOfIt(3, 0);
  EXPECT_FALSE(shortOfIt.Finish(2).has_value());
  BpeOutput out(3, 0);
  out.Begin()[0] = 'a';
  out.Begin()[1] = 'b';
  out.Begin()[2] = 'c';
  EXPECT_EQ(out.Finish(3), (base::Bytes{'a', 'b', 'c'}));
}

}  // namespace
}  // namespace mavu::resource
