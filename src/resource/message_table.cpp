#include "resource/message_table.h"

#include <optional>

#include "base/cp932.h"

namespace mavu::resource {

namespace {

constexpr std::string_view kAppMark = "%%%app";
constexpr std::string_view kLineMark = "%%%n";

MessageTable& ProcessTable() {
  static MessageTable table;
  return table;
}

std::string& ProcessTitle() {
  static std::string title("Mavu");
  return title;
}

}  // namespace

bool MessageTable::Load(const std::filesystem::path& path) {
  auto list = SettingsList::Load(path);
  list_ = list.value_or(SettingsList());
  return list.has_value();
}

bool LoadMessageTable(const std::filesystem::path& path) {
  return ProcessTable().Load(path);
}

std::string MessageText(std::string_view key) {
  return ProcessTable().Text(key);
}

const std::string& ApplicationTitle() {
  return ProcessTitle();
}

void SetApplicationTitle(std::string_view title) {
  ProcessTitle() = title;
}

std::string DialogDisplayText(std::string_view text, std::string_view appTitle) {
  // "%" lies below the lowest CP932 trail byte, so a mark found byte by byte
  // always starts on a character boundary.
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    if (text.substr(pos).starts_with(kAppMark)) {
      out += appTitle;
      pos += kAppMark.size();
    } else if (text.substr(pos).starts_with(kLineMark)) {
      out += '\n';
      pos += kLineMark.size();
    } else {
      out += text[pos++];
    }
  }
  return base::Cp932ToUtf8(out);
}

}  // namespace mavu::resource
