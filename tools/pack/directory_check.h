#pragma once

#include <optional>
#include <string>
#include <vector>

#include "resource/pack_directory.h"

namespace mavu::tools {

// What keeps each entry of a pack from being verified or extracted (UTF-8),
// in directory order: a name no entry may have, a name that another entry
// also has (letter case aside, as the engine compares them), a name that is
// another entry's folder or lies in another entry, a body that shares bytes
// with another entry's body. Both entries of a clash are refused, so that
// nothing is extracted over something else. Bodies apart, what an extract
// writes is bounded by what its packed bodies may expand to, 512 times each.
std::vector<std::optional<std::string>> DirectoryProblems(
    const std::vector<resource::PackEntry>& entries);

}  // namespace mavu::tools
