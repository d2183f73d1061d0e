#include "resource/file_io_lib.h"

namespace mavu::resource {

bool TFileIOLib::Load(std::string_view name) {
  // A damaged archive entry reads as a file that cannot be opened.
  const std::optional<base::Bytes> bytes = tree_->TryOpenDataFile(name);
  if (!bytes) return false;
  lines_ = SettingsList::FromBytes(*bytes);
  name_ = tree_->ResolveDataPath(name);
  return true;
}

void TFileIOLib::Clear() {
  lines_ = SettingsList();
  name_.clear();
}

std::string TFileIOLib::Line(int32_t index) const {
  if (index < 0 || index >= LineCount()) return {};
  return lines_.Lines()[static_cast<size_t>(index)];
}

void TFileIOLib::ReadState(base::ByteReader& in) {
  const std::string name = in.Str16();
  Clear();
  if (!name.empty()) Load(name);
}

}  // namespace mavu::resource
