#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace mavu::base {

// A resource name ("System\Menu\Layout.dat", CP932) as a relative host path:
// backslashes become separators, the text becomes UTF-8.
std::filesystem::path HostPath(std::string_view name);

// `name` as a path below `folder`, or nothing when it would lead elsewhere
// (a root, "." or ".." steps) or is empty: names a game gives for its own
// files never reach outside the folder they are meant for.
std::optional<std::filesystem::path> PathInsideFolder(const std::filesystem::path& folder,
                                                      std::string_view name);

// Finds the regular file `name` below `root`, matching each path component
// without regard to letter case, so a game folder copied from a system with
// case-insensitive names still works. The exact spelling is tried first.
std::optional<std::filesystem::path> FindLooseFile(const std::filesystem::path& root,
                                                   std::string_view name);

// The loose file as found above, or where it goes when there is none yet
// (the name's exact spelling).
std::filesystem::path LooseFilePath(const std::filesystem::path& root, std::string_view name);

}  // namespace mavu::base
