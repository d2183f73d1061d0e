#include "script/object_commands.h"

namespace mavu::script {

void RegisterObjectCommands(TCommandTable& table) {
  RegisterSystemCommands(table);
  RegisterSystemDataCommands(table);
  RegisterLogCommands(table);
  RegisterReplaceCommands(table);
  RegisterPathCommands(table);
  RegisterFileCommands(table);
  RegisterReadLogCommands(table);
  RegisterMathCommands(table);
  RegisterExtendCommands(table);
}

}  // namespace mavu::script
