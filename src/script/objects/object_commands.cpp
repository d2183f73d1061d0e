#include "script/objects/object_commands.h"

#include "script/objects/object_kinds.h"

namespace mavu::script {
namespace {

// The network object takes every command and does nothing: there is no
// network play to connect to, and scripts must not stop on it.
bool IgnoreNetworkCommand(const Command&) {
  return true;
}

}  // namespace

void RegisterObjectCommands(CommandTable& table) {
  RegisterSystemCommands(table);
  RegisterSystemDataCommands(table);
  RegisterGameDataCommands(table);
  RegisterLogCommands(table);
  RegisterReplaceCommands(table);
  RegisterPathCommands(table);
  RegisterFileCommands(table);
  RegisterReadLogCommands(table);
  RegisterMathCommands(table);
  RegisterExtendCommands(table);
  RegisterLayerCommands(table);
  RegisterEffectCommands(table);
  RegisterCameraCommands(table);
  RegisterMessageCommands(table);
  RegisterSoundCommands(table);
  table.SetObjectFallback(KindNumber(ObjectKind::kTcp), IgnoreNetworkCommand);
}

}  // namespace mavu::script
