#pragma once

#include "script/interpreter/command_table.h"

namespace mavu::script {

// The general commands that make the interpreter wait: wait, clk, time, sndt,
// wav, btn, msg and draw.
void RegisterWaitCommands(CommandTable& table);

}  // namespace mavu::script
