#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "base/cp932.h"
#include "script/commands/general_commands.h"
#include "script/commands/general_messages.h"
#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/reader/script_text.h"
#include "script/reader/word_buf.h"
#include "script/values/script_number.h"

namespace mavu::script {
namespace {

constexpr int kFirstName = 2;  // var,type,name1,name2...

constexpr std::array<std::string_view, 2> kValueTypes = {"int", "str"};
// The object kinds a script may declare variables of; the others belong to
// the system variables.
constexpr std::array<std::string_view, 6> kObjectTypes = {"img",  "msg",  "btn",
                                                          "simg", "sbtn", "file"};

bool OneOf(std::string_view word, std::span<const std::string_view> list) {
  return std::any_of(list.begin(), list.end(),
                     [&](std::string_view entry) { return base::EqualsIgnoreCase(word, entry); });
}

bool HasNames(const Command& command) {
  for (int i = kFirstName; i < command.words.count; ++i) {
    if (!TrimBlanks(command.words.words[i]).empty()) return true;
  }
  return false;
}

// var, gvar, svar: a type and the names, each with up to four sizes.
bool Declare(const Command& command, VariableScope scope) {
  const std::string_view type = TrimBlanks(command.words.words[1]);
  const bool objectType = OneOf(type, kObjectTypes);
  const bool known = objectType || OneOf(type, kValueTypes);
  if (!known || !HasNames(command) || (objectType && scope == VariableScope::kSystem)) {
    command.script.ReportError(messages::CannotCreateType() + std::string(type));
    return true;
  }
  TKelCalculation& calculation = command.script.Calculation();
  for (int i = kFirstName; i < command.words.count; ++i) {
    const std::string_view name = command.words.words[i];
    if (TrimBlanks(name).empty()) continue;
    calculation.DeclareVariable(scope, type, name, command.script.CallDepth());
  }
  return true;
}

bool Var(const Command& command) {
  return Declare(command, VariableScope::kLocal);
}
bool Gvar(const Command& command) {
  return Declare(command, VariableScope::kGlobal);
}
bool Svar(const Command& command) {
  return Declare(command, VariableScope::kSystem);
}

// del,name1,name2...
bool Del(const Command& command) {
  for (int i = 1; i < command.words.count; ++i) {
    const std::string_view name = TrimBlanks(command.words.words[i]);
    if (name.empty()) continue;
    if (!command.script.Calculation().DeleteVariable(name, command.script.CallDepth())) {
      command.script.ReportError(messages::DeleteFailed() + std::string(name));
    }
  }
  return true;
}

// cal,expr1,expr2...: each for its effect.
bool Cal(const Command& command) {
  for (int i = 1; i < command.words.count; ++i) {
    const std::string_view expression = TrimBlanks(command.words.words[i]);
    if (expression.empty()) continue;
    if (command.script.Evaluate(expression).IsNone()) {
      command.script.ReportError(messages::CalculationFailed() + std::string(expression));
    }
  }
  return true;
}

// The argument evaluated with error reports off, the evaluator's setting put
// back afterwards.
TReturnValue QuietValue(const Command& command, int index) {
  TKelCalculation& calculation = command.script.Calculation();
  const bool reporting = calculation.Reporting();
  calculation.SetReporting(false);
  TReturnValue value = arguments::Value(command, index);
  calculation.SetReporting(reporting);
  return value;
}

// vexs,name: 0 not visible, 1 system, 2 global, 3 local.
bool Vexs(const Command& command) {
  const std::string name = NamePart(command.words.words[1]);
  const VariableScope scope =
      command.script.Calculation().Visibility(name, command.script.CallDepth());
  arguments::SetResultInt(command, static_cast<int32_t>(scope));
  return true;
}

// fstr,expr,default: the default is evaluated only when it is needed.
bool Fstr(const Command& command) {
  const TReturnValue value = QuietValue(command, 1);
  arguments::SetResultStr(command, value.IsNone() ? arguments::Text(command, 2) : value.Text());
  return true;
}

// fint,expr,default: a text that is no number also takes the default.
bool Fint(const Command& command) {
  const TReturnValue value = QuietValue(command, 1);
  std::optional<int32_t> result;
  if (value.kind == ValueKind::kInteger) {
    result = value.integer;
  } else if (!value.IsNone()) {
    if (std::optional<int64_t> number = ParseInteger64(value.Text()))
      result = FitInteger32(*number);
  }
  arguments::SetResultInt(command, result ? *result : arguments::Integer(command, 2));
  return true;
}

}  // namespace

void RegisterVariableCommands(CommandTable& table) {
  table.AddGeneral("var", Var);
  table.AddGeneral("gvar", Gvar);
  table.AddGeneral("svar", Svar);
  table.AddGeneral("del", Del);
  table.AddGeneral("cal", Cal);
  table.AddGeneral("vexs", Vexs);
  table.AddGeneral("fstr", Fstr);
  table.AddGeneral("fint", Fint);
}

}  // namespace mavu::script
