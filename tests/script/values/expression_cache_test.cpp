#include "script/values/expression_cache.h"

#include <gtest/gtest.h>

namespace mavu::script {
namespace {

TEST(ExpressionCache, CompilesATextOnceAndSharesTheResult) {
  ExpressionCache cache(4);
  auto first = cache.Get("a+1");
  auto second = cache.Get("a+1");
  EXPECT_EQ(first.get(), second.get());
  EXPECT_EQ(first->postfix.size(), 3u);
  EXPECT_EQ(cache.Size(), 1u);
}

TEST(ExpressionCache, StartsAgainWhenFullAndKeepsHandedOutEntriesAlive) {
  ExpressionCache cache(2);
  auto kept = cache.Get("1");
  cache.Get("2");
  cache.Get("3");
  EXPECT_EQ(cache.Size(), 1u);
  EXPECT_EQ(kept->operands.at(0).literal.integer, 1);
  EXPECT_NE(cache.Get("1").get(), kept.get());
}

TEST(ExpressionCache, KeepsNothingWithoutCapacityOrForLongTexts) {
  ExpressionCache none(0);
  EXPECT_NE(none.Get("x").get(), none.Get("x").get());
  EXPECT_EQ(none.Size(), 0u);
  ExpressionCache cache;
  std::string longText(ExpressionCache::kMaxKeptText + 1, '1');
  cache.Get(longText);
  EXPECT_EQ(cache.Size(), 0u);
}

}  // namespace
}  // namespace mavu::script
