#pragma once

#include <string>

#include "resource/file_io_lib.h"
#include "script/objects/kel_object_data_custom.h"

namespace mavu::script {

// The text file object (`TKelObjectDataFile`, kind file): one text file of the
// game read through the data tree. Saved games keep only its name and read
// the file again when they are loaded.
class TKelObjectDataFile : public TKelObjectDataCustom {
 public:
  explicit TKelObjectDataFile(std::string name)
      : TKelObjectDataCustom(std::move(name), ObjectKind::kFile) {}

  resource::TFileIOLib& File() { return file_; }

  void Reset() override;
  // The resolved name of the loaded file as a Str16 (empty when none).
  bool SaveState(base::ByteWriter& out) override;
  bool LoadState(base::ByteReader& in) override;
  bool SwapContents(TKelObjectDataCustom& other) override;

 private:
  resource::TFileIOLib file_;
};

}  // namespace mavu::script
