#include "script/interpreter/control_flow.h"

#include "script/interpreter/command_code.h"
#include "script/interpreter/interpreter_messages.h"
#include "script/interpreter/jump_commands.h"
#include "script/interpreter/run_context.h"
#include "script/values/script_number.h"

namespace mavu::script {
namespace {

constexpr int32_t kIf = CommandCode("if");
constexpr int32_t kElse = CommandCode("else");
constexpr int32_t kThen = CommandCode("then");
constexpr int32_t kFi = CommandCode("fi");
constexpr int32_t kEnd = CommandCode("end");
constexpr int32_t kNext = CommandCode("next");
constexpr int32_t kFor = CommandCode("for");
constexpr int32_t kBrk = CommandCode("brk");
constexpr int32_t kCnt = CommandCode("cnt");
constexpr int32_t kCase = CommandCode("case");
constexpr int32_t kAns = CommandCode("ans");

constexpr const char* kTrue = "1";
constexpr const char* kFalse = "0";
constexpr const char* kForever = "1";

// Word counts of the for forms: for; for,cond; for,init,cond[,step].
constexpr int kForAlone = 1;
constexpr int kForCondition = 2;
constexpr int kForInitCondition = 3;
constexpr int kForInitConditionStep = 4;
constexpr int kCaseWords = 2;

}  // namespace

bool ControlFlow::Handle(const Command& command) {
  const bool passing = Stack().PassingOver();
  switch (command.code) {
    case kIf:
      passing ? Push(RunKind::kIfPassed) : If(command);
      return true;
    case kFor:
      passing ? Push(RunKind::kForPassed) : For(command);
      return true;
    case kCase:
      passing ? Push(RunKind::kCasePassed) : Case(command);
      return true;
    case kElse:
      Else();
      return true;
    case kThen:
      Then();
      return true;
    case kFi:
    case kEnd:
    case kNext:
      Close();
      return true;
    case kAns:
      Answer(command);
      return true;
    case kBrk:
      if (!passing) Break(RunKind::kForDone, messages::BrkOutsideFor());
      return true;
    case kCnt:
      if (!passing) Break(RunKind::kForContinue, messages::CntOutsideFor());
      return true;
    default:
      return passing;
  }
}

// A condition that is not an integer is reported; its block is then passed
// over as a whole (neither the if part nor the else part runs) so that the
// nesting stays intact once the script goes on.
void ControlFlow::If(const Command& command) {
  Push(RunKind::kPlain);
  const std::string& condition = command.words.words[1];
  TReturnValue value = run_.Evaluate(condition);
  TScriptRunStack& entry = Stack().Top();
  if (value.kind != ValueKind::kInteger) {
    Report(messages::IfBadCondition() + condition);
    Stack().SetKind(Stack().Size() - 1, RunKind::kIfNotTaken);
    return;
  }
  entry.texts[TScriptRunStack::kCondition] = DecimalText(value.integer);
  const bool taken = entry.texts[TScriptRunStack::kCondition] == kTrue;
  Stack().SetKind(Stack().Size() - 1, taken ? RunKind::kIfTaken : RunKind::kIfNotTaken);
}

// The else part runs only when the condition was exactly 0; in a case it is
// the default section, run when no ans matched.
void ControlFlow::Else() {
  if (Stack().Empty()) return Report(messages::ElseWithoutBlock());
  TScriptRunStack& top = Stack().Top();
  const size_t index = Stack().Size() - 1;
  switch (top.kind) {
    case RunKind::kIfPassed:
    case RunKind::kCasePassed:
      return;
    case RunKind::kIfTaken:
    case RunKind::kIfNotTaken: {
      const bool zero = top.texts[TScriptRunStack::kCondition] == kFalse;
      return Stack().SetKind(index, zero ? RunKind::kIfTaken : RunKind::kIfNotTaken);
    }
    case RunKind::kCaseSelected:
    case RunKind::kCaseNotSelected: {
      const bool matched = top.texts[TScriptRunStack::kMatched] != kFalse;
      return Stack().SetKind(index, matched ? RunKind::kCaseNotSelected : RunKind::kCaseSelected);
    }
    default:
      return Report(messages::ElseWithoutBlock());
  }
}

// Back to the branch the condition chose: what follows runs when the if part did.
void ControlFlow::Then() {
  if (Stack().Empty()) return Report(messages::ThenOutsideIf());
  TScriptRunStack& top = Stack().Top();
  if (top.kind == RunKind::kIfPassed) return;
  if (top.kind != RunKind::kIfTaken && top.kind != RunKind::kIfNotTaken) {
    return Report(messages::ThenOutsideIf());
  }
  const bool one = top.texts[TScriptRunStack::kCondition] == kTrue;
  Stack().SetKind(Stack().Size() - 1, one ? RunKind::kIfTaken : RunKind::kIfNotTaken);
}

void ControlFlow::Close() {
  if (Stack().Empty()) return Report(messages::EndWithoutBlock());
  const RunKind kind = Stack().Top().kind;
  if (kind == RunKind::kPlain || kind == RunKind::kCall) return Report(messages::EndWithoutBlock());
  if (kind == RunKind::kForRunning || kind == RunKind::kForContinue) return Iterate();
  Stack().Pop();
}

// Step, then condition; while it holds the reader goes back to the command
// after the for.
void ControlFlow::Iterate() {
  const TScriptRunStack loop = Stack().Top();
  if (!loop.texts[TScriptRunStack::kStep].empty()) {
    run_.Evaluate(loop.texts[TScriptRunStack::kStep]);
  }
  if (IsTrue(loop.texts[TScriptRunStack::kCondition]) &&
      run_.Reader().GotoLabel(loop.labelName, loop.lineOffset, loop.charPosition)) {
    Stack().SetKind(Stack().Size() - 1, RunKind::kForRunning);
    return;
  }
  Stack().Pop();
}

// Too many arguments are reported and the loop is passed over to its next.
void ControlFlow::For(const Command& command) {
  Push(RunKind::kPlain);
  const auto& words = command.words.words;
  std::string condition = kForever;
  std::string step;
  switch (command.words.count) {
    case kForAlone:
      break;
    case kForCondition:
      condition = words[1];
      break;
    case kForInitCondition:
    case kForInitConditionStep:
      run_.Evaluate(words[1]);
      condition = words[2];
      step = words[3];
      break;
    default:
      Report(messages::ForBadArguments());
      Stack().SetKind(Stack().Size() - 1, RunKind::kForDone);
      return;
  }
  const bool running = IsTrue(condition);
  TScriptRunStack& entry = Stack().Top();
  entry.texts[TScriptRunStack::kCondition] = std::move(condition);
  entry.texts[TScriptRunStack::kStep] = std::move(step);
  Stack().SetKind(Stack().Size() - 1, running ? RunKind::kForRunning : RunKind::kForDone);
}

void ControlFlow::Break(RunKind kind, const std::string& error) {
  const size_t loop = Stack().InnermostRunningLoop();
  if (loop == RunStack::kNone) {
    Report(error);
  } else {
    Stack().SetKind(loop, kind);
  }
  run_.RefreshSelfFile();
}

void ControlFlow::Case(const Command& command) {
  if (command.words.count != kCaseWords) return Report(messages::CaseBadArguments());
  Push(RunKind::kPlain);
  TReturnValue value = run_.Evaluate(command.words.words[1]);
  TScriptRunStack& entry = Stack().Top();
  entry.texts[TScriptRunStack::kCondition] =
      value.kind == ValueKind::kString ? "\"" + value.Text() + "\"" : DecimalText(value.integer);
  entry.texts[TScriptRunStack::kMatched] = kFalse;
  Stack().SetKind(Stack().Size() - 1, RunKind::kCaseNotSelected);
}

// The case value is the left operand, so it decides between comparing
// integers and comparing strings.
void ControlFlow::Answer(const Command& command) {
  if (Stack().Empty()) return Report(messages::AnsWithoutCase());
  const RunKind kind = Stack().Top().kind;
  if (kind == RunKind::kCasePassed) return;
  if (kind != RunKind::kCaseSelected && kind != RunKind::kCaseNotSelected) {
    return Report(messages::AnsWithoutCase());
  }
  const size_t index = Stack().Size() - 1;
  Stack().SetKind(index, RunKind::kCaseNotSelected);
  const std::string left = Stack().Top().texts[TScriptRunStack::kCondition] + " == ";
  for (int i = 1; i < command.words.count; ++i) {
    if (!IsTrue(left + command.words.words[i])) continue;
    Stack().SetKind(index, RunKind::kCaseSelected);
    Stack().At(index).texts[TScriptRunStack::kMatched] = kTrue;
    return;
  }
}

void ControlFlow::Push(RunKind kind) {
  Stack().Push(JumpCommands::CurrentPosition(run_, kind));
}

bool ControlFlow::IsTrue(const std::string& expression) {
  TReturnValue value = run_.Evaluate(expression);
  return !value.IsNone() && value.integer == 1;
}

RunStack& ControlFlow::Stack() {
  return run_.Module().runStack;
}

void ControlFlow::Report(const std::string& message) {
  run_.ReportError(message);
}

}  // namespace mavu::script
