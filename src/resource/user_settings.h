#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "resource/setting_values.h"
#include "resource/settings_list.h"

namespace mavu::resource {

// Opened directly below the program folder, not through the data tree.
inline constexpr std::string_view kUserSettingsPath = "GameData\\System\\config.txt";
inline constexpr std::string_view kBackupSuffix = ".bak";
inline constexpr int kFontSlotCount = 8;
inline constexpr int32_t kFullSpeakerVolume = 255;

struct FontSetting {
  std::string Name;  // face name; empty for the default face
  int32_t Style = 0;
  int32_t AA = 1;  // kept with the file; the font table does not use it

  bool operator==(const FontSetting&) const = default;
};

// The player's settings; the initial values are the defaults.
struct UserSettings {
  int32_t FullScreen = 0;
  int32_t ColorMode = 1;
  int32_t UseGamePad = 0;
  int32_t FPSLimit = 40;
  int32_t StreamLength = 0x20000;
  int32_t Interlace = 0;
  int32_t CacheSize = 0;
  int32_t MovieDecoder = 1;
  int32_t CRCCheck = 1;
  std::array<FontSetting, kFontSlotCount> Font;
  int32_t BGMVolume = 255;
  int32_t VOICEVolume = 255;
  int32_t SEVolume = 255;
  int32_t MessageSpeed = 20;
  int32_t MessageAlpha = 255;
  int32_t AutoPlayWaitTime = 100;
  int32_t AutoPlayClickTime = 3000;
  int32_t TCPSockType = 0;
  int32_t TCPProxyPort = 0;
  std::string TCPProxyHost;
  std::string TCPUserName;
  std::string TCPPassWord;  // as typed
  std::array<int32_t, kSpeakerCount> ActorVolume;
  std::array<int32_t, kSpeakerCount> ActorMute{};

  UserSettings() { ActorVolume.fill(kFullSpeakerVolume); }
  bool operator==(const UserSettings&) const = default;
};

// Every key of `list`, defaults for the missing or malformed ones.
UserSettings ReadUserSettings(const SettingsList& list);
// Sets every key in file order; speaker keys at full volume or unmuted lose
// their lines and empty texts become "none".
void StoreUserSettings(const UserSettings& settings, SettingsList& list);

// Reads `path`, else path + ".bak", else gives the defaults.
UserSettings ReadUserSettings(const std::filesystem::path& path);

// Rewrites every key in the existing file (or its ".bak" copy), keeping the
// lines the engine does not know, and saves the result to `path` and to
// path + ".bak". A missing file is created. Each file is replaced whole or not
// at all; false when either could not be written.
bool WriteUserSettings(const std::filesystem::path& path, const UserSettings& settings);

}  // namespace mavu::resource
