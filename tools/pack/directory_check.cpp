#include "directory_check.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "base/cp932.h"
#include "resource/pack_entry_name.h"
#include "shown_text.h"

namespace mavu::tools {
namespace {

using Problems = std::vector<std::optional<std::string>>;

void Refuse(Problems& problems, size_t entry, const std::string& problem) {
  if (!problems[entry]) problems[entry] = problem;
}

void RefuseBadNames(const std::vector<resource::PackEntry>& entries, Problems& problems) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (auto problem = resource::EntryNameProblem(entries[i].name)) {
      Refuse(problems, i, "no entry may have this name: " + *problem);
    }
  }
}

// The folders a name lies in: "a\b\c" gives "a" and "a\b".
std::vector<std::string> FoldersOf(const std::string& name) {
  std::vector<std::string> folders;
  for (size_t pos = 0; pos < name.size(); pos += base::CharLength(name, pos)) {
    if (name[pos] == '\\' && base::CharLength(name, pos) == 1)
      folders.push_back(name.substr(0, pos));
  }
  return folders;
}

void RefuseClashingNames(const std::vector<resource::PackEntry>& entries, Problems& problems) {
  std::unordered_map<std::string, size_t> files;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (problems[i]) continue;
    const auto [first, added] = files.try_emplace(base::LowerName(entries[i].name), i);
    if (added) continue;
    Refuse(problems, i, "a second entry of this name (letter case aside)");
    Refuse(problems, first->second, "a second entry of this name (letter case aside)");
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (problems[i]) continue;
    for (const std::string& folder : FoldersOf(base::LowerName(entries[i].name))) {
      const auto file = files.find(folder);
      if (file == files.end()) continue;
      Refuse(problems, i, "lies in " + Shown(entries[file->second].name) + ", which is a file");
      Refuse(problems, file->second, "is also the folder of " + Shown(entries[i].name));
    }
  }
}

// Sorted by offset, a body that starts before the farthest end so far
// shares bytes with the body that reaches there.
void RefuseSharedBodies(const std::vector<resource::PackEntry>& entries, Problems& problems) {
  std::vector<size_t> order(entries.size());
  std::iota(order.begin(), order.end(), 0);
  std::erase_if(order, [&](size_t i) { return entries[i].storedLength == 0; });
  std::ranges::sort(order, {}, [&](size_t i) { return entries[i].offset; });
  std::optional<size_t> farthest;
  auto end = [&](size_t i) { return entries[i].offset + entries[i].storedLength; };
  for (size_t i : order) {
    if (farthest && entries[i].offset < end(*farthest)) {
      const std::string shared = "its body shares bytes with the body of ";
      Refuse(problems, i, shared + Shown(entries[*farthest].name));
      Refuse(problems, *farthest, shared + Shown(entries[i].name));
    }
    if (!farthest || end(i) > end(*farthest)) farthest = i;
  }
}

}  // namespace

Problems DirectoryProblems(const std::vector<resource::PackEntry>& entries) {
  Problems problems(entries.size());
  RefuseBadNames(entries, problems);
  RefuseClashingNames(entries, problems);
  RefuseSharedBodies(entries, problems);
  return problems;
}

}  // namespace mavu::tools
