#pragma once

#include <cstdlib>
#include <memory>
#include <string_view>

#include "fuzz_game_folder.h"
#include "imaging/layers/stage.h"
#include "script/commands/general_commands.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_manager.h"
#include "script/objects/object_commands.h"
#include "shell/sound/sound.h"
#include "support/mounted_game.h"
#include "support/script/recording_services.h"
#include "support/script/recording_system_shell.h"

// An interpreter with the real objects and sound, playing a small scene from
// "main.s" in a mounted pack: the game whose state the state-stream fuzz target and its
// seeds write and read.
namespace mavu::fuzz {

inline constexpr std::string_view kStateScene =
    "@@start\n"
    "\\gvar,img,a\\gvar,msg,m\\gvar,int,n,grid[2,2]\\gvar,str,s\\cal,n=3,s=\"x\"\n"
    "\\scp,a\\fr,0,0,20,20,$FFFFFFFFFFFF0000\\e\\p,10,10,5,500\n"
    "\\scp,m\\ts,0,0,200,40\\e\\t,[spd,50]text on its way\n"
    "\\scp,cam\\p,5,5,400\n"
    "\\sub,@@inner\n"
    "@@inner\n"
    "\\if,n==3\n"
    "\\wait,100000\n"
    "\\fi\n";

class GameStateSession {
 public:
  GameStateSession() : game_({{"main.s", std::string(kStateScene)}}) {
    auto registry =
        std::make_unique<script::TKelObjectManager>(script::ObjectParts{stage_, shell_, sound_});
    script_ = std::make_unique<script::TKelScript>(
        script::InterpreterServices{services_, sound_, services_, services_, services_.clock},
        stage_, std::move(registry), GamePath() / "SaveData", 0x1234);
    script::RegisterGeneralCommands(script_->Commands());
    script::RegisterObjectCommands(script_->Commands());
    if (!script_->Initialize()) std::abort();
    stage_.Graphic().SetScreenSize(320, 240);
    script_->ExecuteLine("\\go,@@start,\"main.s\"");
    for (int frame = 0; frame < 6; ++frame) script_->UpdateFrame(25, true);
  }

  script::TKelScript& Script() { return *script_; }

 private:
  test::MountedGame game_;
  script::RecordingServices services_;
  script::RecordingSystemShell shell_;
  shell::TSound sound_{services_.clock};
  imaging::Stage stage_{&sound_};
  std::unique_ptr<script::TKelScript> script_;
};

}  // namespace mavu::fuzz
