#include "script/object_arguments.h"

#include "script/kel_script.h"
#include "script/word_buf.h"

namespace mavu::script::arguments {

bool Has(const TCommand& command, int index) {
  return index > 0 && index < command.words.count;
}

TReturnValue Value(const TCommand& command, int index) {
  if (!Has(command, index)) return TReturnValue::None();
  return command.script.Evaluate(command.words.words[index]);
}

int32_t Integer(const TCommand& command, int index) {
  return Value(command, index).integer;
}

std::string Text(const TCommand& command, int index) {
  return Value(command, index).text;
}

std::string Literal(const TCommand& command, int index) {
  if (!Has(command, index)) return {};
  return BracketContent(command.words.words[index]);
}

void SetResultInt(const TCommand& command, int32_t value) {
  command.script.SetResultInteger(kResultInt, value);
}

void SetResultStr(const TCommand& command, std::string_view value) {
  command.script.SetResultString(kResultStr, value);
}

}  // namespace mavu::script::arguments
