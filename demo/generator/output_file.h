#pragma once

#include <filesystem>
#include <string_view>

#include "base/bytes.h"

namespace mavu::demo {

// Writes a file the generators make, creating its folder; says on standard
// error, in the name of `program`, what could not be written.
bool WriteOutput(std::string_view program, const std::filesystem::path& path,
                 const base::Bytes& bytes);

}  // namespace mavu::demo
