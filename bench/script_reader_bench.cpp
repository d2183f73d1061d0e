#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp932.h"
#include "resource/data_tree.h"
#include "resource/pack_builder.h"
#include "script/reader/kel_reader.h"
#include "script/reader/replacement_table.h"
#include "script/reader/word_buf.h"
#include "script/regex/bregexp.h"

namespace {

using mavu::script::TKelReader;
using mavu::script::TWordBuf;

constexpr int kLines = 100000;
constexpr int kTableEntries = 64;
constexpr const char* kScript = "bench.s";

// One line of a typical scenario script; every fifth kind of line repeats.
std::string ScriptLine(int i, const std::string& speech, const std::string& narration) {
  if (i % 50 == 0) return "@@Scene" + std::to_string(i / 50);
  switch (i % 5) {
    case 1:
      return "\\mes,\"" + speech + "\"\\wait,100";
    case 2:
      return narration + " %word" + std::to_string(i % kTableEntries) + "%";
    case 3:
      return "\\set,x[" + std::to_string(i % 7) + "],y+1\\if{x>3}{\\jmp,@@Scene0}";
    case 4:
      return "\\bg,\"bg" + std::to_string(i) + ".png\",0,0 // background";
    default:
      return "";
  }
}

// The script, packed and mounted once in the process-wide data tree.
class BenchGame {
 public:
  BenchGame() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mavu-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    root_ = pattern;
    std::string speech = mavu::base::Utf8ToCp932("ソ表ボマ、能力の表示です。");
    std::string narration = mavu::base::Utf8ToCp932("静かな夜だった。");
    for (int i = 0; i < kLines; ++i) {
      std::string line = ScriptLine(i, speech, narration);
      lines_.push_back(line);
      text_ += line + "\r\n";
    }
    mavu::resource::PackBuilder builder;
    builder.Add(kScript, std::span(reinterpret_cast<const uint8_t*>(text_.data()), text_.size()));
    std::filesystem::create_directories(root_ / "GameData");
    if (!builder.WriteFiles(root_ / "GameData" / "data0")) throw std::runtime_error("cannot write");
    auto& tree = mavu::resource::TheDataTree();
    tree.SetProgramDirectory(root_);
    if (tree.MountDataPacks("GameData\\") != 1) throw std::runtime_error("cannot mount");
  }
  ~BenchGame() {
    mavu::resource::TheDataTree().UnmountDataPacks();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::filesystem::path root_;
  std::string text_;
  std::vector<std::string> lines_;
};

BenchGame& Game() {
  static BenchGame game;
  return game;
}

void FillTable(TKelReader& reader) {
  for (int k = 0; k < kTableEntries; ++k) {
    reader.AddReplacement("%word" + std::to_string(k) + "%", "<" + std::to_string(k) + ">",
                          mavu::script::kReplaceText);
  }
}

// Reads the whole script command by command, splitting each into words.
int64_t ReadThrough(TKelReader& reader) {
  reader.GotoLine(0, 0);
  TWordBuf words;
  int64_t commands = 0;
  while (true) {
    std::string command = reader.ReadCommand();
    if (command.empty() && reader.CurrentLine() >= kLines) return commands;
    mavu::script::SplitWords(words, command, ',');
    benchmark::DoNotOptimize(words.count);
    ++commands;
  }
}

void BM_LoadScript(benchmark::State& state) {
  Game();
  TKelReader reader;
  for (auto _ : state) benchmark::DoNotOptimize(reader.OpenScript(kScript, true));
  state.SetItemsProcessed(state.iterations() * kLines);
  state.SetLabel("items = lines");
}
BENCHMARK(BM_LoadScript)->Unit(benchmark::kMillisecond);

void ReadCommands(benchmark::State& state, bool withTable) {
  Game();
  TKelReader reader;
  if (withTable) FillTable(reader);
  reader.SetTextLinePrefix("\\mes,");
  reader.OpenScript(kScript, true);
  int64_t commands = 0;
  for (auto _ : state) commands += ReadThrough(reader);
  state.SetItemsProcessed(commands);
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kLines,
                                                 benchmark::Counter::kIsRate);
  state.SetLabel("items = commands");
}

void BM_ReadCommandSplitWords(benchmark::State& state) {
  ReadCommands(state, false);
}
BENCHMARK(BM_ReadCommandSplitWords)->Unit(benchmark::kMillisecond);

void BM_ReadCommandSplitWords_Table64(benchmark::State& state) {
  ReadCommands(state, true);
}
BENCHMARK(BM_ReadCommandSplitWords_Table64)->Unit(benchmark::kMillisecond);

// The table on its own: 64 mode-0 entries applied to every line.
void BM_ReplacementTable64(benchmark::State& state) {
  TKelReader reader;
  FillTable(reader);
  mavu::script::TBRegExp regExp;
  const auto& lines = Game().Lines();
  for (auto _ : state) {
    for (const auto& line : lines)
      benchmark::DoNotOptimize(reader.Replacements().Apply(line, regExp));
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.SetLabel("items = lines");
}
BENCHMARK(BM_ReplacementTable64)->Unit(benchmark::kMillisecond);

// Peer: the same 64 patterns replaced case-sensitively with std::string::find,
// with no character-boundary or letter-case work.
void BM_PeerStringFindReplace64(benchmark::State& state) {
  std::vector<std::pair<std::string, std::string>> table;
  for (int k = 0; k < kTableEntries; ++k) {
    table.emplace_back("%word" + std::to_string(k) + "%", "<" + std::to_string(k) + ">");
  }
  const auto& lines = Game().Lines();
  for (auto _ : state) {
    for (const auto& line : lines) {
      std::string text = line;
      for (const auto& [pattern, replacement] : table) {
        for (size_t at = text.find(pattern); at != std::string::npos;
             at = text.find(pattern, at + replacement.size())) {
          text.replace(at, pattern.size(), replacement);
        }
      }
      benchmark::DoNotOptimize(text);
    }
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.SetLabel("items = lines");
}
BENCHMARK(BM_PeerStringFindReplace64)->Unit(benchmark::kMillisecond);

// Peer: cutting every line at commas with std::string_view::find, no quotes,
// brackets or two-byte characters considered.
void BM_PeerNaiveCommaSplit(benchmark::State& state) {
  const auto& lines = Game().Lines();
  std::vector<std::string_view> words;
  for (auto _ : state) {
    for (std::string_view line : lines) {
      words.clear();
      for (size_t start = 0;;) {
        size_t comma = line.find(',', start);
        words.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
      benchmark::DoNotOptimize(words.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  state.SetLabel("items = lines");
}
BENCHMARK(BM_PeerNaiveCommaSplit)->Unit(benchmark::kMillisecond);

}  // namespace
