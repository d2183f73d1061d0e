#include "resource/pack_builder.h"

#include <limits>

#include "base/byte_writer.h"
#include "base/cp932.h"
#include "base/file_io.h"
#include "resource/block_checksum.h"
#include "resource/bpe.h"
#include "resource/hash_file_pack.h"
#include "resource/hash_table.h"
#include "resource/pack_directory.h"
#include "resource/scramble.h"

namespace mavu::resource {

namespace {

constexpr size_t kMaxNameLength = 0xFFFF;
constexpr size_t kMaxBodyLength = std::numeric_limits<uint32_t>::max();

}  // namespace

PackBuilder::PackBuilder(PackBuildOptions options) : options_(options) {}

bool PackBuilder::Add(std::string_view name, std::span<const uint8_t> contents) {
  std::string lower = base::LowerName(name);
  if (lower.empty() || lower.size() > kMaxNameLength || contents.size() > kMaxBodyLength ||
      entries_.size() >= kMaxEntries || names_.contains(lower)) {
    return false;
  }
  Entry e{lower, base::Bytes(contents.begin(), contents.end()),
          static_cast<uint32_t>(contents.size()), false};
  // Larger contents could not be expanded again, and packing is kept only where it pays.
  if (options_.compress && contents.size() <= kBpeMaxUnpacked) {
    base::Bytes packed = BpeCompress(contents);
    if (packed.size() < contents.size()) {
      e.stored = std::move(packed);
      e.packed = true;
    }
  }
  if (options_.scramble) ScrambleBlocks(e.stored, ScrambleDirection::kScramble, kPackEntryKey);
  names_.insert(lower);
  entries_.push_back(std::move(e));
  return true;
}

base::Bytes PackBuilder::BuildPack() const {
  base::ByteWriter out;
  std::vector<uint64_t> offsets;
  offsets.reserve(entries_.size());
  for (const Entry& e : entries_) {
    offsets.push_back(out.Size());
    out.Append(e.stored);
  }
  const uint64_t directoryOffset = out.Size();
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    out.Str16(ScrambleName(e.name, kPackNameKey))
        .U64(offsets[i])
        .U32(static_cast<uint32_t>(e.stored.size()))
        .U32(e.length)  // informational only: readers take the length from the packed head
        .U32(e.packed ? 1 : 0)
        .U32(options_.scramble ? 1 : 0)
        .U32(BlockChecksum(e.stored));
  }
  out.FixedText(kPackSignature, kPackSignatureWidth)
      .U32(static_cast<uint32_t>(entries_.size()))
      .U64(directoryOffset);
  return out.Take();
}

base::Bytes PackBuilder::BuildHash() const {
  THashTable index(THashFilePack::kIndexBuckets);
  for (size_t i = 0; i < entries_.size(); ++i) {
    base::ByteWriter number;
    number.U16(static_cast<uint16_t>(i));
    index.Put(entries_[i].name, number.Data());
  }
  base::ByteWriter out;
  index.SaveToStream(out);
  return out.Take();
}

bool PackBuilder::WriteFiles(const std::filesystem::path& stem) const {
  std::filesystem::path pack = stem;
  pack += ".pack";
  std::filesystem::path hash = stem;
  hash += ".hash";
  return base::WriteFileAtomic(pack, BuildPack()) && base::WriteFileAtomic(hash, BuildHash());
}

}  // namespace mavu::resource
