#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mavu::resource {

// Why `name` (CP932, as a .pack directory stores it) cannot be an entry name,
// or nothing when it can. An entry name is a relative path the engine can
// find and a tool can extract without leaving its folder: 1 to 65535 bytes,
// lower case (look-ups lower-case what they ask for), parts separated by
// single backslashes ("/" is turned into one before every look-up), no empty,
// "." or ".." part (so nothing absolute or climbing out), no control
// characters (they would reach terminals and file names).
std::optional<std::string> EntryNameProblem(std::string_view name);

}  // namespace mavu::resource
