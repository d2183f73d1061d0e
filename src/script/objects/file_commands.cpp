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

resource::TFileIOLib* FileOf(const Command& command) {
  auto* file = Receiver<TKelObjectDataFile>(command);
  return file == nullptr ? nullptr : &file->File();
}

void SetResults(const Command& command, const std::string& text) {
  SetResultStr(command, text);
  SetResultInt(command, ScriptInteger(text));
}

// l,file: a file that cannot be read leaves the previous one in place.
bool Load(const Command& command) {
  resource::TFileIOLib* file = FileOf(command);
  if (file == nullptr) return false;
  const std::string name = Text(command, 1);
  if (!file->Load(name)) command.script.ReportError(messages::FileLoadFailed() + name);
  return true;
}

// g,key: the value of the first name=value line of the key.
bool KeyValue(const Command& command) {
  resource::TFileIOLib* file = FileOf(command);
  if (file == nullptr) return false;
  SetResults(command, file->Value(Text(command, 1)));
  return true;
}

// gl,n: line n from 0.
bool Line(const Command& command) {
  resource::TFileIOLib* file = FileOf(command);
  if (file == nullptr) return false;
  SetResults(command, file->Line(Integer(command, 1)));
  return true;
}

bool Count(const Command& command) {
  resource::TFileIOLib* file = FileOf(command);
  if (file == nullptr) return false;
  SetResultInt(command, file->LineCount());
  return true;
}

bool Clear(const Command& command) {
  resource::TFileIOLib* file = FileOf(command);
  if (file == nullptr) return false;
  file->Clear();
  return true;
}

}  // namespace

void RegisterFileCommands(CommandTable& table) {
  constexpr uint8_t kFile = KindNumber(ObjectKind::kFile);
  table.AddObjectCommand(kFile, "l", Load);
  table.AddObjectCommand(kFile, "g", KeyValue);
  table.AddObjectCommand(kFile, "gl", Line);
  table.AddObjectCommand(kFile, "c", Count);
  table.AddObjectCommand(kFile, "i", Clear);
}

}  // namespace mavu::script
