#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mavu::resource {

// The lines of a name=value text file (settings, message table, voice table).
// A line "name=value" defines the key before its first "="; the value is the
// rest of the line, blanks included. Keys compare ignoring letter case and the
// first line of a key wins. Other lines are kept as they are, so rewriting a
// file never loses what the engine does not understand.
class SettingsList {
 public:
  SettingsList() = default;
  // Lines end in CR LF, LF or CR; a final line break does not start a new line.
  explicit SettingsList(std::string_view text);
  static SettingsList FromBytes(std::span<const uint8_t> bytes);
  // The file's lines, or nothing when it cannot be read.
  static std::optional<SettingsList> Load(const std::filesystem::path& path);

  const std::vector<std::string>& Lines() const { return lines_; }
  // The value of the first line of `key`; empty when there is none.
  std::string Value(std::string_view key) const;
  bool Has(std::string_view key) const { return Find(key).has_value(); }
  // Replaces the first line of `key` or appends one. An empty value removes
  // every line of the key, so that it reads back as missing. A value never spans
  // lines: it is cut at its first line break. `key` holds no "=" and no line break.
  void Set(std::string_view key, std::string_view value);

  // Every line followed by CR LF.
  std::string Text() const;
  // Written whole through a temporary file; false when the file could not be written.
  bool Save(const std::filesystem::path& path) const;

 private:
  std::optional<size_t> Find(std::string_view key) const;
  void Reindex();

  std::vector<std::string> lines_;
  // Lower-cased key -> index of its first line.
  std::unordered_map<std::string, size_t> firstLines_;
};

}  // namespace mavu::resource
