#pragma once

#include <string>

#include "script/interpreter/command_table.h"
#include "script/interpreter/run_context.h"
#include "script/interpreter/run_stack.h"

namespace mavu::script {

// The structured blocks: if/else/then/fi, for/next with brk and cnt,
// case/ans, all closed by fi, end or next. Blocks are not parsed ahead: the
// commands of a branch not taken are passed over one by one, and only the
// control commands among them keep track of the nesting on the run stack.
class ControlFlow {
 public:
  explicit ControlFlow(RunContext& run) : run_(run) {}

  // Takes the control commands, and every command while a block is passed over.
  bool Handle(const Command& command);

 private:
  void If(const Command& command);
  void Else();
  void Then();
  void Close();
  void Iterate();
  void For(const Command& command);
  void Break(RunKind kind, const std::string& error);
  void Case(const Command& command);
  void Answer(const Command& command);
  // Pushes an entry of `kind` at the reader's position.
  void Push(RunKind kind);
  bool IsTrue(const std::string& expression);
  RunStack& Stack();
  void Report(const std::string& message);

  RunContext& run_;
};

}  // namespace mavu::script
