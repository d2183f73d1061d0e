#include "resource/line_log.h"

namespace mavu::resource {

bool LineLog::ReportLine(std::string_view key, int32_t offset) {
  if (locked_ || counts_.RecordCount(key, offset, false)) return true;
  // Nothing stored: read before, or a full log that cannot learn the line, which
  // must not be skipped as if it had been read.
  const auto stored = counts_.Find(key);
  return !stored || *stored < offset;
}

}  // namespace mavu::resource
