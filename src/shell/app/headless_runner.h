#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "shell/app/command_line.h"
#include "shell/app/game_app.h"
#include "shell/app/game_startup.h"
#include "shell/app/silent_media.h"
#include "shell/input/input.h"
#include "shell/platform/headless/headless_audio.h"
#include "shell/platform/headless/headless_display.h"
#include "shell/platform/headless/headless_input_source.h"
#include "shell/platform/headless/scripted_dialogs.h"
#include "shell/system/standard_dialogs.h"

namespace mavu::shell {

// `mavu --game DIR --headless`: the engine's own frame loop on headless
// devices: a simulated clock, frames and sound mixed in memory, the input file's
// events and dialogs answered with their first button. Every frame advances
// the clock by the frame time and runs one due frame of the system object.
// The run ends when the script ends (nothing left to run), when the game
// exits, when a script error stops it, when the frame limit is reached, or
// when it waits for a click that the input file no longer gives.
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

  End RunFrames();
  End Frame();
  // The script has nothing left to run.
  bool ScriptEnded();
  // The script waits for a click and no later input can give one.
  bool WaitsForever();
  void PassOnMessages();
  bool WriteShot();
  bool WritePicture(const std::filesystem::path& path);
  // The close sequence; false when the dump could not be written.
  bool ShutDown();

  CommandLine line_;
  base::SimulatedClock clock_;
  SilentMedia media_;
  HeadlessAudio audio_{clock_};
  HeadlessDisplay display_;
  std::optional<HeadlessInputSource> inputSource_;
  TInput input_{clock_, KeyTable(), 1, 1};
  ScriptedDialogs answers_;
  StandardDialogs dialogs_{answers_};
  std::unique_ptr<GameApp> app_;
  int64_t frames_ = 0;
};

}  // namespace mavu::shell
