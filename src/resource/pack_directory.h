#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace mavu::resource {

// A .pack archive ends with a 28-byte footer: the signature NUL-padded to 16
// bytes, the entry count (u32) and the directory offset (u64). The directory
// holds, per entry, its name as a scrambled Str16 and a 28-byte record.
constexpr char kPackSignature[] = "filepackver1.0";
constexpr size_t kPackSignatureWidth = 16;
constexpr size_t kPackFooterSize = 28;
constexpr size_t kPackRecordSize = 28;
// The smallest directory entry: an empty name (its u16 length) and a record.
constexpr size_t kPackMinEntrySize = 2 + kPackRecordSize;

// One directory entry. The record's field at offset 12 is not read.
struct PackEntry {
  std::string name;  // unscrambled, as stored (lower case)
  uint64_t offset = 0;
  uint32_t storedLength = 0;
  bool packed = false;
  bool scrambled = false;
  uint32_t checksum = 0;  // BlockChecksum of the stored body
};

// Reads `count` bytes at `offset` of the archive, or throws base::FormatError.
using PackReadAt = std::function<base::Bytes(uint64_t offset, size_t count)>;

// The directory of an archive of `size` bytes. A footer without the signature
// gives an empty directory, as an archive of another kind has no entries for us.
// A footer or directory that the file cannot hold, or an entry whose body lies
// outside the archive, throws base::FormatError.
std::vector<PackEntry> ReadPackDirectory(uint64_t size, const PackReadAt& readAt);

// The entry's bytes as stored turned into its contents: unscrambled and
// expanded as the record says. Throws base::FormatError on packed data that
// does not expand.
base::Bytes DecodePackBody(const PackEntry& entry, base::Bytes stored);

}  // namespace mavu::resource
