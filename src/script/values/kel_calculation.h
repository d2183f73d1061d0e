#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/values/expression_compiler.h"
#include "script/values/kel_object_host.h"
#include "script/values/return_value.h"
#include "script/values/script_error_sink.h"
#include "script/values/text_cache.h"
#include "script/values/value.h"
#include "script/values/value_stack.h"

namespace mavu::script {

// Where a name is visible from a call depth; the numbers are what scripts see.
enum class VariableScope : uint8_t { kNone = 0, kSystem = 1, kGlobal = 2, kLocal = 3 };

// The expression evaluator (`TKelCalculation`). It owns the three variable
// tables and is the only way scripts reach them.
//
// An expression is cut into tokens, rewritten into postfix order by operator
// level and run on a value stack (see expression_compiler.h for the first two
// stages; their result is cached by text). Operands are resolved when an
// operator takes them: numbers, quoted strings, and variable references whose
// index expressions are evaluated in turn. Nothing throws; every failure is
// reported through the error sink while reporting is on, and gives a None
// value or false.
//
// Limits: an evaluation, with the index expressions and increments nested in
// it, may go kMaxEvaluationDepth levels deep, make kMaxNestedEvaluations
// evaluations in all, and evaluate kNestedTextsPerByte times its own text (and
// kNestedTextFloor bytes) in all; beyond that it fails with the calculation
// error. The last keeps nested index expressions of a long text ("a[a[a[…]]]")
// from compiling that text once a level. The token and value buffers have no
// fixed size.
class TKelCalculation {
 public:
  static constexpr int kMaxEvaluationDepth = 64;
  static constexpr int kMaxNestedEvaluations = 1 << 16;
  static constexpr size_t kNestedTextsPerByte = 4;
  static constexpr size_t kNestedTextFloor = 64 * 1024;

  // Compiled expressions kept by their text; a capacity of 0 keeps none.
  static constexpr size_t kExpressionCacheSize = 4096;
  static constexpr size_t kLongestKeptExpression = 4096;

  explicit TKelCalculation(size_t cacheCapacity = kExpressionCacheSize);
  ~TKelCalculation();
  TKelCalculation(const TKelCalculation&) = delete;
  TKelCalculation& operator=(const TKelCalculation&) = delete;

  // Wiring by the owner, handed on to the three tables; both may be null and
  // must outlive the evaluator.
  void SetErrorSink(ScriptErrorSink* sink);
  void SetObjectHost(KelObjectHost* host);

  // Off while optional expressions are evaluated (fstr, fint, sub
  // parameters); the tables follow the evaluator's setting.
  void SetReporting(bool on);
  bool Reporting() const { return reporter_.Enabled(); }

  // The value of an expression, with locals of call depth `depth`. None on
  // failure, and for an empty text (which reports nothing).
  TReturnValue Evaluate(std::string_view text, int32_t depth);

  // Writes a variable reference (a name with up to four index expressions);
  // the value is converted to the variable's kind. Access rights apply.
  bool AssignInteger(std::string_view reference, int32_t depth, int32_t value);
  bool AssignString(std::string_view reference, int32_t depth, std::string_view value);

  // A script declaration (var, gvar, svar): `type` is "int", "str" or an object
  // kind name; `reference` the name with up to four size expressions in square
  // brackets. Reports a name that is visible already. Object variables cannot
  // be system variables. Checking that an object kind exists is the caller's.
  bool DeclareVariable(VariableScope scope, std::string_view type, std::string_view reference,
                       int32_t depth);
  // Deletes the variable the name makes visible (locals of `depth`); false
  // when none is visible or it may not be deleted (reported).
  bool DeleteVariable(std::string_view name, int32_t depth);
  // Locals of `depth` first, then globals, then system variables.
  VariableScope Visibility(std::string_view name, int32_t depth) const;

  // What an interpreter reset does to variables: the global and local tables
  // are cleared (freeing their objects); the system table is kept, as only
  // `sdat.i` and loading the system data replace it. Clear the tables before
  // the object registry, so that every object is freed by its owner.
  void ResetTables();

  TValue& SystemTable() { return system_; }
  TValue& GlobalTable() { return global_; }
  TValue& LocalTable() { return local_; }
  const TValue& SystemTable() const { return system_; }
  const TValue& GlobalTable() const { return global_; }
  const TValue& LocalTable() const { return local_; }

 private:
  struct Location {
    VariableScope scope = VariableScope::kNone;
    int32_t slot = TValue::kNotFound;
  };

  Location Locate(std::string_view name, uint32_t hash, int32_t depth) const;
  Location Locate(const Operand& operand, int32_t depth) const;
  TValue& TableOf(VariableScope scope);
  static int32_t KeyOf(VariableScope scope, int32_t depth);

  TReturnValue EvaluateText(std::string_view text, int32_t depth);
  TReturnValue Run(const CompiledExpression& compiled, int32_t depth);
  // Turns an operand not resolved yet into its value.
  void Resolve(TReturnValue& value, const CompiledExpression& compiled, int32_t depth);
  std::optional<TReturnValue> Assign(const TReturnValue& left, const TReturnValue& right,
                                     const CompiledExpression& compiled, int32_t depth);
  TReturnValue ReadVariable(const Operand& operand, int32_t depth);
  bool WriteVariable(const Operand& target, const TReturnValue& value, int32_t depth);
  std::optional<ArrayIndex> EvaluateIndices(const Operand& operand, int32_t depth);
  TValueStack& StackAt(int level);
  TReturnValue Failed();
  void Report(const std::string& message) const;

  ErrorReporter reporter_;
  TValue system_;
  TValue global_;
  TValue local_;
  TextCache<CompiledExpression> cache_;
  // One stack per nesting level, kept between evaluations.
  std::vector<std::unique_ptr<TValueStack>> stacks_;
  int nesting_ = 0;
  int evaluations_ = 0;
  size_t textBudget_ = 0;  // bytes of text the outermost evaluation may still evaluate
  // Set when a limit is hit; the outermost evaluation then fails with one
  // report instead of one per level.
  bool aborted_ = false;
};

}  // namespace mavu::script
