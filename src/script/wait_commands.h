#pragma once

#include "script/command_table.h"

namespace mavu::script {

// The general commands that make the interpreter wait: wait, clk, time, sndt,
// wav, btn, msg and draw.
void RegisterWaitCommands(TCommandTable& table);

}  // namespace mavu::script
