#include "imaging/pixel_kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace mavu::imaging::kernels {
namespace {

std::vector<const Table*> VectorTables() {
  std::vector<const Table*> tables;
  if (const Table* t = Sse2Table()) tables.push_back(t);
  if (const Table* t = Avx2Table()) tables.push_back(t);
  return tables;
}

// Random pixels with plenty of the values the shortcuts and saturation care
// about: alpha 0 and 255, channels 0 and 255, opaque pairs.
std::vector<uint32_t> RandomPixels(std::mt19937& rng, size_t count) {
  std::vector<uint32_t> pixels(count);
  std::uniform_int_distribution<int> pick(0, 7);
  for (size_t i = 0; i < count; ++i) {
    uint32_t p = static_cast<uint32_t>(rng());
    switch (pick(rng)) {
      case 0:
        p |= 0xFF000000u;
        break;
      case 1:
        p &= 0x00FFFFFFu;
        break;
      case 2:
        p = 0;
        break;
      case 3:
        p = 0xFFFFFFFFu;
        break;
      default:
        break;
    }
    pixels[i] = p;
  }
  // Some whole opaque pairs.
  for (size_t i = 0; i + 1 < count; i += 6) {
    pixels[i] |= 0xFF000000u;
    pixels[i + 1] |= 0xFF000000u;
  }
  // Runs of 8 to 16 transparent or opaque pixels, as sprites have, so that
  // whole vector registers take the shortcuts.
  std::uniform_int_distribution<size_t> runLength(8, 16);
  for (size_t i = 0; i < count;) {
    size_t end = std::min(count, i + runLength(rng));
    uint32_t kind = pick(rng) % 3;
    for (; i < end; ++i) {
      if (kind == 0) pixels[i] &= 0x00FFFFFFu;
      if (kind == 1) pixels[i] |= 0xFF000000u;
    }
  }
  return pixels;
}

Params RandomParams(std::mt19937& rng, Op op) {
  std::uniform_int_distribution<int> byte(0, 255);
  Params p;
  p.colour = static_cast<uint32_t>(rng());
  p.threshold = byte(rng) * 288 / 255 - 32;
  for (int c = 0; c < 4; ++c) {
    p.lanes[c] = static_cast<uint16_t>(byte(rng));
    p.lanes2[c] = static_cast<uint16_t>(byte(rng));
  }
  switch (op) {
    case Op::kLerp:
      p.weight = byte(rng) >> 1;
      break;
    case Op::kInvertConst:
      for (auto& l : p.lanes) l >>= 1;
      break;
    case Op::kBlendConst: {
      // As the fill sets it up: the kept and the added part never exceed 255.
      int a = byte(rng);
      for (auto& l : p.lanes) l = static_cast<uint16_t>((l * a) >> 8);
      p.weight = static_cast<uint32_t>(255 - a);
      break;
    }
    case Op::kTint:
      p.lanes[3] = 0;
      [[fallthrough]];
    default:
      p.weight = static_cast<uint32_t>(byte(rng));
      break;
  }
  return p;
}

// Every op, many widths, every alignment of the rows in memory, and both
// in-place and separate output: each vector form gives the scalar's bits.
TEST(PixelKernels, VectorFormsMatchTheScalarReferenceBitForBit) {
  std::mt19937 rng(1234);
  const Table& scalar = ScalarTable();
  auto tables = VectorTables();
  if (tables.empty()) GTEST_SKIP() << "no vector kernels on this processor";
  for (int opIndex = 0; opIndex < kOpCount; ++opIndex) {
    Op op = static_cast<Op>(opIndex);
    for (int round = 0; round < 60; ++round) {
      int pairs = round % 23 + (round % 5 == 0 ? 40 : 0);
      int offset = round % 8;
      size_t n = static_cast<size_t>(pairs) * 2 + 16;
      auto d = RandomPixels(rng, n), s = RandomPixels(rng, n), m = RandomPixels(rng, n);
      Params p = RandomParams(rng, op);
      auto expected = d;
      scalar[op](expected.data() + offset, d.data() + offset, s.data() + offset, m.data() + offset,
                 pairs, p);
      for (const Table* t : tables) {
        auto inPlace = d;
        (*t)[op](inPlace.data() + offset, inPlace.data() + offset, s.data() + offset,
                 m.data() + offset, pairs, p);
        ASSERT_EQ(inPlace, expected) << t->name << " op " << opIndex << " pairs " << pairs;
        auto out = d;
        (*t)[op](out.data() + offset, d.data() + offset, s.data() + offset, m.data() + offset,
                 pairs, p);
        ASSERT_EQ(out, expected) << t->name << " op " << opIndex << " (separate output)";
      }
    }
  }
}

// Exhaustive over the channel values that matter for one formula family:
// each (d, s, weight) triple of a sampled grid, in every lane.
TEST(PixelKernels, VectorFormsMatchOnEveryChannelValue) {
  const Table& scalar = ScalarTable();
  for (const Table* t : VectorTables()) {
    for (Op op : {Op::kLerp, Op::kAddScaled, Op::kMultiply, Op::kExclusion, Op::kAlphaScaled,
                  Op::kRuleWipe}) {
      for (int w : {0, 1, 64, 127, 128, 254, 255}) {
        Params p;
        p.weight = static_cast<uint32_t>(op == Op::kLerp ? w >> 1 : w);
        p.threshold = w * 288 / 255 - 32;
        std::vector<uint32_t> d(256 * 2), s(256 * 2);
        for (int dv = 0; dv < 256; ++dv) {
          for (int sv = 0; sv < 256; ++sv) {
            d[sv * 2] = d[sv * 2 + 1] = 0x01010101u * static_cast<uint32_t>(dv);
            s[sv * 2] = 0x01010101u * static_cast<uint32_t>(sv);
            s[sv * 2 + 1] = 0x01010101u * static_cast<uint32_t>(255 - sv);
          }
          auto expected = d, actual = d;
          scalar[op](expected.data(), d.data(), s.data(), nullptr, 256, p);
          (*t)[op](actual.data(), d.data(), s.data(), nullptr, 256, p);
          ASSERT_EQ(actual, expected) << t->name << " op " << static_cast<int>(op) << " d " << dv;
        }
      }
    }
  }
}

TEST(PixelKernels, ZeroPairsWriteNothing) {
  std::vector<uint32_t> d = {1, 2, 3, 4}, s = {5, 6, 7, 8};
  std::vector<const Table*> all = VectorTables();
  all.push_back(&ScalarTable());
  for (const Table* t : all) {
    for (int opIndex = 0; opIndex < kOpCount; ++opIndex) {
      auto out = d;
      (*t)[static_cast<Op>(opIndex)](out.data(), out.data(), s.data(), s.data(), 0, Params{});
      EXPECT_EQ(out, d) << t->name;
    }
  }
}

TEST(PixelKernels, BestIsTheWidestAvailableForm) {
  const Table& best = Best();
  if (Avx2Table()) {
    EXPECT_EQ(std::string(best.name), "avx2");
  } else if (Sse2Table()) {
    EXPECT_EQ(std::string(best.name), "sse2");
  } else {
    EXPECT_EQ(std::string(best.name), "scalar");
  }
}

}  // namespace
}  // namespace mavu::imaging::kernels
