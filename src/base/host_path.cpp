#include "base/host_path.h"

#include <string>
#include <system_error>
#include <vector>

#include "base/cp932.h"

namespace mavu::base {

namespace {

// Splits at single-byte backslashes and slashes; empty parts are dropped.
std::vector<std::string> NameParts(std::string_view name) {
  std::vector<std::string> parts(1);
  for (size_t pos = 0; pos < name.size();) {
    size_t len = CharLength(name, pos);
    if (len == 1 && (name[pos] == '\\' || name[pos] == '/')) {
      if (!parts.back().empty()) parts.emplace_back();
    } else {
      parts.back().append(name.substr(pos, len));
    }
    pos += len;
  }
  if (parts.back().empty()) parts.pop_back();
  return parts;
}

std::string FoldAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& dir,
                                               const std::string& utf8Part) {
  std::error_code ec;
  std::filesystem::path exact = dir / utf8Part;
  if (std::filesystem::exists(exact, ec)) return exact;
  std::string wanted = FoldAscii(utf8Part);
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    if (FoldAscii(entry.path().filename().string()) == wanted) return entry.path();
  }
  return std::nullopt;
}

}  // namespace

std::filesystem::path HostPath(std::string_view name) {
  std::filesystem::path path;
  for (const auto& part : NameParts(name)) path /= Cp932ToUtf8(part);
  return path;
}

std::optional<std::filesystem::path> FindLooseFile(const std::filesystem::path& root,
                                                   std::string_view name) {
  auto parts = NameParts(name);
  if (parts.empty()) return std::nullopt;
  std::filesystem::path current = root;
  for (const auto& part : parts) {
    if (part == "." || part == "..") return std::nullopt;  // never leave the game folder
    auto found = FindEntry(current, Cp932ToUtf8(part));
    if (!found) return std::nullopt;
    current = *found;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(current, ec)) return std::nullopt;
  return current;
}

}  // namespace mavu::base
