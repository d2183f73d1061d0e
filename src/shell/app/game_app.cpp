#include "shell/app/game_app.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "base/cp932.h"
#include "base/error_log.h"
#include "base/host_path.h"
#include "imaging/icon_loader.h"
#include "resource/data_tree.h"
#include "resource/message_table.h"
#include "resource/system_data.h"
#include "resource/voice_table.h"
#include "script/commands/general_commands.h"
#include "script/objects/kel_object_manager.h"
#include "script/objects/object_commands.h"

namespace mavu::shell {
namespace {

constexpr std::string_view kSaveFolderName = "SaveData";
constexpr std::string_view kOkKey = "OK";
constexpr std::string_view kIconName = "system\\etc\\icon.ico";

}  // namespace

GameApp::GameApp(PlatformDevices devices, std::filesystem::path gameFolder,
                 std::filesystem::path saveRoot)
    : devices_(devices),
      gameFolder_(std::move(gameFolder)),
      saveFolder_(std::move(saveRoot) / kSaveFolderName),
      sound_(devices.clock),
      stage_(&sound_) {}

// The output lets go of the sound before it goes; the interpreter goes before
// the packs it reads from.
GameApp::~GameApp() {
  devices_.audio.Stop();
  system_.reset();
  resource::TheDataTree().UnmountDataPacks();
}

void GameApp::ReadGame() {
  configuration_ = StartGame(gameFolder_);
  for (const std::string& warning : configuration_.warnings) {
    messages_.push_back("warning: " + base::Cp932ToUtf8(warning));
  }
  ApplyUserSettingsToSound();
  ApplyUserSettingsToStage();
  const ScreenMode screen = PlayerScreenMode();
  devices_.input.Configure(KeyTable(configuration_.game.KeyBindings), screen.width, screen.height);
  LoadIcon();
}

// An icon that is there but does not load stops the start: the game is not
// as its authors shipped it.
void GameApp::LoadIcon() {
  try {
    const std::optional<base::Bytes> file = resource::OpenDataFile(kIconName);
    if (file) devices_.display.SetIcon(imaging::LoadIcon(*file));
  } catch (const base::FormatError&) {
    throw StartupFailure(FatalMessage("ICONERROR", "the game's icon cannot be read"));
  }
}

void GameApp::CreateSystem() {
  std::unique_ptr<script::TKelScript> script = CreateInterpreter();
  const resource::GameSettings& game = configuration_.game;
  SystemSettings settings{configuration_.user.FPSLimit, configuration_.user.Interlace,
                          game.FormCaption, game.GameTitle};
  SystemDevices devices{devices_.clock, devices_.display, devices_.input, devices_.dialogs};
  system_ = std::make_unique<TKelSystem>(std::move(script), devices, std::move(settings));
}

void GameApp::StartStory() {
  system_->StartScript(kStartScript, PlayerScreenMode());
}

void GameApp::ApplyUserSettingsToSound() {
  const resource::UserSettings& user = configuration_.user;
  sound_.SetStreamLength(static_cast<size_t>(std::max(user.StreamLength, 0)));
  sound_.SetClassLevel(0, user.BGMVolume);
  sound_.SetClassLevel(1, user.VOICEVolume);
  sound_.SetClassLevel(2, user.SEVolume);
  sound_.ApplyClassLevels();
  VoiceSettings voices;
  voices.volumes = user.ActorVolume;
  voices.mutes = user.ActorMute;
  voices.speakers = resource::ReadVoiceTable(resource::TryOpenDataFile(resource::kVoiceTablePath));
  sound_.SetVoiceSettings(std::move(voices));
}

void GameApp::StartSound() {
  if (!devices_.audio.Start(sound_.Device())) {
    messages_.push_back("warning: no sound output could be opened; the game runs silent");
  }
}

void GameApp::ApplyUserSettingsToStage() {
  const resource::UserSettings& user = configuration_.user;
  SetInterlaceSetting(user.Interlace);
  const ScreenMode screen = PlayerScreenMode();
  stage_.Graphic().SetScreenSize(screen.width, screen.height);
  stage_.Context().soundChannels = sound_.ChannelCount();
  stage_.Context().directChannels = sound_.DirectChannelCount();
  stage_.Context().messageOpacity = user.MessageAlpha;
  stage_.Context().messageSpeed = user.MessageSpeed;
  stage_.Context().autoPlayWaitTime = user.AutoPlayWaitTime;
  stage_.LoadSceneSkipAnimation();
}

std::unique_ptr<script::TKelScript> GameApp::CreateInterpreter() {
  auto objects =
      std::make_unique<script::TKelObjectManager>(script::ObjectParts{stage_, *this, sound_});
  script::InterpreterServices services{devices_.input, sound_, devices_.movie, *this,
                                       devices_.clock};
  auto script = std::make_unique<script::TKelScript>(services, stage_, std::move(objects),
                                                     saveFolder_, configuration_.game.CodeKey);
  script::RegisterGeneralCommands(script->Commands());
  script::RegisterObjectCommands(script->Commands());
  script->Settings().autoClickMs = configuration_.user.AutoPlayClickTime;
  script->Settings().movieDecoder = configuration_.user.MovieDecoder;
  script->Settings().thumbWidth = configuration_.game.ThumWidth;
  script->Settings().thumbHeight = configuration_.game.ThumHeight;
  script->Settings().quickSaveMode = configuration_.game.QuickSaveMode;
  script->Settings().quickSaveCount = configuration_.game.QuickSaveCount;
  if (!script->Initialize()) {
    throw StartupFailure(FatalMessage(
        "EngineSetupERROR", "the script engine could not start (is the save folder writable?)"));
  }
  return script;
}

ScreenMode GameApp::PlayerScreenMode() const {
  return ScreenMode{configuration_.game.ScreenWidth, configuration_.game.ScreenHeight,
                    configuration_.user.FullScreen != 0, configuration_.user.ColorMode == 1}
      .Limited();
}

void GameApp::Close(bool writeSettings) {
  std::error_code error;
  std::filesystem::remove(saveFolder_ / script::kBackUpSaveFile, error);
  if (system_ == nullptr) return;
  resource::SystemData& data = system_->Script().SystemData();
  if (!data.SaveSystemData(resource::kSystemDataName)) {
    messages_.push_back("the system data could not be saved: " + data.LastError());
  }
  if (!writeSettings) return;
  configuration_.user.FullScreen = devices_.display.CurrentMode().fullScreen ? 1 : 0;
  const std::filesystem::path settings =
      base::LooseFilePath(gameFolder_, resource::kUserSettingsPath);
  std::filesystem::create_directories(settings.parent_path(),
                                      error);  // a game shipped without them
  if (!resource::WriteUserSettings(settings, configuration_.user)) {
    messages_.push_back("the settings could not be written to " + settings.string());
  }
}

std::vector<std::string> GameApp::TakeMessages() {
  return std::exchange(messages_, {});
}

// Interlaced drawing spreads a frame's drawing over two frames; it is off
// for every draw unless the player asked for it.
void GameApp::SetInterlaceSetting(int32_t value) {
  configuration_.user.Interlace = value;
  imaging::TARGB8888::InterlaceOff = value == 0;
  if (system_ != nullptr) system_->SetInterlace(value);
}

int32_t GameApp::FullScreenSetting() const {
  return devices_.display.CurrentMode().fullScreen ? 1 : 0;
}

void GameApp::ShowWarning(const std::string& text) {
  messages_.push_back("warning: " + base::Cp932ToUtf8(text));
  devices_.dialogs.ShowNotice("", text, resource::MessageText(kOkKey));
}

void GameApp::ShowKeyedNotice(std::string_view textKey, std::string_view buttonKey) {
  const std::string text = resource::MessageText(textKey);
  messages_.push_back(FatalMessage(textKey, std::string(textKey)));
  devices_.dialogs.ShowNotice("", text, resource::MessageText(buttonKey));
}

}  // namespace mavu::shell
