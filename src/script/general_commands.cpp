#include "script/general_commands.h"

namespace mavu::script {

void RegisterGeneralCommands(TCommandTable& table) {
  RegisterVariableCommands(table);
  RegisterStringCommands(table);
  RegisterRegexCommands(table);
  RegisterFormatCommands(table);
  RegisterMiscCommands(table);
}

}  // namespace mavu::script
