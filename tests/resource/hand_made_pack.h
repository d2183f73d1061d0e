#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_writer.h"
#include "resource/block_checksum.h"
#include "resource/scramble.h"

namespace mavu::test {

// One entry of an archive written field by field, independent of the builder.
struct HandEntry {
  std::string name;
  base::Bytes stored;
  bool packed = false;
  bool scrambled = false;
  bool goodChecksum = true;  // false stores a checksum that cannot match
  int bodyOf = -1;           // the number of an earlier entry whose body it shares
};

// Bodies from offset 0, then the directory, then the footer.
inline base::Bytes HandMadePack(const std::vector<HandEntry>& entries,
                                std::string_view signature = "filepackver1.0") {
  base::ByteWriter out;
  std::vector<uint64_t> offsets;
  for (const auto& e : entries) {
    offsets.push_back(e.bodyOf < 0 ? out.Size() : offsets[static_cast<size_t>(e.bodyOf)]);
    if (e.bodyOf < 0) out.Append(e.stored);
  }
  uint64_t directory = out.Size();
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto& e = entries[i];
    const auto& stored = e.bodyOf < 0 ? e.stored : entries[static_cast<size_t>(e.bodyOf)].stored;
    uint32_t checksum = resource::BlockChecksum(stored);
    out.Str16(resource::ScrambleName(e.name, resource::kPackNameKey))
        .U64(offsets[i])
        .U32(static_cast<uint32_t>(stored.size()))
        .U32(0)
        .U32(e.packed)
        .U32(e.scrambled)
        .U32(e.goodChecksum ? checksum : ~checksum);
  }
  out.FixedText(signature, 16).U32(static_cast<uint32_t>(entries.size())).U64(directory);
  return out.Take();
}

inline base::Bytes BytesOf(std::string_view text) {
  return base::Bytes(text.begin(), text.end());
}

}  // namespace mavu::test
