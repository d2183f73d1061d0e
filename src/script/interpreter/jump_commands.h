#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "script/interpreter/command_table.h"
#include "script/interpreter/run_context.h"
#include "script/interpreter/run_stack.h"

namespace mavu::script {

// Jumps and calls (jmp, go, sub with up to 16 parameters, ret) and label
// lines. Each moves the reader, possibly into another file, and keeps the run
// stack and the local variables in step.
class JumpCommands {
 public:
  static constexpr int kMaxParameters = 16;
  static constexpr int kFirstParameterWord = 3;

  explicit JumpCommands(RunContext& run) : run_(run) {}

  // Takes jmp, go, sub and ret.
  bool Handle(const Command& command);
  // Takes a command word starting with "@@" (longer than that).
  bool HandleLabelLine(const Command& command);

  // The reader's position as a run-stack entry of `kind`.
  static TScriptRunStack CurrentPosition(RunContext& run, RunKind kind);
  // A label argument: a literal "@@name", or an expression whose string value
  // is one; anything else is no label (empty).
  static std::string LabelArgument(RunContext& run, std::string_view word);

 private:
  void Jmp(const Command& command);
  void Go(const Command& command);
  void Sub(const Command& command);
  void Ret(const Command& command);
  // Moves the reader; on failure it is put back where it was.
  bool JumpTo(const std::optional<std::string>& file, const std::string& label);
  void Restore(const TScriptRunStack& position);
  std::string GoLabelArgument(std::string_view word);
  // "self" for the current script; nothing when the named file is nowhere.
  std::optional<std::string> FileArgument(const Command& command);
  void DeclareParameters(int32_t depth);
  void PassParameters(const Command& command, int32_t depth);

  RunContext& run_;
};

}  // namespace mavu::script
