#include "shell/app/game_startup.h"

#include <cstdlib>
#include <iostream>
#include <system_error>
#include <utility>

#include "base/cp932.h"
#include "base/error_log.h"
#include "base/host_path.h"
#include "imaging/font_table.h"
#include "resource/data_tree.h"
#include "resource/message_table.h"
#include "resource/random_table.h"

namespace mavu::shell {
namespace {

constexpr std::string_view kPackFolder = "GameData\\";

void CheckFolder(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    throw StartupFailure("the game folder " + folder.string() + " does not exist");
  }
}

void MountPacks() {
  if (resource::TheDataTree().MountDataPacks(kPackFolder) == 0) {
    throw StartupFailure(FatalMessage("FILEPACKERROR_Text",
                                      "no data packs could be mounted from the folder GameData"));
  }
}

// A game file that is there but cannot be read (a packed entry that does not
// expand) stops the start like a missing pack does.
std::optional<base::Bytes> ReadGameFile(std::string_view name) {
  try {
    return resource::OpenDataFile(name);
  } catch (const base::FormatError& error) {
    throw StartupFailure(base::Cp932ToUtf8(error.what()));
  }
}

FatalNotice& TheFatalNotice() {
  static FatalNotice notice;
  return notice;
}

// The font slots as the player set them. A font file that cannot be used
// leaves its slot on the platform face of that name: a warning, not a stop.
std::vector<std::string> ConfigureFonts(const resource::UserSettings& user) {
  std::vector<imaging::FontSlotSetting> slots;
  for (const resource::FontSetting& font : user.Font) slots.push_back({font.Name, font.Style});
  return imaging::TheFontTable().Configure(slots, "");
}

[[noreturn]] void StopOnChecksumError(const std::string& entryName) {
  const std::string message =
      FatalMessage("CRCCHECKERROR", "a data pack is damaged: " + base::Cp932ToUtf8(entryName));
  std::cerr << "mavu: " << message << '\n';
  if (TheFatalNotice()) TheFatalNotice()(message);
  std::exit(kFatalExitCode);
}

}  // namespace

void SetFatalNotice(FatalNotice show) {
  TheFatalNotice() = std::move(show);
}

std::string FatalMessage(std::string_view key, std::string_view fallback) {
  const std::string text = resource::MessageText(key);
  if (text.empty()) return std::string(fallback);
  return resource::DialogDisplayText(text, resource::ApplicationTitle());
}

std::filesystem::path OpenGameFolder(const std::filesystem::path& gameFolder) {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::absolute(gameFolder, error);
  CheckFolder(folder);
  base::TheErrorLog().SetDirectory(folder);
  resource::TheDataTree().SetProgramDirectory(folder);
  resource::LoadMessageTable(base::LooseFilePath(folder, resource::kMessageTablePath));
  return folder;
}

GameConfiguration StartGame(const std::filesystem::path& gameFolder) {
  const std::filesystem::path folder = OpenGameFolder(gameFolder);
  MountPacks();

  GameConfiguration configuration;
  configuration.game = resource::ReadGameSettings(ReadGameFile(resource::kGameSettingsPath));
  if (!configuration.game.GameTitle.empty()) {
    resource::SetApplicationTitle(configuration.game.GameTitle);
  }
  configuration.user =
      resource::ReadUserSettings(base::LooseFilePath(folder, resource::kUserSettingsPath));
  configuration.warnings = ConfigureFonts(configuration.user);
  resource::TheDataTree().SetPackVerification(configuration.user.CRCCheck == 1);
  resource::TheDataTree().SetChecksumErrorHandler(StopOnChecksumError);
  resource::TheRandomTable().Load(ReadGameFile(resource::kRandomTablePath));
  return configuration;
}

}  // namespace mavu::shell
