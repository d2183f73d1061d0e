#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/label_log.h"

namespace mavu::resource {

// How far each labelled part of the script has been read: per label key (its
// file and name) the furthest line offset reached. Read-skip mode uses it to
// stop at text the player has not seen. The counts persist with system data;
// the lock belongs to the game state.
class LineLog {
 public:
  // The reader reached line `offset` after the label `key`. Records it unless
  // the log is locked. True when read-skip must stop here: the line was not
  // read before, or the log is locked and cannot tell.
  bool ReportLine(std::string_view key, int32_t offset);

  void SetLocked(bool locked) { locked_ = locked; }
  bool Locked() const { return locked_; }
  TLabelLog& Counts() { return counts_; }

  // The game-state form of the lock: one byte, 1 when locked.
  void WriteState(base::ByteWriter& out) const { out.U8(locked_ ? 1 : 0); }
  void ReadState(base::ByteReader& in) { locked_ = in.U8() != 0; }

 private:
  // The reader reports every line, mostly of the label it reported last, so
  // the last key's value is kept while the log is unchanged.
  std::optional<int32_t> Stored(std::string_view key);

  TLabelLog counts_;
  bool locked_ = false;
  std::string memoKey_;
  std::optional<int32_t> memoValue_;
  uint64_t memoChanges_ = ~uint64_t{0};
};

}  // namespace mavu::resource
