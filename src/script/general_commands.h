#pragma once

#include "script/command_table.h"

// The general commands: those that need no object in scope. The waits
// (wait_commands.h) and the control flow register themselves elsewhere.
namespace mavu::script {

// All of the groups below.
void RegisterGeneralCommands(TCommandTable& table);

// var, gvar, svar, del, cal, vexs, fstr, fint.
void RegisterVariableCommands(TCommandTable& table);
// trim, copy, pos, div.
void RegisterStringCommands(TCommandTable& table);
// bmat, bspl, bsub, btra.
void RegisterRegexCommands(TCommandTable& table);
// fmt, crc, code.
void RegisterFormatCommands(TCommandTable& table);
// scp, swap, fexs, and dout, dbrk, ddlg (accepted and ignored).
void RegisterMiscCommands(TCommandTable& table);

}  // namespace mavu::script
