#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"

// The sdat object: the system data file and the system variables.
namespace mavu::script {
namespace {

using namespace arguments;

// l,file
bool Load(const Command& command) {
  const std::string file = Text(command, 1);
  if (!command.script.SystemData().LoadSystemData(file)) {
    command.script.ReportError(messages::SystemDataLoadFailed() + file);
  }
  return true;
}

// s,file
bool Save(const Command& command) {
  const std::string file = Text(command, 1);
  if (!command.script.SystemData().SaveSystemData(file)) {
    command.script.ReportError(messages::SystemDataSaveFailed() + file);
  }
  return true;
}

bool ClearVariables(const Command& command) {
  command.script.Calculation().SystemTable().Clear();
  return true;
}

}  // namespace

void RegisterSystemDataCommands(CommandTable& table) {
  constexpr uint8_t kSdat = KindNumber(ObjectKind::kSystemData);
  table.AddObjectCommand(kSdat, "l", Load);
  table.AddObjectCommand(kSdat, "s", Save);
  table.AddObjectCommand(kSdat, "i", ClearVariables);
}

}  // namespace mavu::script
