#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "script/values/kel_calculation.h"
#include "script/values/value.h"

namespace {

using mavu::script::TKelCalculation;
using mavu::script::TValue;
using mavu::script::VariableScope;
using mavu::script::VariableSpec;

// Typical argument expressions of a game script.
constexpr std::string_view kExpressions[] = {
    "a+b*3",               // arithmetic on two variables
    "(x>=10)&&(y<5)",      // a condition
    "name+\"-san\"",       // string concatenation
    "flags[i,j]+1",        // array element with index expressions
    "count=count+1",       // assignment
    "(a*2+b)/(x-y)%7<<1",  // a longer calculation
};

// The global table as a game has it: the variables above among forty others
// (about as many as the built-in system variables).
void DeclareGameVariables(TKelCalculation& calc) {
  for (int i = 0; i < 40; ++i) {
    calc.DeclareVariable(VariableScope::kGlobal, "int", "filler" + std::to_string(i), 0);
  }
  for (std::string_view name : {"a", "b", "x", "y", "i", "j", "count"}) {
    calc.DeclareVariable(VariableScope::kGlobal, "int", name, 0);
  }
  calc.DeclareVariable(VariableScope::kGlobal, "str", "name", 0);
  calc.DeclareVariable(VariableScope::kGlobal, "int", "flags[16,16]", 0);
  calc.Evaluate("a=7", 0);
  calc.Evaluate("b=5", 0);
  calc.Evaluate("x=12", 0);
  calc.Evaluate("y=3", 0);
  calc.Evaluate("i=2", 0);
  calc.Evaluate("j=9", 0);
  calc.Evaluate("name=\"Aoi\"", 0);
}

void Evaluate(benchmark::State& state, size_t cacheCapacity) {
  TKelCalculation calc(cacheCapacity);
  DeclareGameVariables(calc);
  std::string_view text = kExpressions[state.range(0)];
  state.SetLabel(std::string(text));
  for (auto _ : state) benchmark::DoNotOptimize(calc.Evaluate(text, 0));
  state.SetItemsProcessed(state.iterations());
}

// With the cache of compiled expressions (the evaluator as the engine uses it).
void BM_EvaluateCached(benchmark::State& state) {
  Evaluate(state, mavu::script::TKelCalculation::kExpressionCacheSize);
}

// The peer: every evaluation tokenises and binds the text again.
void BM_EvaluateCompilingEachTime(benchmark::State& state) {
  Evaluate(state, 0);
}

// A table of state.range(0) integer variables v0, v1 ...
std::vector<std::string> FillTable(TValue& table, int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    names.push_back("v" + std::to_string(i));
    VariableSpec spec;
    spec.name = names.back();
    table.Declare(spec);
  }
  return names;
}

// Finding declared variables, spread over the whole table.
void BM_FindVariable(benchmark::State& state) {
  TValue table;
  std::vector<std::string> names = FillTable(table, static_cast<int>(state.range(0)));
  constexpr size_t kStride = 7919;  // a prime, so every name is visited
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.Find(names[next], 0));
    next = (next + kStride) % names.size();
  }
  state.SetItemsProcessed(state.iterations());
}

// Missing a name: what every read of a global does in the local table first.
void BM_FindMissingVariable(benchmark::State& state) {
  TValue table;
  FillTable(table, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(table.Find("count", 0));
  state.SetItemsProcessed(state.iterations());
}

constexpr int kExpressionCount = static_cast<int>(std::size(kExpressions));
BENCHMARK(BM_EvaluateCached)->DenseRange(0, kExpressionCount - 1);
BENCHMARK(BM_EvaluateCompilingEachTime)->DenseRange(0, kExpressionCount - 1);
BENCHMARK(BM_FindVariable)->Arg(50)->Arg(10'000);
BENCHMARK(BM_FindMissingVariable)->Arg(50)->Arg(10'000);

}  // namespace
