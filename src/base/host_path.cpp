#include "base/host_path.h"

#include <chrono>
#include <mutex>
#include <string>
#include <system_error>
#include <unordered_map>
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

// The entries of the folders looked into, by folded name. A folder is listed
// again whenever its modification time changes (an entry added, removed or
// renamed), so files copied in while the game runs are found, and a name
// that is only in the archives costs a stat per folder instead of a listing.
// A listing taken while the folder's time is still fresh is not trusted:
// file systems keep coarse times, so a change in the same tick would not
// move it (the racy-timestamp rule version control tools use).
class FolderIndex {
 public:
  std::optional<std::filesystem::path> Find(const std::filesystem::path& dir,
                                            const std::string& utf8Part) {
    std::error_code ec;
    const auto stamp = std::filesystem::last_write_time(dir, ec);
    if (ec) return std::nullopt;
    std::lock_guard lock(mutex_);
    Listing& listing = folders_[dir.string()];
    if (!listing.trusted || listing.stamp != stamp) listing = List(dir, stamp);
    const auto [first, last] = listing.names.equal_range(FoldAscii(utf8Part));
    if (first == last) return std::nullopt;
    for (auto it = first; it != last; ++it) {
      if (it->second == utf8Part) return dir / it->second;  // the exact spelling first
    }
    return dir / first->second;
  }

 private:
  struct Listing {
    bool trusted = false;
    std::filesystem::file_time_type stamp;
    std::unordered_multimap<std::string, std::string> names;  // folded -> as stored
  };

  static Listing List(const std::filesystem::path& dir, std::filesystem::file_time_type stamp) {
    constexpr auto kSettled = std::chrono::seconds(2);
    const bool settled = std::filesystem::file_time_type::clock::now() - stamp > kSettled;
    Listing listing{settled, stamp, {}};
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
      const std::string name = entry.path().filename().string();
      listing.names.emplace(FoldAscii(name), name);
    }
    return listing;
  }

  std::mutex mutex_;
  std::unordered_map<std::string, Listing> folders_;
};

std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& dir,
                                               const std::string& utf8Part) {
  static FolderIndex index;
  return index.Find(dir, utf8Part);
}

}  // namespace

std::filesystem::path HostPath(std::string_view name) {
  std::filesystem::path path;
  for (const auto& part : NameParts(name)) path /= Cp932ToUtf8(part);
  return path;
}

std::optional<std::filesystem::path> PathInsideFolder(const std::filesystem::path& folder,
                                                      std::string_view name) {
  const std::filesystem::path relative = HostPath(name);
  if (relative.empty() || relative.has_root_path()) return std::nullopt;
  for (const auto& part : relative) {
    if (part == "." || part == "..") return std::nullopt;
  }
  return folder / relative;
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

std::filesystem::path LooseFilePath(const std::filesystem::path& root, std::string_view name) {
  return FindLooseFile(root, name).value_or(root / HostPath(name));
}

}  // namespace mavu::base
