#include "script/interpreter/parsed_command.h"

#include "script/interpreter/command_code.h"

namespace mavu::script {

ParsedCommand ParseCommand(std::string_view trimmed) {
  ParsedCommand parsed;
  SplitWords(parsed.words, trimmed, ',');
  parsed.code = CommandCode(parsed.words.words[0]);
  return parsed;
}

}  // namespace mavu::script
