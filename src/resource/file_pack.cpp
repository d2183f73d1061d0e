#include "resource/file_pack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/cp932.h"
#include "resource/block_checksum.h"

namespace mavu::resource {

TFilePack::TFilePack(std::filesystem::path path, bool keepOpen)
    : path_(std::move(path)), keepOpen_(keepOpen) {
  WithOpenFile([this] {
    entries_ = ReadPackDirectory(
        size_, [this](uint64_t offset, size_t count) { return ReadAt(offset, count); });
  });
}

TFilePack::~TFilePack() {
  CloseFile();
}

void TFilePack::OpenFile() {
  if (fd_ >= 0) return;
  fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    const int error = errno;
    throw base::FormatError("cannot open " + PathText() + ": " + std::strerror(error));
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    CloseFile();
    throw base::FormatError(PathText() + " is no readable file");
  }
  size_ = static_cast<uint64_t>(st.st_size);
}

void TFilePack::WithOpenFile(const std::function<void()>& work) {
  OpenFile();
  try {
    work();
  } catch (...) {
    // Also when kept open: a failed constructor has no destructor to close it,
    // and a later read simply opens the file again.
    CloseFile();
    throw;
  }
  if (!keepOpen_) CloseFile();
}

void TFilePack::CloseFile() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

base::Bytes TFilePack::ReadAt(uint64_t offset, size_t count) const {
  base::Bytes bytes(count);
  size_t done = 0;
  while (done < count) {
    ssize_t n = ::pread(fd_, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw base::FormatError("archive " + PathText() + " ends early");
    done += static_cast<size_t>(n);
  }
  return bytes;
}

std::string TFilePack::PathText() const {
  return base::Utf8ToCp932(path_.string());
}

int TFilePack::IndexOf(std::string_view name) const {
  std::string wanted = base::LowerName(name);
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name == wanted) return static_cast<int>(i);
  }
  return -1;
}

std::optional<base::Bytes> TFilePack::ReadEntry(int index) {
  if (index < 0 || index >= EntryCount()) return std::nullopt;
  const PackEntry& entry = entries_[static_cast<size_t>(index)];
  base::Bytes stored;
  WithOpenFile([&] { stored = ReadAt(entry.offset, entry.storedLength); });
  if (verify_ && BlockChecksum(stored) != entry.checksum) {
    if (onError_) onError_(entry.name);
    return std::nullopt;
  }
  return DecodePackBody(entry, std::move(stored));
}

std::optional<base::Bytes> TFilePack::ReadEntryByName(std::string_view name) {
  return ReadEntry(IndexOf(name));
}

}  // namespace mavu::resource
