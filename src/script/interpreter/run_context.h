#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/interpreter/script_module_data.h"
#include "script/reader/kel_reader.h"
#include "script/values/kel_calculation.h"
#include "script/values/return_value.h"

namespace mavu::script {

// The part of the interpreter that moves through a script: the reader, the
// evaluator with its variable tables, and the run state. Control flow and the
// jumps work on this alone, so they sit below the interpreter that drives them.
class RunContext {
 public:
  RunContext() = default;
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  TKelReader& Reader() { return reader_; }
  const TKelReader& Reader() const { return reader_; }
  TKelCalculation& Calculation() { return calculation_; }
  TScriptModuleData& Module() { return module_; }
  const TScriptModuleData& Module() const { return module_; }

  int32_t CallDepth() const { return module_.runStack.CallDepth(); }
  TReturnValue Evaluate(std::string_view text);
  // Reports through the error log with the current command's position.
  void ReportError(const std::string& message);

  // Brings "SelfFileName" and "SelfFilePath" up to the current label's file.
  void RefreshSelfFile();
  // Frees the locals of calls deeper than the current call depth.
  void DropDeeperLocals();

  // Result variables: element 0 of a global variable, access rights ignored.
  void SetResultInteger(std::string_view name, int32_t value);
  void SetResultString(std::string_view name, std::string_view value);
  void SetResultObject(std::string_view name, std::string_view objectName);

  // The label name with the reader's outside-a-label warning held back: the
  // engine asks for it, not a script.
  std::string QuietLabelName();

 protected:
  ~RunContext() = default;
  bool WarningsMuted() const { return muteWarnings_; }

 private:
  std::string QuietLabelFile();
  void SetResult(std::string_view name, const TReturnValue& value);

  TKelReader reader_;
  TKelCalculation calculation_;
  TScriptModuleData module_;
  bool muteWarnings_ = false;
};

}  // namespace mavu::script
