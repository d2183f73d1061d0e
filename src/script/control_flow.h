#pragma once

#include <string>

#include "script/command_table.h"
#include "script/run_stack.h"

namespace mavu::script {

// The structured blocks: if/else/then/fi, for/next with brk and cnt,
// case/ans, all closed by fi, end or next. Blocks are not parsed ahead: the
// commands of a branch not taken are passed over one by one, and only the
// control commands among them keep track of the nesting on the run stack.
class TControlFlow {
 public:
  explicit TControlFlow(TKelScript& script) : script_(script) {}

  // Takes the control commands, and every command while a block is passed over.
  bool Handle(const TCommand& command);

 private:
  void If(const TCommand& command);
  void Else();
  void Then();
  void Close();
  void Iterate();
  void For(const TCommand& command);
  void Break(RunKind kind, const std::string& error);
  void Case(const TCommand& command);
  void Answer(const TCommand& command);
  // Pushes an entry of `kind` at the reader's position.
  void Push(RunKind kind);
  bool IsTrue(const std::string& expression);
  TRunStack& Stack();
  void Report(const std::string& message);

  TKelScript& script_;
};

}  // namespace mavu::script
