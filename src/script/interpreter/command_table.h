#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "script/reader/word_buf.h"
#include "script/values/kel_object.h"

namespace mavu::script {

class TKelScript;

// One command as a handler sees it.
struct Command {
  TKelScript& script;
  std::string_view text;  // trimmed, as read
  const TWordBuf& words;  // word 0 is the command word
  int32_t code;           // CommandCode of word 0
  KelObject* object;      // the receiver of an object command; null for general ones
};

// True when the handler took the command. An object handler that does not take
// it makes the dispatcher report the command as undefined.
using CommandHandler = bool (*)(const Command& command);

// The general commands and the commands of each object kind, one small
// handler per command word. Registering a word again replaces its handler; a
// word longer than four letters can match no command and is not registered.
class CommandTable {
 public:
  void AddGeneral(std::string_view word, CommandHandler handler);
  void AddObjectCommand(uint8_t kind, std::string_view word, CommandHandler handler);
  // Takes every command word of the kind that has no handler of its own.
  void SetObjectFallback(uint8_t kind, CommandHandler handler) { fallbacks_[kind] = handler; }

  // Null when nothing is registered.
  CommandHandler General(int32_t code) const;
  CommandHandler ForObject(uint8_t kind, int32_t code) const;

 private:
  static uint64_t ObjectKey(uint8_t kind, int32_t code);

  std::unordered_map<int32_t, CommandHandler> general_;
  std::unordered_map<uint64_t, CommandHandler> objects_;
  std::unordered_map<uint8_t, CommandHandler> fallbacks_;
};

}  // namespace mavu::script
