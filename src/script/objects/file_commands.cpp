#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_data_file.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"
#include "script/values/script_number.h"

// The file object: look-ups in a text file of the game.
namespace mavu::script {
namespace {

using namespace arguments;

void SetResults(const Command& command, const std::string& text) {
  SetResultStr(command, text);
  SetResultInt(command, ScriptInteger(text));
}

// l,file: a file that cannot be read leaves the previous one in place.
bool Load(TKelObjectDataFile& object, const Command& command) {
  const std::string name = Text(command, 1);
  if (!object.File().Load(name)) command.script.ReportError(messages::FileLoadFailed() + name);
  return true;
}

// g,key: the value of the first name=value line of the key.
bool KeyValue(TKelObjectDataFile& object, const Command& command) {
  SetResults(command, object.File().Value(Text(command, 1)));
  return true;
}

// gl,n: line n from 0.
bool Line(TKelObjectDataFile& object, const Command& command) {
  SetResults(command, object.File().Line(Integer(command, 1)));
  return true;
}

bool Count(TKelObjectDataFile& object, const Command& command) {
  SetResultInt(command, object.File().LineCount());
  return true;
}

bool Clear(TKelObjectDataFile& object, const Command&) {
  object.File().Clear();
  return true;
}

}  // namespace

void RegisterFileCommands(CommandTable& table) {
  constexpr uint8_t kFile = KindNumber(ObjectKind::kFile);
  table.AddObjectCommand<TKelObjectDataFile>(kFile, "l", Load);
  table.AddObjectCommand<TKelObjectDataFile>(kFile, "g", KeyValue);
  table.AddObjectCommand<TKelObjectDataFile>(kFile, "gl", Line);
  table.AddObjectCommand<TKelObjectDataFile>(kFile, "c", Count);
  table.AddObjectCommand<TKelObjectDataFile>(kFile, "i", Clear);
}

}  // namespace mavu::script
