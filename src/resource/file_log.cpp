#include "resource/file_log.h"

#include <algorithm>
#include <utility>

#include "base/cp932.h"

namespace mavu::resource {
namespace {

// Resources of the engine itself are never counted.
constexpr std::string_view kSystemFolder = "system\\";

// True when `part` starts at one of the character boundaries of `text`, so that
// a filter never matches across the halves of a two-byte character.
bool ContainsWhole(std::string_view text, std::string_view part) {
  for (size_t pos = 0; pos + part.size() <= text.size(); pos += base::CharLength(text, pos)) {
    if (text.compare(pos, part.size(), part) == 0) return true;
  }
  return false;
}

}  // namespace

void FileLog::CountOpen(std::string_view lowerName) {
  if (locked_ || lowerName.starts_with(kSystemFolder) || !Selected(lowerName)) return;
  const auto stored = counts_.Find(lowerName);
  const int64_t next = stored ? std::min<int64_t>(int64_t{*stored} + 1, kMaxCount) : 1;
  counts_.RecordCount(lowerName, static_cast<int32_t>(next), false);
}

bool FileLog::Selected(std::string_view lowerName) const {
  return std::any_of(filters_.begin(), filters_.end(), [&](const std::string& filter) {
    return !filter.empty() && ContainsWhole(lowerName, filter);
  });
}

void FileLog::AddFilter(std::string_view text) {
  auto free = std::find(filters_.begin(), filters_.end(), std::string());
  if (free == filters_.end()) return;
  const std::string lower = base::LowerName(text);
  *free = base::TruncateWhole(lower, kFilterBytes);
}

void FileLog::RemoveFilter(std::string_view text) {
  for (auto& filter : filters_) {
    if (filter == text) filter.clear();
  }
}

void FileLog::Reset() {
  locked_ = false;
  filters_.fill(std::string());
}

void FileLog::WriteState(base::ByteWriter& out) const {
  out.U8(locked_ ? 1 : 0);
  for (const auto& filter : filters_) {
    out.U8(static_cast<uint8_t>(filter.size())).FixedText(filter, kFilterBytes);
  }
}

void FileLog::ReadState(base::ByteReader& in) {
  const bool locked = in.U8() != 0;
  std::array<std::string, kFilterCount> filters;
  for (auto& filter : filters) {
    const uint8_t length = in.U8();
    if (length > kFilterBytes) throw base::FormatError("file-log filter longer than 15 bytes");
    filter = in.Text(kFilterBytes).substr(0, length);
  }
  locked_ = locked;
  filters_ = std::move(filters);
}

}  // namespace mavu::resource
