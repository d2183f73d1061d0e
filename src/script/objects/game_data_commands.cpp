#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"

// The dat object: saved games by file name in the save folder.
namespace mavu::script {
namespace {

using namespace arguments;

// s,file
bool Save(const Command& command) {
  const std::string file = Text(command, 1);
  if (!command.script.SaveGame(file, true)) {
    command.script.ReportError(messages::GameDataSaveFailed() + file);
  }
  return true;
}

// l,file
bool Load(const Command& command) {
  const std::string file = Text(command, 1);
  if (!command.script.LoadGame(file)) {
    command.script.ReportError(messages::GameDataLoadFailed() + file);
  }
  return true;
}

// d,file
bool Delete(const Command& command) {
  command.script.DeleteSave(Text(command, 1));
  return true;
}

// g,file: ResultInt 1 when the file exists.
bool Exists(const Command& command) {
  command.script.SetResultInteger("ResultInt", command.script.SaveExists(Text(command, 1)) ? 1 : 0);
  return true;
}

}  // namespace

void RegisterGameDataCommands(CommandTable& table) {
  constexpr uint8_t kDat = KindNumber(ObjectKind::kGameData);
  table.AddObjectCommand(kDat, "s", Save);
  table.AddObjectCommand(kDat, "l", Load);
  table.AddObjectCommand(kDat, "d", Delete);
  table.AddObjectCommand(kDat, "g", Exists);
}

}  // namespace mavu::script
