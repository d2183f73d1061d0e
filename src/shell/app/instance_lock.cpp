#include "shell/app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

namespace mavu::shell {
namespace {

std::filesystem::path RuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') return runtime;
  std::error_code error;
  return std::filesystem::temp_directory_path(error);
}

}  // namespace

std::optional<InstanceLock> InstanceLock::Acquire(std::string_view executablePath) {
  return AcquireIn(RuntimeFolder(), executablePath);
}

std::optional<InstanceLock> InstanceLock::AcquireIn(const std::filesystem::path& folder,
                                                    std::string_view executablePath) {
  std::string name = "Application_" + std::filesystem::path(executablePath).filename().string();
  std::transform(name.begin(), name.end(), name.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  const int fd = ::open((folder / name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return InstanceLock(-1);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return std::nullopt;
  }
  return InstanceLock(fd);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace mavu::shell
