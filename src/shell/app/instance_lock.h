#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace mavu::shell {

// One running copy of the program per user: an exclusive lock on the file
// "Application_" + the executable's file name, all in lower case, in the
// user's runtime folder ($XDG_RUNTIME_DIR, else the temporary folder). The operating system
// lets go of it when the process ends, however it ends, so a crash never
// leaves a stale lock behind.
class InstanceLock {
 public:
  // The lock, or nothing when another process holds it. A lock file that
  // cannot be made at all does not keep the game from running.
  static std::optional<InstanceLock> Acquire(std::string_view executablePath);
  static std::optional<InstanceLock> AcquireIn(const std::filesystem::path& folder,
                                               std::string_view executablePath);

  InstanceLock(InstanceLock&& other) noexcept;
  InstanceLock& operator=(InstanceLock&&) = delete;
  ~InstanceLock();

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}

  int fd_;
};

}  // namespace mavu::shell
