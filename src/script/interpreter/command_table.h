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
//
// An object command names the class its receiver must have once, at
// registration; its handler then gets the object itself. A receiver of another
// class (only a test's stand-in can be one) does not take the command.
class CommandTable {
 public:
  void AddGeneral(std::string_view word, CommandHandler handler);
  // A command of a kind whose objects carry no state of their own.
  void AddObjectCommand(uint8_t kind, std::string_view word, CommandHandler handler);
  template <typename Receiver>
  void AddObjectCommand(uint8_t kind, std::string_view word,
                        bool (*handler)(Receiver& receiver, const Command& command)) {
    AddObject(kind, word, Entry{reinterpret_cast<ErasedHandler>(handler), &RunOn<Receiver>});
  }
  // Takes every command word of the kind that has no handler of its own.
  void SetObjectFallback(uint8_t kind, CommandHandler handler);

  // Whether a handler took the command; false when none is registered.
  bool RunGeneral(const Command& command) const;
  bool RunObject(const Command& command) const;

 private:
  using ErasedHandler = void (*)();
  struct Entry {
    ErasedHandler handler = nullptr;
    bool (*run)(ErasedHandler handler, const Command& command) = nullptr;
  };

  static bool RunPlain(ErasedHandler handler, const Command& command);
  template <typename Receiver>
  static bool RunOn(ErasedHandler handler, const Command& command) {
    auto* receiver = dynamic_cast<Receiver*>(command.object);
    if (receiver == nullptr) return false;
    return reinterpret_cast<bool (*)(Receiver&, const Command&)>(handler)(*receiver, command);
  }
  static Entry Plain(CommandHandler handler);
  static uint64_t ObjectKey(uint8_t kind, int32_t code);
  void AddObject(uint8_t kind, std::string_view word, Entry entry);
  static bool Run(const Entry* entry, const Command& command);

  std::unordered_map<int32_t, Entry> general_;
  std::unordered_map<uint64_t, Entry> objects_;
  std::unordered_map<uint8_t, Entry> fallbacks_;
};

}  // namespace mavu::script
