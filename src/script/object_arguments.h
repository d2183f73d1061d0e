#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/command_table.h"
#include "script/return_value.h"

// What command handlers share: reading their arguments and writing
// the result variables. A missing argument reads as an empty expression
// (no value: 0 and empty text), as a command missing an argument should.
namespace mavu::script::arguments {

inline constexpr std::string_view kResultInt = "ResultInt";
inline constexpr std::string_view kResultStr = "ResultStr";

bool Has(const TCommand& command, int index);
TReturnValue Value(const TCommand& command, int index);
int32_t Integer(const TCommand& command, int index);
std::string Text(const TCommand& command, int index);
// The word taken literally from inside its brackets or quotes, not evaluated.
std::string Literal(const TCommand& command, int index);

void SetResultInt(const TCommand& command, int32_t value);
void SetResultStr(const TCommand& command, std::string_view value);

// The receiver as the class of its kind, or null when the object is of
// another class (the handler then does not take the command).
template <typename T>
T* Receiver(const TCommand& command) {
  return dynamic_cast<T*>(command.object);
}

}  // namespace mavu::script::arguments
