#include "shell/app/headless_runner.h"

#include <cstdio>
#include <iostream>
#include <system_error>

#include "base/cp932.h"
#include "base/error_log.h"
#include "base/file_io.h"
#include "imaging/png_writer.h"
#include "resource/data_tree.h"
#include "resource/system_data.h"
#include "script/commands/general_commands.h"
#include "script/objects/kel_object_manager.h"
#include "script/objects/object_commands.h"
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
    case SystemRequest::kMenu:
    case SystemRequest::kBacklog:
    case SystemRequest::kText:
    case SystemRequest::kView:
    case SystemRequest::kSaveScreen:
    case SystemRequest::kLoadScreen:
    case SystemRequest::kConfig:
      return true;
    default:
      return false;
  }
}

}  // namespace

HeadlessRunner::HeadlessRunner(CommandLine line) : line_(std::move(line)) {}

// The interpreter goes before the packs it reads from.
HeadlessRunner::~HeadlessRunner() {
  script_.reset();
  resource::TheDataTree().UnmountDataPacks();
}

int HeadlessRunner::Run() {
  try {
    StartUp();
  } catch (const StartupFailure& failure) {
    Complain(failure.what());
    return kExitStartupFailure;
  }
  const End end = RunFrames();
  if (!ShutDown() || end == End::kWriteFailed) return kExitStartupFailure;
  return end == End::kScriptError ? kExitScriptError : kExitNormal;
}

void HeadlessRunner::StartUp() {
  HeadlessInputScript input = LoadInput();
  const GameConfiguration configuration = StartGame(line_.game);
  for (const std::string& warning : configuration.warnings) {
    Complain("warning: " + base::Cp932ToUtf8(warning));
  }
  input_.emplace(std::move(input), KeyTable(configuration.game.KeyBindings),
                 configuration.game.ScreenWidth, configuration.game.ScreenHeight);
  CreateInterpreter(configuration);
  StartScript();
}

HeadlessInputScript HeadlessRunner::LoadInput() const {
  if (!line_.input) return {};
  const std::optional<base::Bytes> bytes = base::ReadWholeFile(*line_.input);
  if (!bytes) throw StartupFailure("cannot read the input file " + line_.input->string());
  try {
    return HeadlessInputScript::Parse(*bytes);
  } catch (const base::FormatError& error) {
    throw StartupFailure("input file " + line_.input->string() + ", " + error.what());
  }
}

void HeadlessRunner::CreateInterpreter(const GameConfiguration& configuration) {
  shell_.fullScreen = configuration.user.FullScreen;
  shell_.interlace = configuration.user.Interlace;
  stage_.Graphic().SetScreenSize(configuration.game.ScreenWidth, configuration.game.ScreenHeight);
  stage_.Context().messageOpacity = configuration.user.MessageAlpha;
  stage_.Context().messageSpeed = configuration.user.MessageSpeed;
  stage_.Context().autoPlayWaitTime = configuration.user.AutoPlayWaitTime;
  stage_.LoadSceneSkipAnimation();
  auto objects = std::make_unique<script::TKelObjectManager>(script::ObjectParts{stage_, shell_});
  const std::filesystem::path saveRoot = line_.saveDir.value_or(line_.game);
  script_ =
      std::make_unique<script::TKelScript>(services_.Services(), stage_, std::move(objects),
                                           saveRoot / kSaveFolder, configuration.game.CodeKey);
  script::RegisterGeneralCommands(script_->Commands());
  script::RegisterObjectCommands(script_->Commands());
  script_->Settings().autoClickMs = configuration.user.AutoPlayClickTime;
  script_->Settings().movieDecoder = configuration.user.MovieDecoder;
  if (!script_->Initialize()) {
    for (const std::string& key : services_.notices) Complain(FatalMessage(key, key));
    throw StartupFailure(FatalMessage(
        "EngineSetupERROR", "the script engine could not start (is the save folder writable?)"));
  }
}

void HeadlessRunner::StartScript() {
  script_->SetStartScript(kStartScript);
  script_->CancelSkip(false);
  script_->ExecuteLine("\\go,\"" + std::string(kStartLabel) + "\",\"" + std::string(kStartScript) +
                       "\"");
}

HeadlessRunner::End HeadlessRunner::RunFrames() {
  PassOnWarnings();
  if (base::TheErrorLog().ErrorFlag()) return End::kScriptError;
  while (!line_.frames || frames_ < *line_.frames) {
    const End end = Frame();
    PassOnWarnings();
    if (end != End::kRunning) return end;
  }
  return End::kNormal;
}

HeadlessRunner::End HeadlessRunner::Frame() {
  ++frames_;
  services_.clock.Advance(static_cast<uint64_t>(line_.frameMs));
  FrameInput input = input_->Play(frames_, services_.clock.NowMs());
  services_.pointerX = input.pointerX;
  services_.pointerY = input.pointerY;
  services_.action = std::move(input.action);
  script_->UpdateFrame(line_.frameMs, true);
  script_->ComposeFrame(true);
  if (line_.shots && frames_ % line_.shotEvery == 0 && !WriteShot()) return End::kWriteFailed;
  if (base::TheErrorLog().ErrorFlag()) return End::kScriptError;
  const End end = CarryOut(script_->PendingRequest());
  if (end != End::kRunning) return end;
  if (base::TheErrorLog().ErrorFlag()) return End::kScriptError;
  if (ScriptEnded()) return End::kNormal;
  if (WaitsForever()) {
    Complain("the script waits for a click after the last input event; the run ends at frame " +
             std::to_string(frames_));
    return End::kNormal;
  }
  return End::kRunning;
}

// Confirmations count as answered yes; screens open and are left at once,
// as when the player cancels them.
HeadlessRunner::End HeadlessRunner::CarryOut(SystemRequest request) {
  switch (request) {
    case SystemRequest::kExitNow:
    case SystemRequest::kExit:
      return End::kNormal;
    case SystemRequest::kReset:
      script_->ResetInterpreter();
      return End::kRunning;
    case SystemRequest::kSceneReturn:
      if (script_->SceneReturnAvailable()) {
        script_->SceneReturn();
        script_->SettleInput();
        script_->SetPendingEventLabel(kSceneReturnEvent);
      }
      return End::kRunning;
    default:
      break;
  }
  if (IsScreen(request)) {
    script_->CancelSkip(false);
    script_->SettleInput();
  }
  return End::kRunning;
}

bool HeadlessRunner::WriteShot() {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(frames_));
  std::error_code error;
  std::filesystem::create_directories(*line_.shots, error);
  return WritePicture(*line_.shots / name);
}

// What a window would show now, top row first, at the game's screen size.
bool HeadlessRunner::WritePicture(const std::filesystem::path& path) {
  const base::Bytes png = imaging::EncodePng(stage_.Graphic().ShownPicture());
  if (base::WriteFileAtomic(path, png)) return true;
  Complain("cannot write " + path.string());
  return false;
}

bool HeadlessRunner::ScriptEnded() const {
  return script_->CurrentWaitState() == WaitState::kRunning && script_->Reader().AtEnd();
}

// Only a click ends these waits, and outside auto and skip modes only the
// input file gives one.
bool HeadlessRunner::WaitsForever() const {
  const script::TScriptModuleData& module = script_->Module();
  if (module.mode != script::SkipMode::kOff || frames_ < input_->LastFrame()) return false;
  switch (script_->CurrentWaitState()) {
    case WaitState::kClick:
    case WaitState::kButton:
      return module.waitTime < 0;
    case WaitState::kMessageEnd:
    case WaitState::kForever:
      return true;
    default:
      return false;
  }
}

void HeadlessRunner::PassOnWarnings() {
  for (const std::string& warning : services_.warnings) {
    Complain("warning: " + base::Cp932ToUtf8(warning));
  }
  services_.warnings.clear();
}

// As when the window closes: the backup save goes, the interpreter saves the
// system data; the user settings stay as they were, since nothing in a
// headless run changes them.
bool HeadlessRunner::ShutDown() {
  std::error_code error;
  std::filesystem::remove(line_.saveDir.value_or(line_.game) / kSaveFolder / kBackUpSave, error);
  if (!script_->SystemData().SaveSystemData(resource::kSystemDataName)) {
    Complain("the system data could not be saved: " + script_->SystemData().LastError());
  }
  if (line_.screenshot && !WritePicture(*line_.screenshot)) return false;
  if (!line_.dumpVars) return true;
  script::TKelCalculation& calculation = script_->Calculation();
  const std::string json =
      VariableDumpJson({calculation.GlobalTable(), calculation.SystemTable(),
                        base::TheErrorLog().Errors(), script_->Reader().PositionText(), frames_});
  const auto* bytes = reinterpret_cast<const uint8_t*>(json.data());
  if (base::WriteFileAtomic(*line_.dumpVars, {bytes, json.size()})) return true;
  Complain("cannot write " + line_.dumpVars->string());
  return false;
}

}  // namespace mavu::shell
