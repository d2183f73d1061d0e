#include "script/commands/general_commands.h"

#include "script/commands/wait_commands.h"

namespace mavu::script {

void RegisterGeneralCommands(CommandTable& table) {
  RegisterVariableCommands(table);
  RegisterStringCommands(table);
  RegisterRegexCommands(table);
  RegisterFormatCommands(table);
  RegisterMiscCommands(table);
  RegisterWaitCommands(table);
}

}  // namespace mavu::script
