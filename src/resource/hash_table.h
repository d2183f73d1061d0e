#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/string_cache.h"

namespace mavu::resource {

// Persistent hash table from lower-cased names to fixed-size values, stored as
// the "HashVer1.2" stream (the .hash index and the read logs of system data).
class THashTable {
 public:
  static constexpr uint32_t kMaxEntries = 65535;
  static constexpr size_t kCacheSlots = 32;

  explicit THashTable(uint32_t buckets);

  // False, changing nothing, when the table is full, when the key's stored value
  // is shorter than `value` (a damaged stream), or when the key or the table
  // would grow past what the stream form can hold and read back.
  bool Put(std::string_view key, std::span<const uint8_t> value);
  // True when present; copies value.size() bytes into `value` when it is not
  // empty (false if the stored value is shorter).
  bool Get(std::string_view key, std::span<uint8_t> value = {});
  // Offset of the key's value within the data area.
  std::optional<uint64_t> Find(std::string_view key);
  void ClearTable();

  // Buckets must be at least 1 (std::invalid_argument otherwise).
  // Throws base::FormatError with the messages of the format (wrong header, wrong
  // bucket count, damaged index); the table is then left empty.
  bool LoadFromFile(const std::filesystem::path& path);
  bool LoadFromStream(base::ByteReader& in);
  void SaveToStream(base::ByteWriter& out) const;

  uint32_t BucketCount() const { return static_cast<uint32_t>(buckets_.size()); }
  uint32_t EntryCount() const { return entryCount_; }
  const base::Bytes& DataArea() const { return data_; }

 private:
  // Keys live one after another in keys_: a table of 65,535 entries is read
  // at every start, and a string apiece would cost an allocation each.
  struct Entry {
    uint32_t keyStart;
    uint32_t keyLength;
    uint64_t offset;
  };
  std::string_view KeyOf(const Entry& entry) const {
    return std::string_view(keys_).substr(entry.keyStart, entry.keyLength);
  }
  void AddEntry(std::vector<Entry>& bucket, std::string_view key, uint64_t offset);
  std::optional<uint64_t> FindLower(const std::string& lowerKey);
  std::vector<Entry>& BucketOf(const std::string& lowerKey);
  bool ValueFits(uint64_t offset, size_t size) const;
  void ReadIndex(base::ByteReader& index, uint32_t entries, uint32_t dataLength);

  std::vector<std::vector<Entry>> buckets_;
  std::string keys_;
  base::Bytes data_;
  uint32_t entryCount_ = 0;
  // Bytes of the index and data area once unpacked, kept within what BpeExpand accepts.
  size_t unpackedSize_ = 0;
  TStringCache cache_{kCacheSlots};
};

}  // namespace mavu::resource
