#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/byte_reader.h"
#include "imaging/animation/animation_file.h"

// Reads arbitrary bytes as an animation file. Bytes without a known magic must
// leave the position where it was; a file that reads must write as "ABMP7" and
// read back the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mavu::base::ByteReader in({data, size});
  std::optional<mavu::imaging::AnimationFile> file;
  try {
    file = mavu::imaging::ReadAnimationFile(in);
  } catch (const mavu::imaging::AnimationFileError&) {
    return 0;
  }
  if (!file) {
    if (in.Position() != 0) __builtin_trap();
    return 0;
  }
  file->version = mavu::imaging::AnimationFile::kVersion7;
  const mavu::base::Bytes written = mavu::imaging::WriteAnimationFile(*file);
  mavu::base::ByteReader again(written);
  if (mavu::imaging::ReadAnimationFile(again) != file || !again.AtEnd()) __builtin_trap();
  return 0;
}
