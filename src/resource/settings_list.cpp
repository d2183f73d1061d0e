#include "resource/settings_list.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "base/cp932.h"
#include "base/file_io.h"

namespace mavu::resource {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kLineEnds = "\r\n";

// "=", CR and LF lie below 0x40, the lowest CP932 trail byte, so a byte search
// never finds them inside a two-byte character.
std::optional<std::string_view> KeyOf(std::string_view line) {
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return line.substr(0, equals);
}

}  // namespace

SettingsList::SettingsList(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = std::min(text.find_first_of(kLineEnds, pos), text.size());
    lines_.emplace_back(text.substr(pos, end - pos));
    if (end == text.size()) break;
    bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    pos = end + (crLf ? 2 : 1);
  }
  Reindex();
}

void SettingsList::Reindex() {
  firstLines_.clear();
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (auto key = KeyOf(lines_[i])) firstLines_.try_emplace(base::LowerName(*key), i);
  }
}

SettingsList SettingsList::FromBytes(std::span<const uint8_t> bytes) {
  base::ByteReader in(bytes);
  return SettingsList(in.Text(in.Remaining()));
}

std::optional<SettingsList> SettingsList::Load(const std::filesystem::path& path) {
  auto bytes = base::ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return FromBytes(*bytes);
}

std::optional<size_t> SettingsList::Find(std::string_view key) const {
  auto it = firstLines_.find(base::LowerName(key));
  if (it == firstLines_.end()) return std::nullopt;
  return it->second;
}

std::string SettingsList::Value(std::string_view key) const {
  auto index = Find(key);
  if (!index) return {};
  return lines_[*index].substr(key.size() + 1);
}

void SettingsList::Set(std::string_view key, std::string_view value) {
  value = value.substr(0, value.find_first_of(kLineEnds));
  auto index = Find(key);
  if (value.empty()) {
    if (!index) return;
    std::erase_if(lines_, [key](const std::string& line) {
      auto name = KeyOf(line);
      return name && base::EqualsIgnoreCase(*name, key);
    });
    Reindex();
    return;
  }
  std::string line = std::string(key) + "=" + std::string(value);
  if (index) {
    lines_[*index] = std::move(line);
  } else {
    firstLines_.emplace(base::LowerName(key), lines_.size());
    lines_.push_back(std::move(line));
  }
}

std::string SettingsList::Text() const {
  std::string text;
  for (const auto& line : lines_) {
    text += line;
    text += kLineBreak;
  }
  return text;
}

bool SettingsList::Save(const std::filesystem::path& path) const {
  std::string text = Text();
  return base::WriteFileAtomic(
      path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace mavu::resource
