#include "script/interpreter/command_table.h"

#include "script/interpreter/command_code.h"

namespace mavu::script {

void CommandTable::AddGeneral(std::string_view word, CommandHandler handler) {
  const int32_t code = CommandCode(word);
  if (code != kNoCommand) general_[code] = handler;
}

void CommandTable::AddObjectCommand(uint8_t kind, std::string_view word, CommandHandler handler) {
  const int32_t code = CommandCode(word);
  if (code != kNoCommand) objects_[ObjectKey(kind, code)] = handler;
}

CommandHandler CommandTable::General(int32_t code) const {
  auto it = general_.find(code);
  return it == general_.end() ? nullptr : it->second;
}

CommandHandler CommandTable::ForObject(uint8_t kind, int32_t code) const {
  auto it = objects_.find(ObjectKey(kind, code));
  if (it != objects_.end()) return it->second;
  auto fallback = fallbacks_.find(kind);
  return fallback == fallbacks_.end() ? nullptr : fallback->second;
}

uint64_t CommandTable::ObjectKey(uint8_t kind, int32_t code) {
  return (uint64_t{kind} << 32) | static_cast<uint32_t>(code);
}

}  // namespace mavu::script
