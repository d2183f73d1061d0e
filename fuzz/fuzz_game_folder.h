#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "base/error_log.h"
#include "resource/data_tree.h"

// A loose-file game folder shared by the script fuzz targets: created once per
// process, made the data tree's program folder, removed when the fuzzer exits.
namespace mavu::fuzz {

// Inputs hold several files separated by this mark.
inline constexpr std::string_view kPartSeparator = "\xFE\xFE\xFE";

class GameFolder {
 public:
  GameFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mavu-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
    resource::TheDataTree().SetProgramDirectory(path_);
    base::TheErrorLog().SetDirectory(path_);
  }
  ~GameFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline const std::filesystem::path& GamePath() {
  static const GameFolder folder;
  return folder.Path();
}

// The next part of the input; `rest` moves past it and its separator.
inline std::string_view TakePart(std::string_view& rest) {
  size_t end = rest.find(kPartSeparator);
  std::string_view part = rest.substr(0, end);
  rest =
      end == std::string_view::npos ? std::string_view() : rest.substr(end + kPartSeparator.size());
  return part;
}

inline void WriteScript(const char* name, std::string_view text) {
  std::ofstream out(GamePath() / name, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) std::abort();
}

}  // namespace mavu::fuzz
