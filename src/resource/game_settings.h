#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace mavu::resource {

// Read through the data tree, right after the archives are mounted.
inline constexpr std::string_view kGameSettingsPath = "System\\etc\\Game.dat";
inline constexpr int kKeyBindingCount = 32;
// Scrambles saves and system data when Game.dat has no CodeKey. Data written
// with one key cannot be read with another, so this number never changes.
inline constexpr uint32_t kBuiltInCodeKey = 0x4D6176;  // "Mav"
inline constexpr uint32_t kCodeKeyMask = 0xFFFFFF;

// One "key[N]=code,name" line: a key code and the action it triggers.
struct KeyBinding {
  int32_t Code = 0;
  std::string Name;  // lower case; empty when the line is missing or malformed

  bool operator==(const KeyBinding&) const = default;
};

// The game author's settings. The initial values are those of keys missing
// from an existing file; GameSettingsForMissingFile gives the other set.
struct GameSettings {
  int32_t ScreenWidth = 800;
  int32_t ScreenHeight = 600;
  std::string GameTitle;
  std::string FormCaption;
  uint32_t CodeKey = kBuiltInCodeKey;  // low 24 bits only
  int32_t ThumWidth = 128;
  int32_t ThumHeight = 96;
  int32_t QuickSaveMode = 0;
  int32_t QuickSaveCount = 8;
  bool ConfigStartupSkip = false;
  bool ConfigSoundTab = true;
  bool ConfigGamePadTab = true;
  bool ConfigSpecTab = true;
  bool ConfigOptionTab = true;
  bool ConfigMovie = true;
  bool ConfigCRC = true;
  std::array<KeyBinding, kKeyBindingCount> KeyBindings;
};

GameSettings GameSettingsForMissingFile();

// `file` is Game.dat as the data tree returned it; nothing means it is missing.
GameSettings ReadGameSettings(const std::optional<base::Bytes>& file);

// "code,name" with blanks dropped and "//" starting a comment.
KeyBinding ParseKeyBinding(std::string_view value);

}  // namespace mavu::resource
