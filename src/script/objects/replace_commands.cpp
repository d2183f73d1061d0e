#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"

// The rep object: the reader's replacement table, its switch and the texts
// it puts on plain and empty lines. Patterns and texts are taken literally.
namespace mavu::script {
namespace {

using namespace arguments;

TKelReader& Reader(const Command& command) {
  return command.script.Reader();
}

uint8_t ModeArgument(const Command& command, int index) {
  return static_cast<uint8_t>(Integer(command, index));
}

// a,pattern,replacement,mode. An empty pattern replaces nothing and is not kept.
bool Add(const Command& command) {
  const std::string pattern = Literal(command, 1);
  if (pattern.empty()) return true;
  if (!Reader(command).AddReplacement(pattern, Literal(command, 2), ModeArgument(command, 3))) {
    command.script.ReportError(messages::ReplaceTableFull() + std::string(command.text));
  }
  return true;
}

bool Remove(const Command& command) {
  Reader(command).RemoveReplacement(Literal(command, 1));
  return true;
}

bool Clear(const Command& command) {
  Reader(command).ClearReplacements();
  return true;
}

// s,slot,pattern,replacement,mode
bool SetSlot(const Command& command) {
  if (!Reader(command).SetReplacementSlot(Integer(command, 1), Literal(command, 2),
                                          ModeArgument(command, 4), Literal(command, 3))) {
    command.script.ReportError(messages::ReplaceSlotOutOfRange() + std::string(command.text));
  }
  return true;
}

// lk,n: any n but 0 turns replacement off.
bool Lock(const Command& command) {
  Reader(command).SetReplacementEnabled(Integer(command, 1) == 0);
  return true;
}

bool TextLinePrefix(const Command& command) {
  Reader(command).SetTextLinePrefix(Literal(command, 1));
  return true;
}

bool EmptyLineText(const Command& command) {
  Reader(command).SetEmptyLineText(Literal(command, 1));
  return true;
}

}  // namespace

void RegisterReplaceCommands(CommandTable& table) {
  constexpr uint8_t kRep = KindNumber(ObjectKind::kReplace);
  table.AddObjectCommand(kRep, "a", Add);
  table.AddObjectCommand(kRep, "d", Remove);
  table.AddObjectCommand(kRep, "i", Clear);
  table.AddObjectCommand(kRep, "s", SetSlot);
  table.AddObjectCommand(kRep, "lk", Lock);
  table.AddObjectCommand(kRep, "et", TextLinePrefix);
  table.AddObjectCommand(kRep, "nt", EmptyLineText);
}

}  // namespace mavu::script
