#include "script/objects/kel_object_data_file.h"

#include <utility>

namespace mavu::script {

void TKelObjectDataFile::Reset() {
  TKelObjectDataCustom::Reset();
  file_.Clear();
}

bool TKelObjectDataFile::SaveState(base::ByteWriter& out) {
  file_.WriteState(out);
  return true;
}

bool TKelObjectDataFile::LoadState(base::ByteReader& in) {
  file_.ReadState(in);
  return true;
}

bool TKelObjectDataFile::SwapContents(TKelObjectDataCustom& other) {
  auto* file = dynamic_cast<TKelObjectDataFile*>(&other);
  if (file == nullptr) return false;
  if (file != this) std::swap(file_, file->file_);
  return true;
}

}  // namespace mavu::script
