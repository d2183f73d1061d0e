#include "imaging/kel_log_data.h"

#include <memory>

namespace mavu::imaging {

void TKelLogData::Add(KelLogEntry entry) {
  entries_[static_cast<size_t>(head_)] = std::move(entry);
  head_ = (head_ + 1) % kEntries;
  if (count_ < kEntries) ++count_;
}

void TKelLogData::Clear() {
  entries_.fill(KelLogEntry{});
  head_ = 0;
  count_ = 0;
}

const KelLogEntry* TKelLogData::Back(int32_t k) const {
  if (k < 0 || k >= count_) return nullptr;
  const int32_t index = ((head_ - 1 - k) % kEntries + kEntries) % kEntries;
  return &entries_[static_cast<size_t>(index)];
}

void TKelLogData::WriteState(base::ByteWriter& out) const {
  out.U32(static_cast<uint32_t>(count_));
  out.U32(static_cast<uint32_t>(head_));
  for (const KelLogEntry& entry : entries_) {
    out.Str16(entry.speaker);
    out.Str16(entry.text);
    out.Str16(entry.voice);
    out.U32(entry.attribute1);
    out.U32(entry.attribute2);
    out.U8(entry.byteAttribute);
  }
}

void TKelLogData::ReadState(base::ByteReader& in) {
  const uint32_t count = in.U32();
  const uint32_t head = in.U32();
  if (count > static_cast<uint32_t>(kEntries) || head >= static_cast<uint32_t>(kEntries)) {
    throw base::FormatError("backlog: count or head out of range");
  }
  // Read aside, so that a short stream leaves the backlog as it was.
  auto entries = std::make_unique<std::array<KelLogEntry, kEntries>>();
  for (KelLogEntry& entry : *entries) {
    entry.speaker = in.Str16();
    entry.text = in.Str16();
    entry.voice = in.Str16();
    entry.attribute1 = in.U32();
    entry.attribute2 = in.U32();
    entry.byteAttribute = in.U8();
  }
  entries_ = std::move(*entries);
  count_ = static_cast<int32_t>(count);
  head_ = static_cast<int32_t>(head);
}

}  // namespace mavu::imaging
