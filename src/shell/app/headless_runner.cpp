#include "shell/app/headless_runner.h"

#include <cstdio>
#include <iostream>
#include <system_error>

#include "base/cp932.h"
#include "base/error_log.h"
#include "base/file_io.h"
#include "imaging/png_writer.h"
#include "shell/app/variable_dump.h"

namespace mavu::shell {
namespace {

using script::WaitState;

void Complain(const std::string& message) {
  std::cerr << "mavu: " << message << '\n';
}

}  // namespace

HeadlessRunner::HeadlessRunner(CommandLine line) : line_(std::move(line)) {}

HeadlessRunner::~HeadlessRunner() = default;

int HeadlessRunner::Run() {
  try {
    StartUp();
  } catch (const StartupFailure& failure) {
    PassOnMessages();
    Complain(failure.what());
    return kExitStartupFailure;
  }
  const End end = RunFrames();
  if (!ShutDown() || end == End::kWriteFailed) return kExitStartupFailure;
  return end == End::kScriptError ? kExitScriptError : kExitNormal;
}

void HeadlessRunner::StartUp() {
  HeadlessInputScript input = LoadInput();
  FeedAnswers(input);
  inputSource_.emplace(std::move(input));
  PlatformDevices devices{clock_, display_, input_, dialogs_, audio_, media_};
  app_ = std::make_unique<GameApp>(devices, line_.game, line_.saveDir.value_or(line_.game));
  app_->ReadGame();
  app_->StartSound();
  app_->CreateSystem();
  app_->StartStory();
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

void HeadlessRunner::FeedAnswers(const HeadlessInputScript& input) {
  for (const InputEvent& event : input.Events()) {
    if (event.type == InputEvent::Type::kAnswer) answers_.AddAnswer(event.frame, event.value);
  }
}

HeadlessRunner::End HeadlessRunner::RunFrames() {
  PassOnMessages();
  if (base::TheErrorLog().ErrorFlag()) return End::kScriptError;
  while (!line_.frames || frames_ < *line_.frames) {
    const End end = Frame();
    PassOnMessages();
    if (end != End::kRunning) return end;
  }
  return End::kNormal;
}

HeadlessRunner::End HeadlessRunner::Frame() {
  ++frames_;
  answers_.SetFrame(frames_);
  clock_.Advance(static_cast<uint64_t>(line_.frameMs));
  audio_.CatchUp();
  inputSource_->Feed(frames_, input_);
  const SystemMode mode = app_->System().StepFrame(line_.frameMs);
  if (line_.shots && frames_ % line_.shotEvery == 0 && !WriteShot()) return End::kWriteFailed;
  // The error screen would wait for the player; a headless run stops.
  if (base::TheErrorLog().ErrorFlag() || mode == SystemMode::kScriptError) {
    return End::kScriptError;
  }
  if (mode == SystemMode::kExit || mode == SystemMode::kIdle) return End::kNormal;
  // A confirmation or a screen still to come may change what the script does.
  if (mode != SystemMode::kRun) return End::kRunning;
  if (ScriptEnded()) return End::kNormal;
  if (WaitsForever()) {
    Complain("the script waits for a click after the last input event; the run ends at frame " +
             std::to_string(frames_));
    return End::kNormal;
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
  const base::Bytes png = imaging::EncodePng(app_->Stage().Graphic().ShownPicture());
  if (base::WriteFileAtomic(path, png)) return true;
  Complain("cannot write " + path.string());
  return false;
}

bool HeadlessRunner::ScriptEnded() {
  script::TKelScript& script = app_->System().Script();
  return script.CurrentWaitState() == WaitState::kRunning && script.Reader().AtEnd();
}

// Only a click ends these waits, and outside auto and skip modes only the
// input file gives one.
bool HeadlessRunner::WaitsForever() {
  script::TKelScript& script = app_->System().Script();
  const script::TScriptModuleData& module = script.Module();
  if (module.mode != script::SkipMode::kOff || frames_ < inputSource_->LastFrame()) return false;
  switch (script.CurrentWaitState()) {
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

void HeadlessRunner::PassOnMessages() {
  if (app_ == nullptr) return;
  for (const std::string& message : app_->TakeMessages()) Complain(message);
}

// As when the window closes, but the user settings stay as they were: nothing
// in a headless run changes them.
bool HeadlessRunner::ShutDown() {
  app_->Close(false);
  PassOnMessages();
  if (line_.screenshot && !WritePicture(*line_.screenshot)) return false;
  if (!line_.dumpVars) return true;
  script::TKelScript& script = app_->System().Script();
  script::TKelCalculation& calculation = script.Calculation();
  const std::string json = VariableDumpJson(
      {calculation.GlobalTable(), calculation.SystemTable(), base::TheErrorLog().Errors(),
       script.Reader().PositionText(), frames_, answers_.Records()});
  const auto* bytes = reinterpret_cast<const uint8_t*>(json.data());
  if (base::WriteFileAtomic(*line_.dumpVars, {bytes, json.size()})) return true;
  Complain("cannot write " + line_.dumpVars->string());
  return false;
}

}  // namespace mavu::shell
