#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/interpreter/command_table.h"
#include "script/values/return_value.h"

// What command handlers share: reading their arguments and writing
// the result variables. A missing argument reads as an empty expression
// (no value: 0 and empty text), as a command missing an argument should.
namespace mavu::script::arguments {

inline constexpr std::string_view kResultInt = "ResultInt";
inline constexpr std::string_view kResultStr = "ResultStr";

bool Has(const Command& command, int index);
TReturnValue Value(const Command& command, int index);
int32_t Integer(const Command& command, int index);
std::string Text(const Command& command, int index);
// The word taken literally from inside its brackets or quotes, not evaluated.
std::string Literal(const Command& command, int index);

void SetResultInt(const Command& command, int32_t value);
void SetResultStr(const Command& command, std::string_view value);

}  // namespace mavu::script::arguments
