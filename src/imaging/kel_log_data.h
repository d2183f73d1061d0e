#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::imaging {

// One finished message as the backlog keeps it.
struct KelLogEntry {
  static constexpr uint8_t kUnusedByte = 255;

  std::string speaker;
  std::string text;  // tags kept
  std::string voice;
  uint32_t attribute1 = 0;
  uint32_t attribute2 = 0;
  uint8_t byteAttribute = kUnusedByte;

  bool operator==(const KelLogEntry&) const = default;
};

// The backlog store (`TKelLogData`): a ring of the last 256 messages. Message
// windows add to it when a message is finished, scripts through the log
// object; the backlog screen reads it newest first.
class TKelLogData {
 public:
  static constexpr int32_t kEntries = 256;

  // Writes at the head; the head advances (wrapping) and the count grows up to
  // kEntries, so the oldest entry is overwritten once the ring is full.
  void Add(KelLogEntry entry);
  // Every entry back to its unused form; count and head 0.
  void Clear();

  int32_t Count() const { return count_; }
  int32_t Head() const { return head_; }
  // The entry k back from the newest (k = 0 is the newest); null outside 0..count-1.
  const KelLogEntry* Back(int32_t k) const;

  // u32 count, u32 head, then all kEntries entries in ring order, each as
  // speaker, text and voice (Str16), u32 attribute1, u32 attribute2 and u8
  // byteAttribute.
  void WriteState(base::ByteWriter& out) const;
  // Reads exactly what WriteState wrote. Throws base::FormatError for a short
  // stream or a count or head out of range, and then changes nothing.
  void ReadState(base::ByteReader& in);

 private:
  std::array<KelLogEntry, kEntries> entries_;
  int32_t head_ = 0;
  int32_t count_ = 0;
};

}  // namespace mavu::imaging
