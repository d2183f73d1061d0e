#include "script/interpreter/command_arguments.h"

#include "script/interpreter/kel_script.h"
#include "script/reader/word_buf.h"

namespace mavu::script::arguments {

bool Has(const Command& command, int index) {
  return index > 0 && index < command.words.count;
}

TReturnValue Value(const Command& command, int index) {
  if (!Has(command, index)) return TReturnValue::None();
  return command.script.Evaluate(command.words.words[index]);
}

int32_t Integer(const Command& command, int index) {
  return Value(command, index).integer;
}

std::string Text(const Command& command, int index) {
  return Value(command, index).Text();
}

std::string Literal(const Command& command, int index) {
  if (!Has(command, index)) return {};
  return BracketContent(command.words.words[index]);
}

void SetResultInt(const Command& command, int32_t value) {
  command.script.SetResultInteger(kResultInt, value);
}

void SetResultStr(const Command& command, std::string_view value) {
  command.script.SetResultString(kResultStr, value);
}

}  // namespace mavu::script::arguments
