#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "resource/game_settings.h"
#include "resource/user_settings.h"

namespace mavu::shell {

// A start-up step failed; what() is the player's message, UTF-8.
class StartupFailure : public std::runtime_error {
 public:
  explicit StartupFailure(const std::string& message) : std::runtime_error(message) {}
};

// The settings start-up reads.
struct GameConfiguration {
  resource::GameSettings game;
  resource::UserSettings user;
  std::vector<std::string> warnings;  // problems that did not stop the start, CP932
};

// The first start-up step: the game folder (made absolute) becomes the
// program folder of the data tree and of "ERRORLOG.txt", and the message
// table is read, so that every later failure can be told in the game's words.
// Throws StartupFailure when the folder does not exist.
std::filesystem::path OpenGameFolder(const std::filesystem::path& gameFolder);

// The start-up steps shared by every way of running a game: the game folder
// is opened as above, the packs of "GameData\" are mounted, the game
// definition and the user settings are read, the font slots take the
// player's fonts, pack verification follows the CRCCheck setting, and the
// random table is loaded. Throws StartupFailure.
//
// A checksum mismatch found later stops the process at once with
// kFatalExitCode, as every fatal start-up error does.
GameConfiguration StartGame(const std::filesystem::path& gameFolder);

inline constexpr int kFatalExitCode = 2;

// Shows a fatal message to the player (UTF-8) before the process stops; a
// window sets one, a headless run has only standard error.
using FatalNotice = std::function<void(const std::string& utf8)>;
void SetFatalNotice(FatalNotice show);

// The message table's text for `key` with its placeholders filled in, as
// UTF-8; `fallback` when the table has no such text.
std::string FatalMessage(std::string_view key, std::string_view fallback);

}  // namespace mavu::shell
