#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "resource/data_tree.h"
#include "resource/hash_file_pack.h"
#include "resource/pack_builder.h"

namespace {

using mavu::resource::DataTree;
using mavu::resource::THashFilePack;

constexpr size_t kEntries = 65535;
constexpr size_t kProbes = 4096;

std::string EntryName(size_t i) {
  char name[48];
  std::snprintf(name, sizeof name, "Event\\Scene%03zu\\Cg%05zu.png", i / 256, i);
  return name;
}

// Two game folders holding the same pack of 65535 small entries, one with its
// .hash index and one without, built once for all benchmarks.
class Games {
 public:
  Games() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mavu-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    root_ = pattern;
    mavu::resource::PackBuilder builder;
    for (size_t i = 0; i < kEntries; ++i) {
      std::string body = "contents of " + std::to_string(i);
      builder.Add(EntryName(i),
                  std::span(reinterpret_cast<const uint8_t*>(body.data()), body.size()));
    }
    for (const char* game : {"indexed", "scanned"}) {
      std::filesystem::create_directories(root_ / game / "GameData");
      if (!builder.WriteFiles(root_ / game / "GameData" / "data0"))
        throw std::runtime_error("cannot write");
    }
    std::filesystem::remove(root_ / "scanned" / "GameData" / "data0.hash");
    BackDate();
    Mount(indexed_, "indexed");
    Mount(scanned_, "scanned");
    std::mt19937 random(2024);
    std::uniform_int_distribution<size_t> pick(0, kEntries - 1);
    for (size_t i = 0; i < kProbes; ++i) probes_.push_back(EntryName(pick(random)));
  }
  ~Games() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  DataTree& Indexed() { return indexed_; }
  DataTree& Scanned() { return scanned_; }
  const std::filesystem::path& Root() const { return root_; }
  const std::string& Probe(size_t i) const { return probes_[i % kProbes]; }

 private:
  // An installed game's folders are old; fresh ones would be listed again
  // on every look-up for loose files.
  void BackDate() {
    const auto hourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_)) {
      if (entry.is_directory()) std::filesystem::last_write_time(entry.path(), hourAgo);
    }
    std::filesystem::last_write_time(root_, hourAgo);
  }

  void Mount(DataTree& tree, const char* game) {
    tree.SetProgramDirectory(root_ / game);
    if (tree.MountDataPacks("GameData\\") != 1) throw std::runtime_error("cannot mount");
  }

  std::filesystem::path root_;
  DataTree indexed_;
  DataTree scanned_;
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
void OpenRandomEntriesFromPack(benchmark::State& state, const char* game) {
  THashFilePack pair(TheGames().Root() / game / "GameData" / "data0", true);
  size_t i = 0;
  for (auto _ : state) {
    auto bytes = pair.Open(TheGames().Probe(i++));
    if (!bytes) state.SkipWithError("entry not found");
    benchmark::DoNotOptimize(bytes);
  }
}

void BM_PackOpen_HashIndex(benchmark::State& state) {
  OpenRandomEntriesFromPack(state, "indexed");
}
BENCHMARK(BM_PackOpen_HashIndex);

void BM_PackOpen_LinearScan(benchmark::State& state) {
  OpenRandomEntriesFromPack(state, "scanned");
}
BENCHMARK(BM_PackOpen_LinearScan);

}  // namespace
