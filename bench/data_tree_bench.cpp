#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "large_game.h"
#include "resource/data_tree.h"
#include "resource/hash_file_pack.h"

namespace {

using mavu::resource::DataTree;
using mavu::resource::THashFilePack;

constexpr size_t kProbes = 4096;

// The same game folder with and without its .hash index, mounted once for
// all benchmarks.
class Games {
 public:
  Games() : indexed_(1, {}, true), scanned_(1, {}, false) {
    Mount(indexedTree_, indexed_);
    Mount(scannedTree_, scanned_);
    std::mt19937 random(2024);
    std::uniform_int_distribution<size_t> pick(0, LargeGame::kEntries - 1);
    for (size_t i = 0; i < kProbes; ++i) probes_.push_back(LargeGame::EntryName(pick(random)));
  }

  DataTree& Indexed() { return indexedTree_; }
  DataTree& Scanned() { return scannedTree_; }
  const LargeGame& IndexedGame() const { return indexed_; }
  const LargeGame& ScannedGame() const { return scanned_; }
  const std::string& Probe(size_t i) const { return probes_[i % kProbes]; }

 private:
  static void Mount(DataTree& tree, const LargeGame& game) {
    tree.SetProgramDirectory(game.Folder());
    if (tree.MountDataPacks("GameData\\") != 1) throw std::runtime_error("cannot mount");
  }

  LargeGame indexed_;
  LargeGame scanned_;
  DataTree indexedTree_;
  DataTree scannedTree_;
  std::vector<std::string> probes_;
};

Games& TheGames() {
  static Games games;
  return games;
}

void OpenRandomEntries(benchmark::State& state, DataTree& tree) {
  size_t i = 0;
  for (auto _ : state) {
    auto bytes = tree.OpenDataFile(TheGames().Probe(i++));
    if (!bytes) state.SkipWithError("entry not found");
    benchmark::DoNotOptimize(bytes);
  }
}

void BM_OpenDataFile_HashIndex(benchmark::State& state) {
  OpenRandomEntries(state, TheGames().Indexed());
}
BENCHMARK(BM_OpenDataFile_HashIndex);

void BM_OpenDataFile_LinearScan(benchmark::State& state) {
  OpenRandomEntries(state, TheGames().Scanned());
}
BENCHMARK(BM_OpenDataFile_LinearScan);

// The archive look-up alone, without the loose-file probe in front of it.
void OpenRandomEntriesFromPack(benchmark::State& state, const LargeGame& game) {
  THashFilePack pair(game.Folder() / "GameData" / "data0", true);
  size_t i = 0;
  for (auto _ : state) {
    auto bytes = pair.Open(TheGames().Probe(i++));
    if (!bytes) state.SkipWithError("entry not found");
    benchmark::DoNotOptimize(bytes);
  }
}

void BM_PackOpen_HashIndex(benchmark::State& state) {
  OpenRandomEntriesFromPack(state, TheGames().IndexedGame());
}
BENCHMARK(BM_PackOpen_HashIndex);

void BM_PackOpen_LinearScan(benchmark::State& state) {
  OpenRandomEntriesFromPack(state, TheGames().ScannedGame());
}
BENCHMARK(BM_PackOpen_LinearScan);

}  // namespace
