#pragma once

#include <filesystem>
#include <optional>
#include <span>

#include "base/bytes.h"

namespace mavu::base {

// The whole file, or nothing when it cannot be opened or read.
std::optional<Bytes> ReadWholeFile(const std::filesystem::path& path);

// Replaces `path` whole through an AtomicFile: a crash, a full disk or a
// second writer never leaves it damaged or loses the previous file.
bool WriteFileAtomic(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace mavu::base
