#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "resource/pack_directory.h"

namespace mavu::resource {

// A .pack archive: the file bodies behind a directory read at opening.
// Keep-open holds the file from opening to destruction; otherwise it is opened
// around the directory read and around every entry read.
class TFilePack {
 public:
  using ErrorCallback = std::function<void(const std::string& entryName)>;

  // Throws base::FormatError when the file cannot be read or its directory is
  // damaged; a file without the pack signature opens as an empty archive.
  TFilePack(std::filesystem::path path, bool keepOpen);
  ~TFilePack();
  TFilePack(const TFilePack&) = delete;
  TFilePack& operator=(const TFilePack&) = delete;

  bool EntryExists(std::string_view name) const { return IndexOf(name) >= 0; }
  // The number of the first entry of the name (letter case ignored), or -1.
  int IndexOf(std::string_view name) const;
  // The entry's contents positioned at its start, or nothing for a number out
  // of range or (verification on) a checksum mismatch, which also calls the
  // error callback with the entry's name. Throws base::FormatError when the
  // body cannot be read or does not expand.
  std::optional<base::Bytes> ReadEntry(int index);
  std::optional<base::Bytes> ReadEntryByName(std::string_view name);

  int EntryCount() const { return static_cast<int>(entries_.size()); }
  const std::vector<PackEntry>& Entries() const { return entries_; }
  const std::filesystem::path& Path() const { return path_; }
  bool IsFileOpen() const { return fd_ >= 0; }

  void SetVerification(bool on) { verify_ = on; }
  bool Verification() const { return verify_; }
  void SetErrorCallback(ErrorCallback callback) { onError_ = std::move(callback); }

 private:
  void OpenFile();
  // Runs `work` with the file open, closing it afterwards unless kept open.
  void WithOpenFile(const std::function<void()>& work);
  void CloseFile();
  base::Bytes ReadAt(uint64_t offset, size_t count) const;
  // The path for messages, which are CP932 like every engine text.
  std::string PathText() const;

  std::filesystem::path path_;
  bool keepOpen_;
  int fd_ = -1;
  uint64_t size_ = 0;
  std::vector<PackEntry> entries_;
  bool verify_ = false;
  ErrorCallback onError_;
};

}  // namespace mavu::resource
