#include "resource/game_settings.h"

#include "base/cp932.h"
#include "resource/setting_values.h"
#include "resource/settings_list.h"

namespace mavu::resource {

namespace {

constexpr std::string_view kMissingFileTitle = "UnTitled";

}  // namespace

GameSettings GameSettingsForMissingFile() {
  GameSettings s;
  s.GameTitle = kMissingFileTitle;
  s.CodeKey = 0;
  s.ThumWidth = 96;
  s.ThumHeight = 72;
  s.QuickSaveCount = 0;
  s.ConfigSoundTab = false;
  s.ConfigGamePadTab = false;
  s.ConfigSpecTab = false;
  s.ConfigOptionTab = false;
  s.ConfigMovie = false;
  s.ConfigCRC = false;
  return s;
}

KeyBinding ParseKeyBinding(std::string_view value) {
  auto items = base::SplitList(",", value, true, true);
  if (items.size() != 2) return {};
  return {ParseInteger(items[0]).value_or(0), base::LowerName(items[1])};
}

GameSettings ReadGameSettings(const std::optional<base::Bytes>& file) {
  if (!file) return GameSettingsForMissingFile();
  auto list = SettingsList::FromBytes(*file);
  GameSettings s;
  s.ScreenWidth = ReadInteger(list, "ScreenWidth", s.ScreenWidth);
  s.ScreenHeight = ReadInteger(list, "ScreenHeight", s.ScreenHeight);
  s.GameTitle = list.Value("GameTitle");
  s.FormCaption = list.Value("FormCaption");
  s.CodeKey = static_cast<uint32_t>(ReadInteger64(list, "CodeKey", s.CodeKey)) & kCodeKeyMask;
  s.ThumWidth = ReadInteger(list, "ThumWidth", s.ThumWidth);
  s.ThumHeight = ReadInteger(list, "ThumHeight", s.ThumHeight);
  s.QuickSaveMode = ReadInteger(list, "QuickSaveMode", s.QuickSaveMode);
  s.QuickSaveCount = ReadInteger(list, "QuickSaveCount", s.QuickSaveCount);
  s.ConfigStartupSkip = ReadBoolean(list, "ConfigStartupSkip", s.ConfigStartupSkip);
  s.ConfigSoundTab = ReadBoolean(list, "ConfigSoundTab", s.ConfigSoundTab);
  s.ConfigGamePadTab = ReadBoolean(list, "ConfigGamePadTab", s.ConfigGamePadTab);
  s.ConfigSpecTab = ReadBoolean(list, "ConfigSpecTab", s.ConfigSpecTab);
  s.ConfigOptionTab = ReadBoolean(list, "ConfigOptionTab", s.ConfigOptionTab);
  s.ConfigMovie = ReadBoolean(list, "ConfigMovie", s.ConfigMovie);
  s.ConfigCRC = ReadBoolean(list, "ConfigCRC", s.ConfigCRC);
  for (int i = 0; i < kKeyBindingCount; ++i) {
    s.KeyBindings[i] = ParseKeyBinding(list.Value(IndexedKey("key", i)));
  }
  return s;
}

}  // namespace mavu::resource
