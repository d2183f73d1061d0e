#include "resource/user_settings.h"

#include <optional>
#include <type_traits>

#include "resource/setting_values.h"
#include "resource/settings_list.h"

namespace mavu::resource {

namespace {

constexpr int32_t kUnmuted = 0;

std::filesystem::path BackupPath(const std::filesystem::path& path) {
  std::filesystem::path backup = path;
  backup += kBackupSuffix;
  return backup;
}

// Walks every key in file order. `visit(key, field)` gets an int32_t field
// (integer) or a std::string field (text or "none"); speaker keys also get
// the value that is written as no line at all.
template <class Settings, class Visit>
void ForEachUserSetting(Settings& s, Visit&& visit) {
  visit("FullScreen", s.FullScreen);
  visit("ColorMode", s.ColorMode);
  visit("UseGamePad", s.UseGamePad);
  visit("FPSLimit", s.FPSLimit);
  visit("StreamLength", s.StreamLength);
  visit("Interlace", s.Interlace);
  visit("CacheSize", s.CacheSize);
  visit("MovieDecoder", s.MovieDecoder);
  visit("CRCCheck", s.CRCCheck);
  for (int i = 0; i < kFontSlotCount; ++i) {
    std::string slot = IndexedKey("Font", i) + ".";
    visit(slot + "Name", s.Font[i].Name);
    visit(slot + "Style", s.Font[i].Style);
    visit(slot + "AA", s.Font[i].AA);
  }
  visit("BGMVolume", s.BGMVolume);
  visit("VOICEVolume", s.VOICEVolume);
  visit("SEVolume", s.SEVolume);
  visit("MessageSpeed", s.MessageSpeed);
  visit("MessageAlpha", s.MessageAlpha);
  visit("AutoPlayWaitTime", s.AutoPlayWaitTime);
  visit("AutoPlayClickTime", s.AutoPlayClickTime);
  visit("TCPSockType", s.TCPSockType);
  visit("TCPProxyPort", s.TCPProxyPort);
  visit("TCPProxyHost", s.TCPProxyHost);
  visit("TCPUserName", s.TCPUserName);
  visit("TCPPassWord", s.TCPPassWord);
  for (int i = 0; i < kSpeakerCount; ++i) {
    visit(IndexedKey("ActorVolume", i), s.ActorVolume[i], kFullSpeakerVolume);
    visit(IndexedKey("ActorMute", i), s.ActorMute[i], kUnmuted);
  }
}

SettingsList LoadWithBackup(const std::filesystem::path& path) {
  auto list = SettingsList::Load(path);
  if (!list) list = SettingsList::Load(BackupPath(path));
  return list.value_or(SettingsList());
}

}  // namespace

UserSettings ReadUserSettings(const SettingsList& list) {
  UserSettings settings;
  ForEachUserSetting(settings, [&list](const std::string& key, auto& field,
                                       std::optional<int32_t> = std::nullopt) {
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>) {
      field = ReadTextOrNone(list, key);
    } else {
      field = ReadInteger(list, key, field);
    }
  });
  return settings;
}

void StoreUserSettings(const UserSettings& settings, SettingsList& list) {
  ForEachUserSetting(settings, [&list](const std::string& key, const auto& field,
                                       std::optional<int32_t> omitted = std::nullopt) {
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>) {
      list.Set(key, TextOrNone(field));
    } else {
      list.Set(key, field == omitted ? std::string() : std::to_string(field));
    }
  });
}

UserSettings ReadUserSettings(const std::filesystem::path& path) {
  return ReadUserSettings(LoadWithBackup(path));
}

bool WriteUserSettings(const std::filesystem::path& path, const UserSettings& settings) {
  SettingsList list = LoadWithBackup(path);
  StoreUserSettings(settings, list);
  bool savedMain = list.Save(path);
  bool savedBackup = list.Save(BackupPath(path));
  return savedMain && savedBackup;
}

}  // namespace mavu::resource
