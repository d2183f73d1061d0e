#include "imaging/key_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace mavu::imaging::detail {
namespace {

std::vector<int64_t> SortedKeys(const std::vector<int64_t>& keys) {
  std::vector<uint16_t> order(keys.size());
  std::iota(order.begin(), order.end(), uint16_t{0});
  SortByKey(order, keys);
  std::vector<uint16_t> seen = order;
  std::sort(seen.begin(), seen.end());
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], i) << "indices lost or doubled";
  std::vector<int64_t> out;
  for (uint16_t i : order) out.push_back(keys[i]);
  return out;
}

void ExpectSorts(const std::vector<int64_t>& keys) {
  std::vector<int64_t> expected = keys;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(SortedKeys(keys), expected) << "size " << keys.size();
}

TEST(KeySort, SortsRandomKeysOfEverySizeAroundTheCutOver) {
  std::mt19937 rng(7);
  for (size_t size : {0, 1, 2, 3, 63, 64, 65, 66, 129, 500, 1025}) {
    std::vector<int64_t> keys(size);
    for (auto& k : keys) k = static_cast<int64_t>(rng()) - (int64_t{1} << 31);
    ExpectSorts(keys);
  }
}

TEST(KeySort, SortsAscendingDescendingAndOrganPipeRuns) {
  std::vector<int64_t> up(1025), down(1025), pipe(1025);
  for (int i = 0; i < 1025; ++i) {
    up[i] = i * 1024;
    down[i] = (1025 - i) * 1024;
    pipe[i] = std::min(i, 1025 - i);
  }
  ExpectSorts(up);
  ExpectSorts(down);
  ExpectSorts(pipe);
}

TEST(KeySort, SortsRunsOfEqualKeys) {
  ExpectSorts(std::vector<int64_t>(700, 42));
  std::vector<int64_t> few(900);
  for (size_t i = 0; i < few.size(); ++i) few[i] = static_cast<int64_t>((i * 7919) % 3) - 1;
  ExpectSorts(few);
}

TEST(KeySort, HandlesTheExtremesOfTheKeyRange) {
  std::vector<int64_t> keys;
  for (int i = 0; i < 100; ++i) {
    keys.push_back(i % 2 ? INT64_MIN + i : INT64_MAX - i);
  }
  ExpectSorts(keys);
}

}  // namespace
}  // namespace mavu::imaging::detail
