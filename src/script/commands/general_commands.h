#pragma once

#include "script/interpreter/command_table.h"

// The general commands: those that need no object in scope. The waits
// (wait_commands.h) and the control flow register themselves elsewhere.
namespace mavu::script {

// All of the groups below.
void RegisterGeneralCommands(CommandTable& table);

// var, gvar, svar, del, cal, vexs, fstr, fint.
void RegisterVariableCommands(CommandTable& table);
// trim, copy, pos, div.
void RegisterStringCommands(CommandTable& table);
// bmat, bspl, bsub, btra.
void RegisterRegexCommands(CommandTable& table);
// fmt, crc, code.
void RegisterFormatCommands(CommandTable& table);
// scp, swap, fexs, and dout, dbrk, ddlg (accepted and ignored).
void RegisterMiscCommands(CommandTable& table);

}  // namespace mavu::script
