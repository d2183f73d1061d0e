#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/error_log.h"
#include "imaging/layers/stage.h"
#include "resource/system_data.h"
#include "script/interpreter/command_table.h"
#include "script/interpreter/control_flow.h"
#include "script/interpreter/interpreter_services.h"
#include "script/interpreter/jump_commands.h"
#include "script/interpreter/kel_text_dialog.h"
#include "script/interpreter/object_registry.h"
#include "script/interpreter/parsed_command.h"
#include "script/interpreter/run_context.h"
#include "script/interpreter/script_module_data.h"
#include "script/interpreter/system_vocabulary.h"
#include "script/reader/kel_reader.h"
#include "script/reader/reader_events.h"
#include "script/values/kel_calculation.h"
#include "script/values/return_value.h"
#include "script/values/script_error_sink.h"
#include "script/values/text_cache.h"

namespace mavu::script {

// The interpreter (`TKelScript`). Once per frame the system object calls
// UpdateFrame, which advances the timers and the current wait, turns mapped
// input into system requests or skip modes, advances the objects and the stage,
// and then runs commands until one waits, an error is raised or the frame's
// command budget is spent. A command is offered to the control flow, the jumps
// and calls, the label check, the general commands and finally to every object
// in the object scope (see ExecuteCommand).
//
// Script failures never throw: they go to the error log through ScriptError,
// whose flag stops the execution loop until the system object clears it.
class TKelScript : public RunContext,
                   private ScriptErrorSink,
                   private ReaderEvents,
                   private base::ErrorContextSource,
                   private resource::SystemVariableStream {
 public:
  static constexpr int32_t kMaxElapsedTime = 0x0FFFFFFF;
  // While skipping, the loop stops once the command index passes this.
  static constexpr int32_t kSkipCommandLimit = 2048;
  static constexpr int kSkipClicks = 2;  // simulated clicks before and after a command
  static constexpr int32_t kSettleSteps = 2;
  static constexpr int32_t kHoldSteps = 2;
  static constexpr int kPresenceCheckInterval = 40;
  // A scene-skip target stops skipping within this many lines (exclusive).
  static constexpr int32_t kSceneSkipTargetLines = 3;
  static constexpr int32_t kSystemButtonPressMs = 10;
  static constexpr int32_t kSystemButtonPauseMs = 50;
  static constexpr int32_t kQuickSavePauseMs = 250;
  static constexpr int32_t kVoiceFadeMs = 250;
  static constexpr int32_t kMovieClickDelayMs = 1500;
  // Split commands kept by their text.
  static constexpr size_t kCommandCacheSize = 4096;
  static constexpr size_t kLongestKeptCommand = 1024;

  TKelScript(InterpreterServices services, imaging::Stage& stage,
             std::unique_ptr<ObjectRegistry> objects, std::filesystem::path saveFolder,
             uint32_t codeKey);
  ~TKelScript() override;
  TKelScript(const TKelScript&) = delete;
  TKelScript& operator=(const TKelScript&) = delete;

  // Prepares the save folder, loads the system data (or its ".bak" copy, a
  // copy passed over being a warning), hooks the file log to the data tree and
  // resets. False, after telling the
  // player, when the save folder cannot be prepared.
  bool Initialize();

  void UpdateFrame(int32_t elapsed, bool inputAllowed);
  void ExecuteCommand(std::string_view text);
  // Runs every non-empty piece between backslashes as a command, at once.
  void ExecuteLine(std::string_view text);
  void Click(int32_t x, int32_t y, bool simulated);
  void ComposeFrame(bool full);

  // Cleared at the start of every UpdateFrame; none while a movie plays.
  SystemRequest PendingRequest() const;
  SystemAction MappedKeyAction() const;
  // The wait state; Movie while a movie plays.
  WaitState CurrentWaitState() const;

  // Leaves auto and skip modes; without `force` nothing happens while a
  // scene-skip target is active.
  void CancelSkip(bool force);
  // Makes the next step run with no time passing (after a long load).
  void SettleInput();

  void Reset();
  // Reset, then run "@@reset" of the start script.
  void ResetInterpreter();

  // --- Saved games (kel_script_save.cpp); names are files in the save folder ---
  // Nothing happens for an empty name. False when the file could not be
  // written; the file it replaces is then kept.
  bool SaveGame(std::string_view name, bool compressed);
  // On failure the reason goes to the error log and the game goes on as it was.
  bool LoadGame(std::string_view name);
  // The file exists and its header reads.
  bool IsLoadableSave(std::string_view name) const;
  bool SaveExists(std::string_view name) const;
  // Removing a file that is not there is no failure.
  void DeleteSave(std::string_view name);
  // The quick save's file: in rotating mode the first of the numbered files
  // that is missing, else the one saved longest ago (empty when no header reads).
  std::string NextQuickSaveName() const;
  // The state stream; false when a variable table could not be written whole.
  bool WriteGameState(base::ByteWriter& out);
  // Installs a state stream whole, or leaves the game as it was and says why.
  bool InstallGameState(std::span<const uint8_t> state, std::string& why);
  TKelTextDialog& TextDialog() { return textDialog_; }

  bool QuickSavePresent(bool force);
  bool SelectSavePresent(bool force);
  bool AutoAvailable() const;
  bool SkipAvailable() const;
  bool LogSkipAvailable() const { return SkipAvailable(); }
  bool SceneSkipAvailable() const;
  bool StartSceneSkip(bool noLoad);
  bool SceneReturnAvailable();
  bool SceneReturn();
  // A motion played once on the event indicator after the next advance.
  // Posts a system request for the shell to carry out after this frame.
  void PostRequest(SystemRequest request) { request_ = request; }
  void SetPendingEventLabel(std::string_view motion) { pendingEvent_ = motion; }

  // --- What command handlers use ---
  ObjectRegistry& Objects() { return *objects_; }
  CommandTable& Commands() { return commands_; }
  InterpreterServices& Services() { return services_; }
  imaging::Stage& Stage() { return stage_; }
  InterpreterSettings& Settings() { return settings_; }
  resource::SystemData& SystemData() { return systemData_; }

  bool ErrorRaised() const;

  // Starting a wait: the state, and the time for the timed ones (-1 = until clicked).
  void BeginWait(WaitState state, int32_t time);
  // Steps in which no command runs (time with no argument, draw); ignored
  // while skipping.
  void HoldSteps(int32_t steps);
  bool Skipping() const;
  void SetMode(SkipMode mode);
  void LeaveSkip() { SetMode(SkipMode::kOff); }
  int32_t AutoAdvanceDelay() const { return autoDelay_; }
  void AddAutoAdvanceDelay(int32_t ms);
  void SetSceneSkipTarget(int32_t line);
  bool SceneSkipShown() const { return sceneSkipShown_; }

  void SetStartScript(std::string_view name) { startScript_ = name; }
  const std::string& StartScript() const { return startScript_; }
  // Raised at the start of every reset.
  void SetResetEvent(std::function<void()> event) { resetEvent_ = std::move(event); }

 private:
  // ScriptErrorSink
  void ScriptError(const std::string& message) override;
  // ReaderEvents
  void LineReached(const std::string& key, int32_t offset) override;
  void PositionWarning(const std::string& text) override;
  void ReaderError(const std::string& message) override;
  void ScriptReplacing() override;
  // ErrorContextSource: the position of the command being executed.
  std::string ErrorContext() const override;
  // SystemVariableStream
  bool WriteVariables(base::ByteWriter& out) override;
  void ReadVariables(base::ByteReader& in) override;

  // The first load of system data; unreadable copies become warnings.
  void LoadSystemDataAtStart();
  void DeclareSystemVariables();
  void DeclareObjectVariable(std::string_view name, std::string_view kind, int32_t count);
  void DeclareValueVariable(std::string_view name, ValueKind kind, std::string_view kindName,
                            int16_t rights);
  void Dispatch(const Command& command);
  void SendToScope(const Command& command);
  // A save file's presence, looked at again on every kPresenceCheckInterval-th call.
  struct Presence {
    bool present = false;
    int calls = kPresenceCheckInterval;
  };
  bool PresenceOf(std::string_view file, bool force, Presence& presence);

  void ApplyGameState(std::span<const uint8_t> state, bool withSound);
  bool TakeBack(std::span<const uint8_t> state);
  std::optional<std::filesystem::path> SaveFilePath(std::string_view name) const;
  // What a load ends with: a whole new picture, no skipping, no leftovers of
  // the frame it interrupted.
  void SettleAfterLoad();
  // The pending request, holds, freezes, time bonus, auto delay and scene-skip
  // target of the frame being run.
  void DropFrameState();

  // UpdateFrame's steps (kel_script_frame.cpp).
  void StepSceneSkip(int32_t elapsed);
  bool TakeInput(bool inputAllowed);
  void ApplyAction(SystemAction action, bool& skipping);
  void ApplySystemAction(SystemAction action);
  void ApplyModeAction(SystemAction action);
  void RequestUnlessLocked(SystemRequest request, uint32_t lockBits);
  void ModeUnlessLocked(SkipMode mode, uint32_t lockBits);
  void HandleMode();
  int32_t AdvanceTime(int32_t elapsed);
  void AdvanceScene(int32_t ms);
  std::string_view WaitMotion() const;
  void RunCommands(bool& skipping);
  bool StopAtSceneSkipTarget();
  void ClickWhileSkipping();
  void UpdateWait();
  bool WaitEnded();
  void UpdateMessageWait();

  // Click and the system buttons (kel_script_click.cpp).
  bool ClickSystemButton(int32_t x, int32_t y);
  void PressSystemButton(SystemButton& button);
  void ToggleModeButton(SystemButton& button, SkipMode mode);
  void RefreshSystemButtons();
  void ClickWait(int32_t x, int32_t y, bool positioned);
  void ClickJumpWait(int32_t result);
  void ClickButtonWait(int32_t x, int32_t y);
  void ClickMovie(int32_t x, int32_t y, bool positioned);

  InterpreterServices services_;
  imaging::Stage& stage_;
  InterpreterSettings settings_;
  std::unique_ptr<ObjectRegistry> objects_;
  std::filesystem::path saveFolder_;
  uint32_t codeKey_;
  resource::SystemData systemData_;
  TKelTextDialog textDialog_;
  CommandTable commands_;
  TextCache<ParsedCommand> commandCache_{ParseCommand, kCommandCacheSize, kLongestKeptCommand};
  ControlFlow controlFlow_;
  JumpCommands jumps_;

  SystemRequest request_ = SystemRequest::kNone;
  int32_t holdCounter_ = 0;
  int32_t freezeCounter_ = 0;
  int32_t timeBonus_ = 0;
  int32_t autoDelay_ = 0;
  int32_t sceneSkipTarget_ = 0;
  bool sceneSkipTargetActive_ = false;
  bool sceneSkipShown_ = false;
  std::string pendingEvent_;
  // Taken at every command; made into text only for an error, or before the
  // script it points into goes.
  TKelReader::Position errorPosition_;
  std::optional<std::string> errorPositionText_ = std::string();
  std::string startScript_;
  std::function<void()> resetEvent_;
  bool hooked_ = false;
  Presence quickSave_;
  Presence selectSave_;
};

}  // namespace mavu::script
