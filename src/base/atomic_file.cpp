#include "base/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace mavu::base {
namespace {

constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::string_view kTempMarks = ".XXXXXX";
// mkstemps gives the temporary file mode 0600; the target gets what a plain create would.
constexpr mode_t kFileMode = 0644;

std::filesystem::path FolderOf(const std::filesystem::path& target) {
  return target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
}

// A temporary file of an earlier writer of `target` that was killed or lost
// its power before it could commit or remove it.
bool IsLeftoverOf(const std::string& name, const std::string& target) {
  return name.size() == target.size() + kTempMarks.size() + kTempSuffix.size() &&
         name.starts_with(target + ".") && name.ends_with(kTempSuffix);
}

// Every writer holds a lock on its temporary file, so one that can be locked
// has nobody writing it.
void RemoveIfAbandoned(const std::filesystem::path& temp) {
  const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(temp.c_str());
  ::close(fd);
}

void RemoveLeftovers(const std::filesystem::path& target) {
  std::error_code error;
  const std::string name = target.filename().string();
  for (std::filesystem::directory_iterator it(FolderOf(target), error), end; !error && it != end;
       it.increment(error)) {
    if (IsLeftoverOf(it->path().filename().string(), name)) RemoveIfAbandoned(it->path());
  }
}

// A temporary file of our own, locked; -1 on failure. Another writer may have
// taken it for abandoned between its creation and the lock: then it is gone
// from the folder and a new one is made.
int CreateLockedTemp(std::string& pattern) {
  const std::string original = pattern;
  for (int attempt = 0; attempt < 4; ++attempt) {
    pattern = original;
    const int fd = ::mkostemps(pattern.data(), static_cast<int>(kTempSuffix.size()), O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0) return fd;
    ::close(fd);
  }
  return -1;
}

// The rename reaches the disk only with its folder.
void SyncFolder(const std::filesystem::path& target) {
  const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {
  RemoveLeftovers(target_);
  std::string pattern = target_.string() + std::string(kTempMarks) + std::string(kTempSuffix);
  fd_ = CreateLockedTemp(pattern);
  if (fd_ < 0) return;
  temp_ = pattern;
  if (::fchmod(fd_, kFileMode) != 0) Discard();
}

AtomicFile::~AtomicFile() {
  Discard();
}

bool AtomicFile::Append(std::span<const uint8_t> bytes) {
  while (Good() && !bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Discard();
      return false;
    }
    bytes = bytes.subspan(static_cast<size_t>(n));
  }
  return Good();
}

// Renamed while still locked, so that no other writer takes it for abandoned.
bool AtomicFile::Commit() {
  if (!Good()) return false;
  std::error_code error;
  const bool written = ::fsync(fd_) == 0;
  if (written) std::filesystem::rename(temp_, target_, error);
  if (!written || error) {
    Discard();
    return false;
  }
  ::close(fd_);
  fd_ = -1;
  temp_.clear();
  SyncFolder(target_);
  return true;
}

void AtomicFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  std::error_code error;
  if (!temp_.empty()) std::filesystem::remove(temp_, error);
  temp_.clear();
}

}  // namespace mavu::base
