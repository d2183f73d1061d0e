#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "script/kel_calculation.h"

namespace {

using mavu::script::TKelCalculation;
using mavu::script::VariableScope;

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
    calc.DeclareVariable(VariableScope::Global, "int", "filler" + std::to_string(i), 0);
  }
  for (std::string_view name : {"a", "b", "x", "y", "i", "j", "count"}) {
    calc.DeclareVariable(VariableScope::Global, "int", name, 0);
  }
  calc.DeclareVariable(VariableScope::Global, "str", "name", 0);
  calc.DeclareVariable(VariableScope::Global, "int", "flags[16,16]", 0);
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
  Evaluate(state, mavu::script::TExpressionCache::kDefaultCapacity);
}

// The peer: every evaluation tokenises and binds the text again.
void BM_EvaluateCompilingEachTime(benchmark::State& state) {
  Evaluate(state, 0);
}

constexpr int kExpressionCount = static_cast<int>(std::size(kExpressions));
BENCHMARK(BM_EvaluateCached)->DenseRange(0, kExpressionCount - 1);
BENCHMARK(BM_EvaluateCompilingEachTime)->DenseRange(0, kExpressionCount - 1);

}  // namespace
