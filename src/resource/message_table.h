#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "resource/settings_list.h"

namespace mavu::resource {

// Opened directly below the program folder when the main window is created.
inline constexpr std::string_view kMessageTablePath = "GameData\\System\\Message.Dat";

// Every text the engine itself shows in its dialogs, by key.
class MessageTable {
 public:
  // Replaces the table with the file's lines; false (and an empty table) when
  // the file cannot be read.
  bool Load(const std::filesystem::path& path);
  void LoadFromBytes(std::span<const uint8_t> bytes) { list_ = SettingsList::FromBytes(bytes); }
  // Empty when the key is missing: a notice with no text is not shown and a
  // confirmation with no text counts as consent.
  std::string Text(std::string_view key) const { return list_.Value(key); }

 private:
  SettingsList list_;
};

// The process-wide table, used from the main thread only.
bool LoadMessageTable(const std::filesystem::path& path);
std::string MessageText(std::string_view key);

// A dialog caption, message or button label as the dialog shows it: "%%%app"
// becomes the application title and "%%%n" a line break, and the result is
// UTF-8 with "\n" between lines. A title that itself holds "%%%n" is inserted
// as it is.
std::string DialogDisplayText(std::string_view text, std::string_view appTitle);

// The application title "%%%app" stands for (CP932): "Mavu" until the game's
// own is known.
const std::string& ApplicationTitle();
void SetApplicationTitle(std::string_view title);

}  // namespace mavu::resource
