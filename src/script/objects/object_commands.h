#pragma once

#include "script/interpreter/command_table.h"
#include "script/objects/object_kinds.h"

namespace mavu::script {

// The commands of every object kind whose behaviour the script library holds.
void RegisterObjectCommands(CommandTable& table);

// One kind each (or the two read-log kinds together).
void RegisterSystemCommands(CommandTable& table);      // sys
void RegisterSystemDataCommands(CommandTable& table);  // sdat
void RegisterGameDataCommands(CommandTable& table);    // dat
void RegisterLogCommands(CommandTable& table);         // log
void RegisterReplaceCommands(CommandTable& table);     // rep
void RegisterPathCommands(CommandTable& table);        // path
void RegisterFileCommands(CommandTable& table);        // file
void RegisterReadLogCommands(CommandTable& table);     // slog, flog
void RegisterMathCommands(CommandTable& table);        // math
void RegisterExtendCommands(CommandTable& table);      // ext
void RegisterLayerCommands(CommandTable& table);       // img, simg, btn, sbtn, csr, scsr
void RegisterEffectCommands(CommandTable& table);      // eff
void RegisterCameraCommands(CommandTable& table);      // cam
void RegisterMessageCommands(CommandTable& table);     // msg, and the text of btn and sbtn
void RegisterSoundCommands(CommandTable& table);       // snd, dsnd

}  // namespace mavu::script
