#pragma once

#include <filesystem>
#include <string_view>

#include "base/bytes.h"

namespace mavu::test {

// A fresh directory under the system temporary folder, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Writes a file below the directory (parents created) and returns its path.
  std::filesystem::path Write(const std::filesystem::path& relative, std::string_view content) const;
  std::filesystem::path Write(const std::filesystem::path& relative, const base::Bytes& content) const;

 private:
  std::filesystem::path path_;
};

}  // namespace mavu::test
