#include "script/interpreter/command_arguments.h"
#include "script/objects/kel_object_data_log.h"
#include "script/objects/object_commands.h"

// The log object: the backlog store.
namespace mavu::script {
namespace {

using namespace arguments;

bool Clear(TKelObjectDataLog& log, const Command&) {
  log.Backlog().Clear();
  return true;
}

// t,speaker,voice,text[,raw]: an entry with the speaker's name, the voice
// file and the text; a fourth word is added to the text as written, or the
// content of its curly braces, as a message's text is.
bool AddEntry(TKelObjectDataLog& log, const Command& command) {
  imaging::KelLogEntry entry;
  entry.speaker = Text(command, 1);
  entry.voice = Text(command, 2);
  entry.text = Text(command, 3);
  if (Has(command, 4)) {
    const std::string& word = command.words.words[4];
    entry.text += word.starts_with('{') ? Literal(command, 4) : word;
  }
  log.Backlog().Add(std::move(entry));
  return true;
}

}  // namespace

void RegisterLogCommands(CommandTable& table) {
  constexpr uint8_t kLog = KindNumber(ObjectKind::kLog);
  table.AddObjectCommand<TKelObjectDataLog>(kLog, "i", Clear);
  table.AddObjectCommand<TKelObjectDataLog>(kLog, "t", AddEntry);
}

}  // namespace mavu::script
