#include "script/commands/general_commands.h"

namespace mavu::script {

void RegisterGeneralCommands(CommandTable& table) {
  RegisterVariableCommands(table);
  RegisterStringCommands(table);
  RegisterRegexCommands(table);
  RegisterFormatCommands(table);
  RegisterMiscCommands(table);
}

}  // namespace mavu::script
