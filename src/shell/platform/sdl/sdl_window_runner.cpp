#include "shell/platform/sdl/sdl_window_runner.h"

#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>

#include "base/cp932.h"
#include "base/host_path.h"
#include "base/steady_clock.h"
#include "dialogs/imgui_dialogs.h"
#include "resource/message_table.h"
#include "shell/app/game_app.h"
#include "shell/app/instance_lock.h"
#include "shell/app/quit_signals.h"
#include "shell/app/silent_media.h"
#include "shell/app/startup_splash.h"
#include "shell/input/input.h"
#include "shell/input/pad_config.h"
#include "shell/platform/sdl/sdl_audio_output.h"
#include "shell/platform/sdl/sdl_display.h"
#include "shell/platform/sdl/sdl_input_events.h"
#include "shell/platform/sdl/sdl_pads.h"
#include "shell/system/standard_dialogs.h"

namespace mavu::shell {
namespace {

constexpr int kExitNormal = 0;
constexpr uint8_t kFrameNotDue = 0;
constexpr int kIdleWaitMs = 1;

void Complain(const std::string& message) {
  std::cerr << "mavu: " << message << '\n';
}

// `mavu --game DIR`: the game in a window. One copy runs per user; the game
// comes up behind the start-up picture and its progress steps, then the
// system object's frame loop runs until the game exits or the player closes
// the window and confirms. A fatal start-up error is shown to the player and
// ends the process with kFatalExitCode without writing anything back.
class WindowRunner {
 public:
  WindowRunner(CommandLine line, std::string executablePath);
  ~WindowRunner();
  WindowRunner(const WindowRunner&) = delete;
  WindowRunner& operator=(const WindowRunner&) = delete;

  int Run();

 private:
  // Throws StartupFailure.
  void StartUp();
  void StartPads();
  void RunFrames();
  // False once the player has chosen to leave.
  bool PassOnEvents();
  bool AskToClose();
  void ShowCursorState();
  void ShowFatal(const std::string& utf8);
  int NoWindow(const std::string& reason);
  void PassOnMessages();

  CommandLine line_;
  std::string executablePath_;
  base::SteadyClock clock_;
  SilentMedia media_;
  SdlAudioOutput audio_;
  std::unique_ptr<SdlDisplay> display_;
  std::unique_ptr<dialogs::ImGuiDialogs> presenter_;
  std::unique_ptr<StandardDialogs> dialogs_;
  TInput input_{clock_, KeyTable(), 1, 1};
  std::unique_ptr<PadToPointer> padPointer_;
  std::unique_ptr<SdlPads> pads_;
  std::unique_ptr<GameApp> app_;
  bool cursorHidden_ = false;
};

}  // namespace

WindowRunner::WindowRunner(CommandLine line, std::string executablePath)
    : line_(std::move(line)), executablePath_(std::move(executablePath)) {}

// The game goes before the window it draws into.
WindowRunner::~WindowRunner() {
  SetFatalNotice(nullptr);
  app_.reset();
  pads_.reset();
  dialogs_.reset();
  presenter_.reset();
  display_.reset();
  SDL_Quit();
}

int WindowRunner::Run() {
  const std::optional<InstanceLock> lock = InstanceLock::Acquire(executablePath_);
  if (!lock) return kExitNormal;  // the running copy is the one the player wants
  // SDL would turn the signals into the window's close button, whose
  // question nobody answers at a logout.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  InstallQuitSignals();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    return NoWindow(std::string("cannot open a window: ") + SDL_GetError());
  }
  try {
    StartUp();
  } catch (const StartupFailure& failure) {
    PassOnMessages();
    Complain(failure.what());
    ShowFatal(failure.what());
    return kFatalExitCode;
  } catch (const std::runtime_error& failure) {  // no window could be made
    return NoWindow(failure.what());
  }
  RunFrames();
  app_->Close(true);
  PassOnMessages();
  return kExitNormal;
}

void WindowRunner::StartUp() {
  display_ = std::make_unique<SdlDisplay>();
  presenter_ = std::make_unique<dialogs::ImGuiDialogs>(display_->Window(), display_->Renderer(),
                                                       [this] { display_->DrawFrame(); });
  dialogs_ = std::make_unique<StandardDialogs>(*presenter_);
  SetFatalNotice([this](const std::string& utf8) { ShowFatal(utf8); });
  PlatformDevices devices{clock_, *display_, input_, *dialogs_, audio_, media_};
  app_ = std::make_unique<GameApp>(devices, line_.game, line_.saveDir.value_or(line_.game));
  app_->ReadGame();

  // The libraries these steps name are built in here; the steps stay, so a
  // game's start-up looks as its authors made it look.
  StartupSplash splash(*display_, clock_);
  splash.Step("SystemSetup Start ...", 0);
  splash.Step("OggVorbis(WUVORBIS.DLL) Initialize ...", 10);
  splash.Step("BRegExp(BREGEXP.DLL) Initialize ...", 15);
  splash.Step("ScreptReplace(SCRREP.DLL) Initialize ...", 20);
  splash.Step("DirectDraw(DDDD2custom) Initialize ...", 30);
  splash.Step("DirectSound(DDSD2custom) Initialize ...", 40);
  app_->StartSound();
  if (app_->Configuration().user.UseGamePad == 1) {
    splash.Step("DirectInput(DDID2custom) Initialize ...", 50);
    StartPads();
  }
  splash.Step("DirectXPack Initialize ...", 60);
  splash.Step("ScriptEngine Initialize ...", 70);
  app_->CreateSystem();
  splash.Complete();
  app_->StartStory();
}

void WindowRunner::StartPads() {
  padPointer_ = std::make_unique<PadToPointer>(
      input_, ReadPadConfig(base::LooseFilePath(line_.game, kPadConfigPath)));
  pads_ = std::make_unique<SdlPads>(*padPointer_);
}

void WindowRunner::RunFrames() {
  while (PassOnEvents()) {
    if (pads_) pads_->Poll(clock_.NowMs());
    ShowCursorState();
    const uint8_t mode = app_->System().Frame();
    PassOnMessages();
    if (mode == static_cast<uint8_t>(SystemMode::kExit)) return;
    // The system object does not sleep when less than a few milliseconds are
    // left; waiting for events here keeps that rest from spinning.
    if (mode == kFrameNotDue) SDL_WaitEventTimeout(nullptr, kIdleWaitMs);
  }
}

bool WindowRunner::PassOnEvents() {
  if (QuitSignalled()) return false;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT && !AskToClose()) return false;
    display_->HandleEvent(event);
    FeedInputEvent(event, input_);
    if (pads_) pads_->HandleEvent(event);
  }
  return true;
}

// True when the game goes on.
bool WindowRunner::AskToClose() {
  const int32_t answer = dialogs_->ShowExitChoice(
      "", resource::MessageText("APPCLOSE_Text"), resource::MessageText("APPCLOSE_Exit"),
      resource::MessageText("APPCLOSE_Cancel"), resource::MessageText("APPCLOSE_Reset"));
  if (answer == base::DialogService::kExitGame) return false;
  if (answer == base::DialogService::kReturnToTitle) app_->System().ResetAndRun();
  return true;
}

void WindowRunner::ShowCursorState() {
  if (input_.CursorHidden() == cursorHidden_) return;
  cursorHidden_ = input_.CursorHidden();
  SDL_ShowCursor(cursorHidden_ ? SDL_DISABLE : SDL_ENABLE);
}

// Without a window the message goes to standard error only, in the game's
// words when its message table can be read.
int WindowRunner::NoWindow(const std::string& reason) {
  try {
    OpenGameFolder(line_.game);
  } catch (const StartupFailure&) {
  }
  Complain(FatalMessage("DirectDrawERROR", reason));
  return kFatalExitCode;
}

// Standard error has the message already, for whoever started the game
// from a terminal; the player sees it in the window.
void WindowRunner::ShowFatal(const std::string& utf8) {
  if (dialogs_ == nullptr) return;
  dialogs_->ShowNotice("", base::Utf8ToCp932(utf8), resource::MessageText("OK"));
}

void WindowRunner::PassOnMessages() {
  if (app_ == nullptr) return;
  for (const std::string& message : app_->TakeMessages()) Complain(message);
}

int RunInWindow(CommandLine line, std::string executablePath) {
  return WindowRunner(std::move(line), std::move(executablePath)).Run();
}

}  // namespace mavu::shell
