#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "base/sound_player.h"
#include "imaging/layers/stage.h"
#include "script/interpreter/kel_script.h"
#include "shell/app/command_line.h"
#include "shell/app/game_startup.h"
#include "shell/app/headless_input_player.h"
#include "shell/app/headless_services.h"
#include "shell/platform/headless/scripted_dialogs.h"

namespace mavu::shell {

// `mavu --game DIR --headless`: the engine without window, sound or dialogs,
// on a simulated clock. Start-up mounts the game and starts "Startup.s" at
// "@@TOP"; then every frame advances the clock by the frame time, plays the
// input file's events of that frame, updates the interpreter and carries out
// the request it posted. The run ends when the script ends (nothing left to
// run), when it asks to exit, when a script error stops it, when the frame
// limit is reached, or when it waits for a click that the input file no longer
// gives. Dialogs are answered yes; system screens close at once.
class HeadlessRunner {
 public:
  static constexpr int kExitNormal = 0;
  static constexpr int kExitScriptError = 1;
  static constexpr int kExitStartupFailure = kFatalExitCode;

  explicit HeadlessRunner(CommandLine line);
  ~HeadlessRunner();
  HeadlessRunner(const HeadlessRunner&) = delete;
  HeadlessRunner& operator=(const HeadlessRunner&) = delete;

  // The process's exit code: kExitStartupFailure also when the dump cannot be
  // written. Messages go to standard error.
  int Run();

 private:
  enum class End { kRunning, kNormal, kScriptError, kWriteFailed };

  // Throws StartupFailure.
  void StartUp();
  HeadlessInputScript LoadInput() const;
  void FeedAnswers(const HeadlessInputScript& input);
  void CreateInterpreter(const GameConfiguration& configuration);
  void StartScript();

  End RunFrames();
  End Frame();
  End CarryOut(script::SystemRequest request);
  // The script has nothing left to run.
  bool ScriptEnded() const;
  // The script waits for a click and no later input can give one.
  bool WaitsForever() const;
  void PassOnWarnings();
  bool WriteShot();
  bool WritePicture(const std::filesystem::path& path);

  // The close sequence; false when the dump could not be written.
  bool ShutDown();

  CommandLine line_;
  HeadlessServices services_;
  HeadlessSystemShell shell_;
  base::NullSoundPlayer sound_;
  imaging::Stage stage_{&sound_};
  std::optional<HeadlessInputPlayer> input_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<script::TKelScript> script_;
  int64_t frames_ = 0;
};

}  // namespace mavu::shell
