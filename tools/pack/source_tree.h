#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace mavu::tools {

struct SourceFile {
  std::filesystem::path path;
  std::string entryName;  // CP932, backslash-separated, relative to the source folder
};

// Every regular file below `root` in a stable order, with its entry name.
// Throws std::runtime_error naming a file whose name has no CP932 form.
std::vector<SourceFile> CollectSourceFiles(const std::filesystem::path& root);

// Whether packing converts the file's text from UTF-8 to CP932.
bool IsTextFile(const std::filesystem::path& path);

// The CP932 form of UTF-8 text (a leading byte-order mark dropped), or nothing
// when the text is not UTF-8 or holds characters CP932 lacks.
std::optional<base::Bytes> EncodeText(const base::Bytes& utf8);

}  // namespace mavu::tools
