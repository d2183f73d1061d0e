#pragma once

#include "script/command_table.h"
#include "script/object_kinds.h"

namespace mavu::script {

// The commands of every object kind whose behaviour the script library holds.
void RegisterObjectCommands(TCommandTable& table);

// One kind each (or the two read-log kinds together).
void RegisterSystemCommands(TCommandTable& table);      // sys
void RegisterSystemDataCommands(TCommandTable& table);  // sdat
void RegisterLogCommands(TCommandTable& table);         // log
void RegisterReplaceCommands(TCommandTable& table);     // rep
void RegisterPathCommands(TCommandTable& table);        // path
void RegisterFileCommands(TCommandTable& table);        // file
void RegisterReadLogCommands(TCommandTable& table);     // slog, flog
void RegisterMathCommands(TCommandTable& table);        // math
void RegisterExtendCommands(TCommandTable& table);      // ext

}  // namespace mavu::script
