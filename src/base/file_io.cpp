#include "base/file_io.h"

#include <fstream>
#include <system_error>

#include "base/atomic_file.h"

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

bool WriteFileAtomic(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  AtomicFile file(path);
  return file.Append(bytes) && file.Commit();
}

}  // namespace mavu::base
