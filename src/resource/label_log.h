#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/hash_table.h"

namespace mavu::resource {

// A counter log: signed 32-bit values by lower-cased key, kept in a persistent
// hash table so that system data can store it as a hash-table stream. The file
// log and the line log of system data are two of them.
class TLabelLog {
 public:
  static constexpr uint32_t kBuckets = 256;
  static constexpr int32_t kAbsent = -1;

  TLabelLog() : table_(kBuckets) {}

  // Forced: stores `value` and gives true. Otherwise a present value that is
  // not smaller than `value` stays and the result is false. False as well when
  // the table cannot take the key (full, or a damaged entry).
  bool RecordCount(std::string_view key, int32_t value, bool force);
  // The stored value, or nothing when the key is absent.
  std::optional<int32_t> Find(std::string_view key);
  // The stored value, or kAbsent.
  int32_t LookupCount(std::string_view key) { return Find(key).value_or(kAbsent); }
  void ClearLog() {
    table_.ClearTable();
    ++changes_;
  }

  // Replaces the log with the stream's. Throws base::FormatError (the log is
  // then empty) for a stream of another table size or a damaged one.
  void LoadLog(base::ByteReader& in) {
    ++changes_;
    table_.LoadFromStream(in);
  }
  void SaveLog(base::ByteWriter& out) const { table_.SaveToStream(out); }

  uint32_t EntryCount() const { return table_.EntryCount(); }
  // Counts every change, so that a value remembered outside stays usable
  // until the log changes.
  uint64_t Changes() const { return changes_; }

 private:
  THashTable table_;
  uint64_t changes_ = 0;
};

}  // namespace mavu::resource
