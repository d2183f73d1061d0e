#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/dialog_service.h"
#include "imaging/layers/stage.h"
#include "script/interpreter/interpreter_services.h"
#include "script/objects/system_shell.h"
#include "shell/app/game_startup.h"
#include "shell/display/display.h"
#include "shell/input/input.h"
#include "shell/sound/audio_output.h"
#include "shell/sound/sound.h"
#include "shell/system/kel_system.h"

namespace mavu::shell {

// What a back end gives the game: the window (or its headless stand-ins) and
// the devices behind it. Owned by the back end, alive for the whole run.
struct PlatformDevices {
  base::Clock& clock;
  Display& display;
  TInput& input;
  base::DialogService& dialogs;
  AudioOutput& audio;
  script::MoviePlayer& movie;
};

// One game from start-up to the close sequence, the same for a window and a
// headless run: the settings, the stage, the interpreter and the system
// object that runs them, and the player-facing notices and settings the
// interpreter reaches through the shell.
class GameApp final : public script::SystemShell, public script::InterpreterNotices {
 public:
  static constexpr std::string_view kStartScript = "Startup.s";

  GameApp(PlatformDevices devices, std::filesystem::path gameFolder,
          std::filesystem::path saveRoot);
  ~GameApp() override;
  GameApp(const GameApp&) = delete;
  GameApp& operator=(const GameApp&) = delete;

  // Mounts the game, reads its settings, gives the input state the game's key
  // table and frame size and the display the game's icon. Throws
  // StartupFailure with the player's message.
  void ReadGame();
  // Starts the sound output; without one the game runs silent (a warning).
  void StartSound();
  // Creates the interpreter and the system object. Throws StartupFailure.
  void CreateSystem();
  // Starts "Startup.s" in the player's screen mode.
  void StartStory();
  // The close sequence once the player has decided to go: the backup save is
  // removed and the system data saved; the user settings are written back
  // when `writeSettings` (a window run, where the player can change them).
  // Warnings go to `warnings`.
  void Close(bool writeSettings);

  TKelSystem& System() { return *system_; }
  const GameConfiguration& Configuration() const { return configuration_; }
  imaging::Stage& Stage() { return stage_; }
  TSound& Sound() { return sound_; }
  const std::filesystem::path& SaveFolder() const { return saveFolder_; }
  // Texts for standard error: warnings and notices not yet passed on.
  std::vector<std::string> TakeMessages();

  // SystemShell
  int32_t FullScreenSetting() const override;
  int32_t InterlaceSetting() const override { return configuration_.user.Interlace; }
  void SetInterlaceSetting(int32_t value) override;
  void SetVersionText(std::string_view text) override { versionText_ = text; }
  void ExtensionEvent(std::string_view) override {}
  void ExtensionReset() override {}

  // InterpreterNotices
  void ShowWarning(const std::string& text) override;
  void ShowKeyedNotice(std::string_view textKey, std::string_view buttonKey) override;

 private:
  std::unique_ptr<script::TKelScript> CreateInterpreter();
  void ApplyUserSettingsToStage();
  void ApplyUserSettingsToSound();
  void LoadIcon();
  // The screen the game asks for, within the engine's limits.
  ScreenMode PlayerScreenMode() const;

  PlatformDevices devices_;
  std::filesystem::path gameFolder_;
  std::filesystem::path saveFolder_;
  GameConfiguration configuration_;
  TSound sound_;
  imaging::Stage stage_;
  std::unique_ptr<TKelSystem> system_;
  std::string versionText_;
  std::vector<std::string> messages_;
};

}  // namespace mavu::shell
