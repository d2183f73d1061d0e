#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_data_extend.h"
#include "script/objects/object_commands.h"

// The ext object: both commands give the extension two steps before the
// script goes on.
namespace mavu::script {
namespace {

using namespace arguments;

bool Send(TKelObjectDataExtend& extension, const Command& command) {
  extension.Send(Text(command, 1));
  command.script.HoldSteps(TKelScript::kHoldSteps);
  return true;
}

bool ResetExtension(TKelObjectDataExtend& extension, const Command& command) {
  extension.ResetExtension();
  command.script.HoldSteps(TKelScript::kHoldSteps);
  return true;
}

}  // namespace

void RegisterExtendCommands(CommandTable& table) {
  constexpr uint8_t kExt = KindNumber(ObjectKind::kExtend);
  table.AddObjectCommand<TKelObjectDataExtend>(kExt, "s", Send);
  table.AddObjectCommand<TKelObjectDataExtend>(kExt, "i", ResetExtension);
}

}  // namespace mavu::script
