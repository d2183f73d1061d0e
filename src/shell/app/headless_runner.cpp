#include "shell/app/headless_runner.h"

#include <iostream>
#include <system_error>

#include "base/cp932.h"
#include "base/error_log.h"
#include "base/file_io.h"
#include "resource/data_tree.h"
#include "resource/system_data.h"
#include "script/general_commands.h"
#include "script/kel_object_manager.h"
#include "script/object_commands.h"
#include "shell/app/variable_dump.h"

namespace mavu::shell {
namespace {

using script::SystemRequest;
using script::WaitState;

constexpr std::string_view kStartScript = "Startup.s";
constexpr std::string_view kStartLabel = "@@TOP";
constexpr std::string_view kSaveFolder = "SaveData";
constexpr std::string_view kBackUpSave = "BackUpSaveData.svd";
constexpr std::string_view kSceneReturnEvent = "*OnSceneReturn";

void Complain(const std::string& message) {
  std::cerr << "mavu: " << message << '\n';
}

// Screens and the memo editor that a headless run cannot show.
bool IsScreen(SystemRequest request) {
  switch (request) {
    case SystemRequest::Menu:
    case SystemRequest::Backlog:
    case SystemRequest::Text:
    case SystemRequest::View:
    case SystemRequest::SaveScreen:
    case SystemRequest::LoadScreen:
    case SystemRequest::Config:
      return true;
    default:
      return false;
  }
}

}  // namespace

THeadlessRunner::THeadlessRunner(TCommandLine line) : line_(std::move(line)) {}

// The interpreter goes before the packs it reads from.
THeadlessRunner::~THeadlessRunner() {
  script_.reset();
  resource::DataTree().UnmountDataPacks();
}

int THeadlessRunner::Run() {
  try {
    StartUp();
  } catch (const EStartupFailure& failure) {
    Complain(failure.what());
    return kExitStartupFailure;
  }
  const TEnd end = RunFrames();
  if (!ShutDown()) return kExitStartupFailure;
  return end == TEnd::ScriptError ? kExitScriptError : kExitNormal;
}

void THeadlessRunner::StartUp() {
  if (line_.unavailable) throw EStartupFailure(*line_.unavailable);
  THeadlessInputScript input = LoadInput();
  const TGameConfiguration configuration = StartGame(line_.game);
  input_.emplace(std::move(input), TKeyTable(configuration.game.KeyBindings),
                 configuration.game.ScreenWidth, configuration.game.ScreenHeight);
  CreateInterpreter(configuration);
  StartScript();
}

THeadlessInputScript THeadlessRunner::LoadInput() const {
  if (!line_.input) return {};
  const std::optional<base::Bytes> bytes = base::ReadWholeFile(*line_.input);
  if (!bytes) throw EStartupFailure("cannot read the input file " + line_.input->string());
  try {
    return THeadlessInputScript::Parse(*bytes);
  } catch (const base::FormatError& error) {
    throw EStartupFailure("input file " + line_.input->string() + ", " + error.what());
  }
}

void THeadlessRunner::CreateInterpreter(const TGameConfiguration& configuration) {
  shell_.fullScreen = configuration.user.FullScreen;
  shell_.interlace = configuration.user.Interlace;
  auto objects =
      std::make_unique<script::TKelObjectManager>(script::TObjectParts{backlog_, shell_});
  const std::filesystem::path saveRoot = line_.saveDir.value_or(line_.game);
  script_ = std::make_unique<script::TKelScript>(
      services_.Services(), std::move(objects), saveRoot / kSaveFolder, configuration.game.CodeKey);
  script::RegisterGeneralCommands(script_->Commands());
  script::RegisterObjectCommands(script_->Commands());
  script_->Settings().autoClickMs = configuration.user.AutoPlayClickTime;
  script_->Settings().movieDecoder = configuration.user.MovieDecoder;
  if (!script_->Initialize()) {
    for (const std::string& key : services_.notices) Complain(FatalMessage(key, key));
    throw EStartupFailure(FatalMessage(
        "EngineSetupERROR", "the script engine could not start (is the save folder writable?)"));
  }
}

void THeadlessRunner::StartScript() {
  script_->SetStartScript(kStartScript);
  script_->CancelSkip(false);
  script_->ExecuteLine("\\go,\"" + std::string(kStartLabel) + "\",\"" + std::string(kStartScript) +
                       "\"");
}

THeadlessRunner::TEnd THeadlessRunner::RunFrames() {
  PassOnWarnings();
  if (base::ErrorLog().ErrorFlag()) return TEnd::ScriptError;
  while (!line_.frames || frames_ < *line_.frames) {
    const TEnd end = Frame();
    PassOnWarnings();
    if (end != TEnd::Running) return end;
  }
  return TEnd::Normal;
}

THeadlessRunner::TEnd THeadlessRunner::Frame() {
  ++frames_;
  services_.clock.Advance(static_cast<uint64_t>(line_.frameMs));
  TFrameInput input = input_->Play(frames_, services_.clock.NowMs());
  services_.pointerX = input.pointerX;
  services_.pointerY = input.pointerY;
  services_.action = std::move(input.action);
  script_->UpdateFrame(line_.frameMs, true);
  script_->ComposeFrame(true, false);
  if (base::ErrorLog().ErrorFlag()) return TEnd::ScriptError;
  const TEnd end = CarryOut(script_->PendingRequest());
  if (end != TEnd::Running) return end;
  if (base::ErrorLog().ErrorFlag()) return TEnd::ScriptError;
  if (ScriptEnded()) return TEnd::Normal;
  if (WaitsForever()) {
    Complain("the script waits for a click after the last input event; the run ends at frame " +
             std::to_string(frames_));
    return TEnd::Normal;
  }
  return TEnd::Running;
}

// Confirmations count as answered yes; screens open and are left at once,
// as when the player cancels them.
THeadlessRunner::TEnd THeadlessRunner::CarryOut(SystemRequest request) {
  switch (request) {
    case SystemRequest::ExitNow:
    case SystemRequest::Exit:
      return TEnd::Normal;
    case SystemRequest::Reset:
      script_->ResetInterpreter();
      return TEnd::Running;
    case SystemRequest::SceneReturn:
      if (script_->SceneReturnAvailable()) {
        script_->SceneReturn();
        script_->SettleInput();
        script_->SetPendingEventLabel(kSceneReturnEvent);
      }
      return TEnd::Running;
    default:
      break;
  }
  if (IsScreen(request)) {
    script_->CancelSkip(false);
    script_->SettleInput();
  }
  return TEnd::Running;
}

bool THeadlessRunner::ScriptEnded() const {
  return script_->CurrentWaitState() == WaitState::Running && script_->Reader().AtEnd();
}

// Only a click ends these waits, and outside auto and skip modes only the
// input file gives one.
bool THeadlessRunner::WaitsForever() const {
  const script::TScriptModuleData& module = script_->Module();
  if (module.mode != script::SkipMode::Off || frames_ < input_->LastFrame()) return false;
  switch (script_->CurrentWaitState()) {
    case WaitState::Click:
    case WaitState::Button:
      return module.waitTime < 0;
    case WaitState::MessageEnd:
    case WaitState::Forever:
      return true;
    default:
      return false;
  }
}

void THeadlessRunner::PassOnWarnings() {
  for (const std::string& warning : services_.warnings) {
    Complain("warning: " + base::Cp932ToUtf8(warning));
  }
  services_.warnings.clear();
}

// As when the window closes: the backup save goes, the interpreter saves the
// system data; the user settings stay as they were, since nothing in a
// headless run changes them.
bool THeadlessRunner::ShutDown() {
  std::error_code error;
  std::filesystem::remove(line_.saveDir.value_or(line_.game) / kSaveFolder / kBackUpSave, error);
  if (!script_->SystemData().SaveSystemData(resource::kSystemDataName)) {
    Complain("the system data could not be saved: " + script_->SystemData().LastError());
  }
  if (!line_.dumpVars) return true;
  script::TKelCalculation& calculation = script_->Calculation();
  const std::string json =
      VariableDumpJson({calculation.GlobalTable(), calculation.SystemTable(),
                        base::ErrorLog().Errors(), script_->Reader().PositionText(), frames_});
  const auto* bytes = reinterpret_cast<const uint8_t*>(json.data());
  if (base::WriteFileAtomic(*line_.dumpVars, {bytes, json.size()})) return true;
  Complain("cannot write " + line_.dumpVars->string());
  return false;
}

}  // namespace mavu::shell
