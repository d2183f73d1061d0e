#pragma once

#include <filesystem>
#include <optional>
#include <span>

#include "base/bytes.h"

namespace mavu::base {

// The whole file, or nothing when it cannot be opened or read.
std::optional<Bytes> ReadWholeFile(const std::filesystem::path& path);

// Writes to a temporary file beside `path`, flushes it to disk and renames it
// over `path`, so that a crash or a full disk never loses the previous file.
bool WriteFileAtomic(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace mavu::base
