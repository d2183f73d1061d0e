#include "resource/pack_directory.h"

#include <algorithm>
#include <string_view>

#include "base/byte_reader.h"
#include "base/cp932.h"
#include "resource/bpe.h"
#include "resource/scramble.h"

namespace mavu::resource {

namespace {

constexpr size_t kMaxNameLength = 0xFFFF;

struct PackFooter {
  bool hasSignature = false;
  uint32_t count = 0;
  uint64_t directoryOffset = 0;
};

PackFooter ReadFooter(std::span<const uint8_t> bytes) {
  base::ByteReader in(bytes);
  std::string signature = in.Text(kPackSignatureWidth);
  signature.resize(std::min(signature.find('\0'), signature.size()));
  PackFooter footer;
  footer.hasSignature = base::LowerName(signature) == kPackSignature;
  footer.count = in.U32();
  footer.directoryOffset = in.U64();
  return footer;
}

PackEntry ReadEntry(base::ByteReader& in, uint64_t bodyLimit) {
  PackEntry e;
  e.name = ScrambleName(in.Str16(), kPackNameKey);
  e.offset = in.U64();
  e.storedLength = in.U32();
  in.Skip(4);
  e.packed = in.U32() != 0;
  e.scrambled = in.U32() != 0;
  e.checksum = in.U32();
  if (e.offset > bodyLimit || e.storedLength > bodyLimit - e.offset) {
    throw base::FormatError("pack entry \"" + e.name + "\" lies outside the archive");
  }
  return e;
}

}  // namespace

std::vector<PackEntry> ReadPackDirectory(uint64_t size, const PackReadAt& readAt) {
  if (size < kPackFooterSize) throw base::FormatError("archive shorter than its footer");
  const uint64_t footerStart = size - kPackFooterSize;
  PackFooter footer = ReadFooter(readAt(footerStart, kPackFooterSize));
  if (!footer.hasSignature) return {};
  if (footer.directoryOffset > footerStart)
    throw base::FormatError("pack directory past the end of the archive");
  const uint64_t region = footerStart - footer.directoryOffset;
  if (footer.count > region / kPackMinEntrySize) {
    throw base::FormatError("pack directory of " + std::to_string(footer.count) +
                            " entries larger than the archive");
  }
  // Never read more than the longest directory of this many entries could take.
  const uint64_t longest = uint64_t{footer.count} * (kPackMinEntrySize + kMaxNameLength);
  base::Bytes bytes =
      readAt(footer.directoryOffset, static_cast<size_t>(std::min(region, longest)));
  base::ByteReader in(bytes);
  std::vector<PackEntry> entries;
  entries.reserve(footer.count);
  for (uint32_t i = 0; i < footer.count; ++i) entries.push_back(ReadEntry(in, footerStart));
  return entries;
}

base::Bytes DecodePackBody(const PackEntry& entry, base::Bytes stored) {
  if (entry.scrambled) ScrambleBlocks(stored, ScrambleDirection::kUnscramble, kPackEntryKey);
  if (!entry.packed) return stored;
  auto expanded = BpeExpand(stored);
  if (!expanded) {
    throw base::FormatError("pack entry \"" + entry.name + "\" does not expand");
  }
  return std::move(*expanded);
}

}  // namespace mavu::resource
