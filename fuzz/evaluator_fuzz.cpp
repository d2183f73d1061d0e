#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/values/kel_calculation.h"
#include "support/script/fake_script_host.h"

namespace {

using mavu::script::TKelCalculation;
using mavu::script::VariableScope;

// A few variables of every kind and scope for the expressions to reach.
void DeclareSample(TKelCalculation& calc) {
  calc.DeclareVariable(VariableScope::kSystem, "int", "sv", 0);
  calc.DeclareVariable(VariableScope::kGlobal, "int", "n", 0);
  calc.DeclareVariable(VariableScope::kGlobal, "int", "a[4,4]", 0);
  calc.DeclareVariable(VariableScope::kGlobal, "str", "s[3]", 0);
  calc.DeclareVariable(VariableScope::kGlobal, "img", "bg[2]", 0);
  calc.DeclareVariable(VariableScope::kLocal, "int", "l", 1);
  calc.AssignInteger("n", 0, 3);
  calc.AssignString("s[1]", 0, "text");
}

}  // namespace

// The first byte picks the call depth and whether errors are reported; the
// rest is the expression. It is evaluated twice (the second time from the
// cache), then used as a variable reference for the other entry points.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  mavu::script::test::FakeErrorSink sink;
  mavu::script::test::FakeObjectHost host;
  TKelCalculation calc;
  calc.SetErrorSink(&sink);
  calc.SetObjectHost(&host);
  DeclareSample(calc);
  int32_t depth = data[0] % 3;
  calc.SetReporting((data[0] & 0x80) == 0);
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  calc.Evaluate(text, depth);
  calc.Evaluate(text, depth);
  calc.AssignInteger(text, depth, 7);
  calc.AssignString(text, depth, text);
  calc.Visibility(text, depth);
  calc.DeclareVariable(VariableScope::kLocal, "int", text, depth);
  calc.DeleteVariable(text, depth);
  calc.ResetTables();
  return 0;
}
