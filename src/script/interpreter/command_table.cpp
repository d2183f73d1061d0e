#include "script/interpreter/command_table.h"

#include "script/interpreter/command_code.h"

namespace mavu::script {

void CommandTable::AddGeneral(std::string_view word, CommandHandler handler) {
  const int32_t code = CommandCode(word);
  if (code != kNoCommand) general_[code] = Plain(handler);
}

void CommandTable::AddObjectCommand(uint8_t kind, std::string_view word, CommandHandler handler) {
  AddObject(kind, word, Plain(handler));
}

void CommandTable::SetObjectFallback(uint8_t kind, CommandHandler handler) {
  fallbacks_[kind] = Plain(handler);
}

void CommandTable::AddObject(uint8_t kind, std::string_view word, Entry entry) {
  const int32_t code = CommandCode(word);
  if (code != kNoCommand) objects_[ObjectKey(kind, code)] = entry;
}

bool CommandTable::RunGeneral(const Command& command) const {
  auto it = general_.find(command.code);
  return Run(it == general_.end() ? nullptr : &it->second, command);
}

bool CommandTable::RunObject(const Command& command) const {
  const uint8_t kind = command.object->Kind();
  if (auto it = objects_.find(ObjectKey(kind, command.code)); it != objects_.end()) {
    return Run(&it->second, command);
  }
  auto fallback = fallbacks_.find(kind);
  return Run(fallback == fallbacks_.end() ? nullptr : &fallback->second, command);
}

bool CommandTable::Run(const Entry* entry, const Command& command) {
  return entry != nullptr && entry->run(entry->handler, command);
}

bool CommandTable::RunPlain(ErasedHandler handler, const Command& command) {
  return reinterpret_cast<CommandHandler>(handler)(command);
}

CommandTable::Entry CommandTable::Plain(CommandHandler handler) {
  return Entry{reinterpret_cast<ErasedHandler>(handler), &RunPlain};
}

uint64_t CommandTable::ObjectKey(uint8_t kind, int32_t code) {
  return (uint64_t{kind} << 32) | static_cast<uint32_t>(code);
}

}  // namespace mavu::script
