#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "base/bytes.h"
#include "resource/file_pack.h"
#include "resource/hash_table.h"

namespace mavu::resource {

// An archive pair: "STEM.pack" with the bodies and "STEM.hash", an index from
// lower-cased name to u16 entry number. Without the index, look-ups scan the
// pack's directory. An index that gives a name the number of an entry of
// another name is dropped at once (and the error log says so): from then on
// look-ups scan the directory, so a lying index never serves the wrong file.
class THashFilePack {
 public:
  static constexpr uint32_t kIndexBuckets = 512;

  // The stem's extension is replaced by ".hash" and ".pack". Either file may be
  // missing. Throws base::FormatError when one that is present is damaged.
  THashFilePack(const std::filesystem::path& stem, bool keepOpen);
  // The two files named explicitly; no index when `hashPath` is empty.
  THashFilePack(const std::filesystem::path& packPath, const std::filesystem::path& hashPath,
                bool keepOpen);

  bool Exists(std::string_view name);
  // The entry's contents, or nothing when it is missing or failed its checksum.
  // A failure while reading throws base::FormatError with the text
  // "パッケージからの読み込みに失敗しました:" followed by `name`.
  std::optional<base::Bytes> Open(std::string_view name);

  // Nothing when the .pack file is missing.
  TFilePack* Pack() { return pack_.get(); }
  bool HasIndex() const { return index_ != nullptr; }

 private:
  // The entry number of the name, or -1.
  int EntryOf(std::string_view name);
  // The entry number the index gives the name, or nothing.
  std::optional<int> IndexedEntry(std::string_view name);
  void DropIndex(std::string_view name, int entry);

  std::filesystem::path indexPath_;
  std::unique_ptr<THashTable> index_;
  std::unique_ptr<TFilePack> pack_;
};

}  // namespace mavu::resource
