#include "base/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <system_error>

namespace mavu::base {

std::optional<Bytes> ReadWholeFile(const std::filesystem::path& path) {
  // A folder opens for reading and reports a size near 2^63: take files only.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  auto size = in.tellg();
  if (size < 0) return std::nullopt;
  in.seekg(0);
  Bytes data(static_cast<size_t>(size));
  if (!data.empty() && !in.read(reinterpret_cast<char*>(data.data()), size)) return std::nullopt;
  return data;
}

namespace {

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool WriteFileAtomic(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  std::error_code ec;
  if (ok) std::filesystem::rename(temp, path, ec);
  if (!ok || ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace mavu::base
