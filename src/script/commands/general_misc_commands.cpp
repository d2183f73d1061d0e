#include <algorithm>
#include <array>

#include "resource/data_tree.h"
#include "script/commands/general_commands.h"
#include "script/commands/general_messages.h"
#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_swap.h"
#include "script/reader/script_text.h"

namespace mavu::script {
namespace {

constexpr std::string_view kSystemObjectVariable = "sys";

// The object the system variable "sys" names.
std::string SystemObjectName(TKelScript& script) {
  ArrayIndex first;
  first.count = 1;
  return script.Calculation().GlobalTable().Read(kSystemObjectVariable, 0, first, true).Text();
}

// scp,obj1...obj16: an argument that names no object leaves its slot empty.
bool Scp(const Command& command) {
  TKelScript& script = command.script;
  TScriptObjectScope& scope = script.Module().scope;
  scope.Clear();
  if (command.words.count <= 1) {
    scope.names[0] = SystemObjectName(script);
    return true;
  }
  const int last = std::min<int>(command.words.count - 1, TScriptObjectScope::kSlots);
  for (int i = 1; i <= last; ++i) {
    const TReturnValue value = arguments::Value(command, i);
    if (value.kind == ValueKind::kObjectName) {
      scope.names[static_cast<size_t>(i - 1)] = value.Text();
    } else {
      script.ReportError(messages::ScopeNotObject() +
                         std::string(TrimBlanks(command.words.words[i])));
    }
  }
  return true;
}

// swap,obj1,obj2
bool Swap(const Command& command) {
  TKelScript& script = command.script;
  const std::array<TReturnValue, 2> values = {arguments::Value(command, 1),
                                              arguments::Value(command, 2)};
  const std::array<std::string_view, 2> words = {TrimBlanks(command.words.words[1]),
                                                 TrimBlanks(command.words.words[2])};
  bool objects = true;
  for (size_t i = 0; i < values.size(); ++i) {
    if (values[i].kind == ValueKind::kObjectName) continue;
    script.ReportError(messages::SwapNotObject() + std::string(words[i]));
    objects = false;
  }
  if (!objects) return true;
  auto* swap = dynamic_cast<ObjectSwap*>(&script.Objects());
  if (swap == nullptr || !swap->SwapObjects(values[0].Text(), values[1].Text())) {
    script.ReportError(messages::SwapFailed() + std::string(words[0]) + "/" +
                       std::string(words[1]));
  }
  return true;
}

// fexs,file: whether the data tree can find it (without opening it, so the
// file log does not count a look).
bool Fexs(const Command& command) {
  const std::string name = arguments::Text(command, 1);
  const bool found = !name.empty() && !resource::ResolveDataPath(name).empty();
  arguments::SetResultInt(command, found ? 1 : 0);
  return true;
}

// dout, dbrk, ddlg: debug output, break and dialog, accepted so that scripts
// written against a debugger run unchanged.
bool Ignore(const Command&) {
  return true;
}

}  // namespace

void RegisterMiscCommands(CommandTable& table) {
  table.AddGeneral("scp", Scp);
  table.AddGeneral("swap", Swap);
  table.AddGeneral("fexs", Fexs);
  table.AddGeneral("dout", Ignore);
  table.AddGeneral("dbrk", Ignore);
  table.AddGeneral("ddlg", Ignore);
}

}  // namespace mavu::script
