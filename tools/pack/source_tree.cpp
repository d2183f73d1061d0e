#include "source_tree.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

#include "base/cp932.h"
#include "resource/pack_entry_name.h"
#include "shown_text.h"

namespace mavu::tools {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::array<std::string_view, 3> kTextExtensions = {".s", ".dat", ".txt"};

// The entry name of a relative host path, or why it cannot have one.
std::optional<std::string> EntryNameOf(const std::filesystem::path& relative,
                                       std::string& problem) {
  std::string name;
  for (const auto& part : relative) {
    auto converted = base::StrictUtf8ToCp932(part.string());
    if (!converted) {
      problem = "the file name has no CP932 form";
      return std::nullopt;
    }
    if (!name.empty()) name += '\\';
    name += *converted;
  }
  if (auto refused = resource::EntryNameProblem(base::LowerName(name))) {
    problem = "no entry may have this name: " + *refused;
    return std::nullopt;
  }
  return name;
}

bool IsInside(const std::filesystem::path& path, const std::filesystem::path& root) {
  const std::filesystem::path relative = path.lexically_relative(root);
  return !relative.empty() && *relative.begin() != "..";
}

// Why a link cannot be packed, or nothing for a link to a file inside the tree.
std::optional<std::string> LinkProblem(const std::filesystem::path& link,
                                       const std::filesystem::path& root) {
  std::error_code error;
  const std::filesystem::path target = std::filesystem::canonical(link, error);
  if (error) return "a link to nothing";
  if (std::filesystem::is_directory(target, error)) return "a link to a folder";
  if (!IsInside(target, root)) return "a link to a file outside the source folder";
  if (!std::filesystem::is_regular_file(target, error)) return "a link to no regular file";
  return std::nullopt;
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

SourceListing CollectSourceFiles(const std::filesystem::path& root) {
  SourceListing listing;
  const std::filesystem::path canonicalRoot = std::filesystem::canonical(root);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    std::optional<std::string> problem;
    if (entry.is_symlink()) {
      problem = LinkProblem(entry.path(), canonicalRoot);
    } else if (!entry.is_regular_file()) {
      continue;
    }
    std::string nameProblem;
    std::optional<std::string> name;
    if (!problem) name = EntryNameOf(entry.path().lexically_relative(root), nameProblem);
    if (name) {
      listing.files.push_back({entry.path(), *name});
    } else {
      listing.problems.push_back(Escaped(entry.path().string()) + ": " +
                                 problem.value_or(nameProblem));
    }
  }
  std::ranges::sort(listing.files, {}, &SourceFile::path);
  std::ranges::sort(listing.problems);
  return listing;
}

bool IsUtf8TextFile(const std::filesystem::path& path, const base::Bytes& bytes) {
  const std::string extension = AsciiLower(path.extension().string());
  if (std::ranges::find(kTextExtensions, extension) == kTextExtensions.end()) return false;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return text.find('\0') == std::string_view::npos && base::IsUtf8(text);
}

std::optional<base::Bytes> EncodeText(const base::Bytes& utf8) {
  std::string_view text(reinterpret_cast<const char*>(utf8.data()), utf8.size());
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  auto cp932 = base::StrictUtf8ToCp932(text);
  if (!cp932) return std::nullopt;
  return base::Bytes(cp932->begin(), cp932->end());
}

}  // namespace mavu::tools
