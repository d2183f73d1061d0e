#include "resource/data_tree.h"
#include "script/kel_script.h"
#include "script/object_arguments.h"
#include "script/object_commands.h"
#include "script/object_messages.h"

// The path object: the data tree's list of folder prefixes.
namespace mavu::script {
namespace {

using namespace arguments;

bool Add(const TCommand& command) {
  if (!resource::DataTree().AddDataDir(Text(command, 1))) {
    command.script.ReportError(messages::PathListFull() + std::string(command.text));
  }
  return true;
}

bool Remove(const TCommand& command) {
  resource::DataTree().RemoveDataDir(Text(command, 1));
  return true;
}

bool Reset(const TCommand&) {
  resource::DataTree().ResetDataDirs();
  return true;
}

// s,index,folder
bool Set(const TCommand& command) {
  if (!resource::DataTree().SetDataDir(Integer(command, 1), Text(command, 2))) {
    command.script.ReportError(messages::PathIndexOutOfRange() + std::string(command.text));
  }
  return true;
}

}  // namespace

void RegisterPathCommands(TCommandTable& table) {
  constexpr uint8_t kPath = KindNumber(ObjectKind::Path);
  table.AddObjectCommand(kPath, "a", Add);
  table.AddObjectCommand(kPath, "d", Remove);
  table.AddObjectCommand(kPath, "i", Reset);
  table.AddObjectCommand(kPath, "s", Set);
}

}  // namespace mavu::script
