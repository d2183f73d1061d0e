#pragma once

#include "script/interpreter/command_table.h"

// The general commands: those that need no object in scope. Control flow,
// jumps and labels are the interpreter's own.
namespace mavu::script {

// All of the groups below, and the waits (wait_commands.h).
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
