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

// The files below a source folder in a stable order, with their entry names,
// and what stops others from being packed: a name without a CP932 form or one
// that no entry may have, a link to a folder, to nothing, or out of the folder.
// A link to a file inside the folder is packed under the link's name.
struct SourceListing {
  std::vector<SourceFile> files;
  std::vector<std::string> problems;  // UTF-8, one per file
};
SourceListing CollectSourceFiles(const std::filesystem::path& root);

// Whether --encode-text converts the file: a .s, .dat or .txt file whose
// bytes are UTF-8 text (well-formed to the end, no NUL). Others are packed
// byte for byte.
bool IsUtf8TextFile(const std::filesystem::path& path, const base::Bytes& bytes);

// The CP932 form of UTF-8 text (a leading byte-order mark dropped), or nothing
// when the text holds characters CP932 lacks.
std::optional<base::Bytes> EncodeText(const base::Bytes& utf8);

}  // namespace mavu::tools
