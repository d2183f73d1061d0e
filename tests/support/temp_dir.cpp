#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace mavu::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "mavu-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::Write(const std::filesystem::path& relative,
                                     std::string_view content) const {
  auto full = path_ / relative;
  std::filesystem::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + full.string());
  return full;
}

std::filesystem::path TempDir::Write(const std::filesystem::path& relative,
                                     const base::Bytes& content) const {
  return Write(relative, std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

}  // namespace mavu::test
