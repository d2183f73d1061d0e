#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "imaging/layers/stage.h"
#include "script/commands/general_commands.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_manager.h"
#include "script/objects/object_commands.h"
#include "shell/sound/sound.h"
#include "support/mounted_game.h"
#include "support/script/recording_services.h"
#include "support/script/recording_system_shell.h"

namespace mavu::test {

// A whole game without a window: the interpreter with the real objects and
// sound over the files of a mounted pack, started at "@@start" of "main.s".
// Header-only, for the fuzz targets and benchmarks that save and load it.
class LiveGame {
 public:
  LiveGame(const std::map<std::string, std::string>& files, const std::filesystem::path& saveFolder,
           int width, int height)
      : game_(files) {
    auto registry =
        std::make_unique<script::TKelObjectManager>(script::ObjectParts{stage_, shell_, sound_});
    script_ = std::make_unique<script::TKelScript>(
        script::InterpreterServices{services_, sound_, services_, services_, services_.clock},
        stage_, std::move(registry), saveFolder, 0x1234);
    script::RegisterGeneralCommands(script_->Commands());
    script::RegisterObjectCommands(script_->Commands());
    if (!script_->Initialize()) throw std::runtime_error("the interpreter did not start");
    stage_.Graphic().SetScreenSize(width, height);
    script_->ExecuteLine("\\go,@@start,\"main.s\"");
  }

  script::TKelScript& Script() { return *script_; }
  imaging::Stage& Stage() { return stage_; }
  void Frames(int count) {
    for (int frame = 0; frame < count; ++frame) script_->UpdateFrame(kFrameMs, true);
  }

  static constexpr int32_t kFrameMs = 25;

 private:
  MountedGame game_;
  script::RecordingServices services_;
  script::RecordingSystemShell shell_;
  shell::TSound sound_{services_.clock};
  imaging::Stage stage_{&sound_};
  std::unique_ptr<script::TKelScript> script_;
};

}  // namespace mavu::test
