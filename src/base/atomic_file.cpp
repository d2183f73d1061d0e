#include "base/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace mavu::base {
namespace {

constexpr std::string_view kTempSuffix = ".tmp";
// mkstemps gives the temporary file mode 0600; the target gets what a plain create would.
constexpr mode_t kFileMode = 0644;

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {
  std::string pattern = target_.string() + ".XXXXXX" + std::string(kTempSuffix);
  fd_ = ::mkostemps(pattern.data(), static_cast<int>(kTempSuffix.size()), O_CLOEXEC);
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

bool AtomicFile::Commit() {
  if (!Good()) return false;
  const bool written = ::fsync(fd_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  std::error_code error;
  if (written && closed) std::filesystem::rename(temp_, target_, error);
  if (!written || !closed || error) {
    std::filesystem::remove(temp_, error);
    return false;
  }
  temp_.clear();
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
