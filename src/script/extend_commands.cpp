#include "script/extend_object.h"
#include "script/kel_script.h"
#include "script/object_arguments.h"
#include "script/object_commands.h"

// The ext object: both commands give the extension two steps before the
// script goes on.
namespace mavu::script {
namespace {

using namespace arguments;

bool Send(const TCommand& command) {
  auto* extension = Receiver<TKelObjectDataExtend>(command);
  if (extension == nullptr) return false;
  extension->Send(Text(command, 1));
  command.script.HoldSteps(TKelScript::kHoldSteps);
  return true;
}

bool ResetExtension(const TCommand& command) {
  auto* extension = Receiver<TKelObjectDataExtend>(command);
  if (extension == nullptr) return false;
  extension->ResetExtension();
  command.script.HoldSteps(TKelScript::kHoldSteps);
  return true;
}

}  // namespace

void RegisterExtendCommands(TCommandTable& table) {
  constexpr uint8_t kExt = KindNumber(ObjectKind::Extend);
  table.AddObjectCommand(kExt, "s", Send);
  table.AddObjectCommand(kExt, "i", ResetExtension);
}

}  // namespace mavu::script
