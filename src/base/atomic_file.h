#pragma once

#include <filesystem>
#include <span>

namespace mavu::base {

// A file replaced whole or not at all. The bytes go to a temporary file of a
// unique name ("<name>.XXXXXX.tmp", created exclusively beside the target), so
// that two writers never share one; Commit flushes it to disk and renames it
// over the target. A file that is not committed is removed, and the target
// keeps its previous contents. Temporary files of the same target left by a
// writer that was killed are removed when the next one starts: one process
// writes a given file at a time.
class AtomicFile {
 public:
  explicit AtomicFile(std::filesystem::path target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // False once anything failed, the creation of the temporary file included.
  bool Good() const { return fd_ >= 0; }
  bool Append(std::span<const uint8_t> bytes);
  bool Commit();

 private:
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temp_;
  int fd_ = -1;
};

}  // namespace mavu::base
