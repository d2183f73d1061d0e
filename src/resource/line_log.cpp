#include "resource/line_log.h"

namespace mavu::resource {

// A full log cannot learn the line; it counts as unread rather than be skipped.
bool LineLog::ReportLine(std::string_view key, int32_t offset) {
  if (locked_) return true;
  const std::optional<int32_t> stored = Stored(key);
  if (stored && *stored >= offset) return false;
  if (counts_.RecordCount(key, offset, true)) {
    memoValue_ = offset;
    memoChanges_ = counts_.Changes();
  }
  return true;
}

std::optional<int32_t> LineLog::Stored(std::string_view key) {
  if (memoChanges_ != counts_.Changes() || memoKey_ != key) {
    memoKey_ = key;
    memoValue_ = counts_.Find(key);
    memoChanges_ = counts_.Changes();
  }
  return memoValue_;
}

}  // namespace mavu::resource
