#include <cstddef>
#include <cstdint>
#include <span>

#include "base/byte_reader.h"
#include "resource/block_checksum.h"
#include "resource/pack_directory.h"
#include "resource/pack_entry_name.h"

// Reads arbitrary bytes as a .pack archive: footer, directory, then every
// entry as the engine and the tools would (name rule, checksum, unscramble,
// expand).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> archive(data, size);
  auto readAt = [archive](uint64_t offset, size_t count) {
    mavu::base::ByteReader in(archive);
    in.Seek(offset);
    return in.Take(count);
  };
  try {
    for (const auto& entry : mavu::resource::ReadPackDirectory(size, readAt)) {
      mavu::resource::EntryNameProblem(entry.name);
      auto stored = readAt(entry.offset, entry.storedLength);
      mavu::resource::BlockChecksum(stored);
      try {
        mavu::resource::DecodePackBody(entry, std::move(stored));
      } catch (const mavu::base::FormatError&) {
      }
    }
  } catch (const mavu::base::FormatError&) {
  }
  return 0;
}
