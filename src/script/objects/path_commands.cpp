#include "resource/data_tree.h"
#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"

// The path object: the data tree's list of folder prefixes.
namespace mavu::script {
namespace {

using namespace arguments;

bool Add(const Command& command) {
  if (!resource::TheDataTree().AddDataDir(Text(command, 1))) {
    command.script.ReportError(messages::PathListFull() + std::string(command.text));
  }
  return true;
}

bool Remove(const Command& command) {
  resource::TheDataTree().RemoveDataDir(Text(command, 1));
  return true;
}

bool Reset(const Command&) {
  resource::TheDataTree().ResetDataDirs();
  return true;
}

// s,index,folder
bool Set(const Command& command) {
  if (!resource::TheDataTree().SetDataDir(Integer(command, 1), Text(command, 2))) {
    command.script.ReportError(messages::PathIndexOutOfRange() + std::string(command.text));
  }
  return true;
}

}  // namespace

void RegisterPathCommands(CommandTable& table) {
  constexpr uint8_t kPath = KindNumber(ObjectKind::kPath);
  table.AddObjectCommand(kPath, "a", Add);
  table.AddObjectCommand(kPath, "d", Remove);
  table.AddObjectCommand(kPath, "i", Reset);
  table.AddObjectCommand(kPath, "s", Set);
}

}  // namespace mavu::script
