#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/label_log.h"

namespace mavu::resource {

// Counts how often the game's resources have been opened, for the names that a
// script selected through up to 64 filters. The counts persist with system
// data; the filters and the lock belong to the game state.
class FileLog {
 public:
  static constexpr size_t kFilterCount = 64;
  static constexpr size_t kFilterBytes = 15;
  static constexpr int32_t kMaxCount = 0xFFFFFF;
  // Lock flag, then per filter a length byte and kFilterBytes bytes of text.
  static constexpr size_t kStateSize = 1 + kFilterCount * (1 + kFilterBytes);

  // The data tree's open hook: counts one open of `lowerName` (the resolved,
  // lower-cased name) when the log is unlocked, the name lies outside
  // "system\" and a filter occurs in it. Counts stop at kMaxCount.
  void CountOpen(std::string_view lowerName);

  // Lower-cased and cut to whole characters of at most kFilterBytes bytes, the
  // text takes the first free filter; nothing happens when none is free.
  void AddFilter(std::string_view text);
  // Empties every filter that equals `text` exactly.
  void RemoveFilter(std::string_view text);
  // Unlocks the log and empties every filter (also the interpreter's reset).
  void Reset();
  void SetLocked(bool locked) { locked_ = locked; }
  bool Locked() const { return locked_; }
  const std::array<std::string, kFilterCount>& Filters() const { return filters_; }

  TLabelLog& Counts() { return counts_; }

  // The game-state form of the lock and the filters (kStateSize bytes).
  void WriteState(base::ByteWriter& out) const;
  // Throws base::FormatError for a filter longer than kFilterBytes, changing nothing.
  void ReadState(base::ByteReader& in);

 private:
  // The first filter found in the name, at a character boundary.
  bool Selected(std::string_view lowerName) const;

  TLabelLog counts_;
  std::array<std::string, kFilterCount> filters_;
  bool locked_ = false;
};

}  // namespace mavu::resource
