#pragma once

#include <filesystem>
#include <optional>

#include "tool_usage.h"

namespace mavu::tools {

// mavu-anim build: the description compiled into an "ABMP7" file at `out`.
int BuildAnimation(const std::filesystem::path& out, const std::filesystem::path& description);

// mavu-anim dump: the description of an "ABMP5", "ABMP6" or "ABMP7" file on
// standard output; with `out`, written there, and the embedded image and
// sounds written as files beside it under the names the description gives.
int DumpAnimation(const std::filesystem::path& file,
                  const std::optional<std::filesystem::path>& out);

}  // namespace mavu::tools
