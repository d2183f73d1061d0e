#include "source_tree.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

#include "base/cp932.h"

namespace mavu::tools {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::array<std::string_view, 3> kTextExtensions = {".s", ".dat", ".txt"};

// The converter writes "?" for whatever it cannot convert, and no two-byte CP932
// character contains that byte, so a changed count of "?" means a loss.
std::optional<std::string> StrictUtf8ToCp932(std::string_view utf8) {
  std::string cp932 = base::Utf8ToCp932(utf8);
  if (std::ranges::count(cp932, '?') != std::ranges::count(utf8, '?')) return std::nullopt;
  return cp932;
}

std::string EntryNameOf(const std::filesystem::path& relative) {
  std::string name;
  for (const auto& part : relative) {
    auto converted = StrictUtf8ToCp932(part.string());
    if (!converted)
      throw std::runtime_error(relative.string() + ": the file name has no CP932 form");
    if (!name.empty()) name += '\\';
    name += *converted;
  }
  return name;
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

std::vector<SourceFile> CollectSourceFiles(const std::filesystem::path& root) {
  std::vector<SourceFile> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    auto relative = entry.path().lexically_relative(root);
    files.push_back({entry.path(), EntryNameOf(relative)});
  }
  std::ranges::sort(files, {}, &SourceFile::path);
  return files;
}

bool IsTextFile(const std::filesystem::path& path) {
  std::string extension = AsciiLower(path.extension().string());
  return std::ranges::find(kTextExtensions, extension) != kTextExtensions.end();
}

std::optional<base::Bytes> EncodeText(const base::Bytes& utf8) {
  std::string_view text(reinterpret_cast<const char*>(utf8.data()), utf8.size());
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  auto cp932 = StrictUtf8ToCp932(text);
  if (!cp932) return std::nullopt;
  return base::Bytes(cp932->begin(), cp932->end());
}

}  // namespace mavu::tools
