#include "resource/string_cache.h"

#include <gtest/gtest.h>

#include <string>

namespace mavu::resource {
namespace {

TEST(KeySum, WeighsEachByteByItsPositionModulo256) {
  EXPECT_EQ(KeySum(""), 0u);
  EXPECT_EQ(KeySum("ab"), 97u * 1 + 98u * 2);
  EXPECT_EQ(KeySum("\xff\x80"), 255u * 1 + 128u * 2);
  // The 256th byte weighs 0, the 257th weighs 1 again.
  std::string key(255, '\0');
  key += "\x7f\x05";
  EXPECT_EQ(KeySum(key), 5u);
}

TEST(TStringCache, GetsWhatWasPutAndTheDefaultOtherwise) {
  TStringCache cache(4);
  cache.Put("a", 10);
  cache.Put("b", 20);
  EXPECT_EQ(cache.Get("a", 0), 10u);
  EXPECT_EQ(cache.Get("b", 0), 20u);
  EXPECT_EQ(cache.Get("c", 99), 99u);
  EXPECT_EQ(cache.Find("b"), 20u);
  EXPECT_FALSE(cache.Find("c").has_value());
  EXPECT_TRUE(cache.Contains("a"));
  EXPECT_FALSE(cache.Contains("A"));
}

TEST(TStringCache, PutOfACachedKeyOverwritesItsSlotWithoutAdvancing) {
  TStringCache cache(2);
  cache.Put("a", 1);
  cache.Put("a", 2);
  cache.Put("b", 3);
  // Had the second put taken a slot, "a" would now be gone.
  EXPECT_EQ(cache.Get("a", 0), 2u);
  EXPECT_EQ(cache.Get("b", 0), 3u);
}

TEST(TStringCache, RingReplacesTheOldestSlot) {
  TStringCache cache(3);
  cache.Put("a", 1);
  cache.Put("b", 2);
  cache.Put("c", 3);
  cache.Put("d", 4);
  EXPECT_FALSE(cache.Contains("a"));
  EXPECT_EQ(cache.Get("d", 0), 4u);
  cache.Put("e", 5);
  EXPECT_FALSE(cache.Contains("b"));
  EXPECT_TRUE(cache.Contains("c"));
}

TEST(TStringCache, KeysWithTheSameSumAreToldApartByText) {
  // "ca" and "ab"... 99+2*97 = 293 = 97+2*98.
  ASSERT_EQ(KeySum("ca"), KeySum("ab"));
  TStringCache cache(4);
  cache.Put("ab", 1);
  cache.Put("ca", 2);
  EXPECT_EQ(cache.Get("ab", 0), 1u);
  EXPECT_EQ(cache.Get("ca", 0), 2u);
}

TEST(TStringCache, RemoveAndClearEmptySlots) {
  TStringCache cache(4);
  cache.Put("a", 1);
  cache.Put("b", 2);
  cache.Remove("a");
  cache.Remove("zzz");
  EXPECT_FALSE(cache.Contains("a"));
  EXPECT_TRUE(cache.Contains("b"));
  cache.Clear();
  EXPECT_FALSE(cache.Contains("b"));
}

TEST(TStringCache, WithoutSlotsCachesNothing) {
  TStringCache cache(0);
  cache.Put("a", 1);
  EXPECT_FALSE(cache.Contains("a"));
}

}  // namespace
}  // namespace mavu::resource
