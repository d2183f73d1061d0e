#include "script/interpreter/jump_commands.h"

#include <array>
#include <span>

#include "base/cp932.h"
#include "resource/data_tree.h"
#include "script/interpreter/command_code.h"
#include "script/interpreter/interpreter_messages.h"
#include "script/interpreter/run_context.h"
#include "script/reader/script_text.h"
#include "script/values/script_number.h"

namespace mavu::script {
namespace {

constexpr int32_t kJmp = CommandCode("jmp");
constexpr int32_t kGo = CommandCode("go");
constexpr int32_t kSub = CommandCode("sub");
constexpr int32_t kRet = CommandCode("ret");

constexpr std::string_view kLabelMark = "@@";
constexpr char kGoLabelMark = '@';
constexpr std::string_view kSelf = "self";
constexpr int kFileWord = 2;
constexpr std::string_view kEndOfFile = "EOF";
// Every local key is above it.
constexpr int32_t kAllLocals = -1;

constexpr std::string_view kParamCount = "ParamCount";
constexpr std::string_view kParamInt = "ParamInt";
constexpr std::string_view kParamStr = "ParamStr";

bool IsLabel(std::string_view text) {
  return text.size() > kLabelMark.size() && text.starts_with(kLabelMark);
}

std::string Word(const Command& command, int index) {
  return command.words.words[index];
}

// The reader fails a jump to a label on the last line, as the line after it
// lies past the end, yet it does move there: the jump has reached its label.
bool LabelAtEnd(const TKelReader& reader, std::string_view label) {
  return !label.empty() && !reader.LabelFile(label).empty() && reader.PositionText() == kEndOfFile;
}

ArrayIndex Element(int32_t index) {
  ArrayIndex at;
  at.at[0] = index;
  at.count = 1;
  return at;
}

}  // namespace

bool JumpCommands::Handle(const Command& command) {
  switch (command.code) {
    case kJmp:
      Jmp(command);
      return true;
    case kGo:
      Go(command);
      return true;
    case kSub:
      Sub(command);
      return true;
    case kRet:
      Ret(command);
      return true;
    default:
      return false;
  }
}

bool JumpCommands::HandleLabelLine(const Command& command) {
  if (!IsLabel(command.words.words[0])) return false;
  const RunStack& stack = run_.Module().runStack;
  if (!stack.Empty() && stack.Top().kind != RunKind::kPlain && stack.Top().kind != RunKind::kCall) {
    run_.ReportError(messages::LabelInBlock());
  }
  run_.RefreshSelfFile();
  return true;
}

TScriptRunStack JumpCommands::CurrentPosition(RunContext& run, RunKind kind) {
  TKelReader& reader = run.Reader();
  TScriptRunStack entry;
  entry.kind = kind;
  entry.fileName = reader.CurrentFileName();
  entry.labelName = reader.CurrentLabelName();
  entry.lineOffset = reader.LineOffsetSinceLabel();
  entry.charPosition = reader.CharacterPosition();
  return entry;
}

// The stack keeps the innermost call frame and loses the blocks above it.
void JumpCommands::Jmp(const Command& command) {
  if (!JumpTo(FileArgument(command), LabelArgument(run_, Word(command, 1)))) {
    run_.ReportError(messages::JmpNotFound() + Word(command, 1) + ":" + Word(command, kFileWord));
  } else {
    RunStack& stack = run_.Module().runStack;
    const size_t call = stack.InnermostCall();
    stack.CutTo(call == RunStack::kNone ? 0 : call + 1);
  }
  run_.RefreshSelfFile();
}

// A fresh start at the label: no blocks, no calls, no locals, no wait.
void JumpCommands::Go(const Command& command) {
  if (!JumpTo(FileArgument(command), GoLabelArgument(Word(command, 1)))) {
    run_.ReportError(messages::GoNotFound() + Word(command, 1) + ":" + Word(command, kFileWord));
  } else {
    run_.Module().runStack.Clear();
    run_.Calculation().LocalTable().DeleteDeeperLocals(kAllLocals);
    run_.Module().waitState = WaitState::kRunning;
  }
  run_.RefreshSelfFile();
}

// Locals are keyed by the call depth in a 16-bit field, which bounds how deep
// calls may nest.
void JumpCommands::Sub(const Command& command) {
  const int32_t depth = run_.CallDepth() + 1;
  if (depth > TValue::kMaxKey) {
    run_.ReportError(messages::SubTooDeep() + Word(command, 1));
    return;
  }
  RunStack& stack = run_.Module().runStack;
  stack.Push(CurrentPosition(run_, RunKind::kCall));
  if (!JumpTo(FileArgument(command), LabelArgument(run_, Word(command, 1)))) {
    stack.Pop();
    run_.ReportError(messages::SubNotFound() + Word(command, 1) + ":" + Word(command, kFileWord));
  } else {
    DeclareParameters(depth);
    PassParameters(command, depth);
  }
  run_.RefreshSelfFile();
}

void JumpCommands::Ret(const Command& command) {
  RunStack& stack = run_.Module().runStack;
  const size_t call = stack.FindCall(LabelArgument(run_, Word(command, 1)));
  if (call == RunStack::kNone) {
    run_.ReportError(messages::RetWithoutSub() + Word(command, 1));
    return;
  }
  const TScriptRunStack frame = stack.At(call);
  TKelReader& reader = run_.Reader();
  const bool back = reader.OpenScript(frame.fileName, false) &&
                    (reader.GotoLabel(frame.labelName, frame.lineOffset, frame.charPosition) ||
                     LabelAtEnd(reader, frame.labelName));
  stack.CutTo(call);
  run_.DropDeeperLocals();
  if (!back) run_.ReportError(messages::SubNotFound() + frame.labelName + ":" + frame.fileName);
  run_.RefreshSelfFile();
}

// A label missing from another file would leave the reader at the start of
// that file; the reader goes back to where the failed command stood instead.
bool JumpCommands::JumpTo(const std::optional<std::string>& file, const std::string& label) {
  if (!file) return false;
  TKelReader& reader = run_.Reader();
  // Before the first script is open there is no position to come back to
  // (asking for one would warn about a position outside any label).
  const bool restorable =
      !base::EqualsIgnoreCase(*file, kSelf) && !reader.CurrentFileName().empty();
  const TScriptRunStack before =
      restorable ? CurrentPosition(run_, RunKind::kPlain) : TScriptRunStack{};
  if (reader.JumpToLabel(*file, label) || LabelAtEnd(reader, label)) return true;
  if (restorable) Restore(before);
  return false;
}

void JumpCommands::Restore(const TScriptRunStack& position) {
  TKelReader& reader = run_.Reader();
  if (reader.OpenScript(position.fileName, true)) {
    reader.GotoLabel(position.labelName, position.lineOffset, position.charPosition);
  }
}

std::string JumpCommands::LabelArgument(RunContext& run, std::string_view word) {
  std::string_view text = TrimBlanks(word);
  if (IsLabel(text)) return std::string(text);
  if (text.empty()) return {};
  TReturnValue value = run.Evaluate(text);
  return IsLabel(value.Text()) ? value.Text() : std::string();
}

std::string JumpCommands::GoLabelArgument(std::string_view word) {
  std::string_view text = TrimBlanks(word);
  if (text.starts_with(kGoLabelMark)) return std::string(text);
  return run_.Evaluate(text).Text();
}

std::optional<std::string> JumpCommands::FileArgument(const Command& command) {
  std::string_view word = TrimBlanks(command.words.words[kFileWord]);
  if (word.empty() || base::EqualsIgnoreCase(word, kSelf)) return std::string(kSelf);
  std::string name = run_.Evaluate(word).Text();
  if (base::EqualsIgnoreCase(name, kSelf)) return name;
  std::string resolved = resource::ResolveDataPath(name);
  if (resolved.empty()) return std::nullopt;
  return resolved;
}

void JumpCommands::DeclareParameters(int32_t depth) {
  TValue& locals = run_.Calculation().LocalTable();
  const std::array<int32_t, 1> sixteen = {kMaxParameters};
  const auto declare = [&](std::string_view name, ValueKind kind, std::span<const int32_t> sizes) {
    VariableSpec spec;
    spec.name = name;
    spec.valueKind = kind;
    spec.key = depth;
    spec.sizes = sizes;
    locals.Declare(spec);
  };
  declare(kParamCount, ValueKind::kInteger, {});
  declare(kParamInt, ValueKind::kInteger, sixteen);
  declare(kParamStr, ValueKind::kString, sixteen);
}

// Parameters are evaluated where the call was made, quietly: a word that is no
// valid expression is passed as its own text.
void JumpCommands::PassParameters(const Command& command, int32_t depth) {
  TKelCalculation& calculation = run_.Calculation();
  TValue& locals = calculation.LocalTable();
  const bool reporting = calculation.Reporting();
  calculation.SetReporting(false);
  int32_t count = 0;
  for (int i = 0; i < kMaxParameters; ++i) {
    std::string_view word = TrimBlanks(command.words.words[kFirstParameterWord + i]);
    if (word.empty()) continue;
    TReturnValue value = calculation.Evaluate(word, depth - 1);
    if (value.IsNone()) value = {ValueKind::kString, ScriptInteger(word), std::string(word)};
    locals.Write(kParamInt, depth, Element(i), TReturnValue::FromInteger(value.integer), true);
    locals.Write(kParamStr, depth, Element(i), TReturnValue::FromString(value.Text()), true);
    count = i + 1;
  }
  calculation.SetReporting(reporting);
  locals.Write(kParamCount, depth, Element(0), TReturnValue::FromInteger(count), true);
}

}  // namespace mavu::script
