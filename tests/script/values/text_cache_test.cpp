#include "script/values/text_cache.h"

#include <gtest/gtest.h>

#include <string>

#include "script/values/expression_compiler.h"

namespace mavu::script {
namespace {

using Cache = TextCache<CompiledExpression>;
constexpr size_t kLongest = 8;

TEST(TextCache, WorksATextOutOnceAndSharesTheResult) {
  Cache cache(CompileExpression, 4, kLongest);
  auto first = cache.Get("a+1");
  auto second = cache.Get("a+1");
  EXPECT_EQ(first.get(), second.get());
  EXPECT_EQ(first->postfix.size(), 3u);
  EXPECT_EQ(cache.Size(), 1u);
}

TEST(TextCache, StartsAgainWhenFullAndKeepsHandedOutEntriesAlive) {
  Cache cache(CompileExpression, 2, kLongest);
  auto kept = cache.Get("1");
  cache.Get("2");
  cache.Get("3");
  EXPECT_EQ(cache.Size(), 1u);
  EXPECT_EQ(kept->operands.at(0).literal.integer, 1);
  EXPECT_NE(cache.Get("1").get(), kept.get());
}

TEST(TextCache, KeepsNothingWithoutCapacityOrForLongTexts) {
  Cache none(CompileExpression, 0, kLongest);
  EXPECT_NE(none.Get("x").get(), none.Get("x").get());
  EXPECT_EQ(none.Size(), 0u);
  Cache cache(CompileExpression, 4, kLongest);
  const std::string longText(kLongest + 1, '1');
  EXPECT_EQ(cache.Get(longText)->operands.at(0).text, longText);
  EXPECT_EQ(cache.Size(), 0u);
}

}  // namespace
}  // namespace mavu::script
