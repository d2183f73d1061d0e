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
#include "resource/pack_entry_name.h"
#include "resource/scramble.h"

namespace mavu::resource {

namespace {

constexpr size_t kMaxBodyLength = std::numeric_limits<uint32_t>::max();

}  // namespace

std::filesystem::path WithSuffix(const std::filesystem::path& stem, const char* suffix) {
  std::filesystem::path path = stem;
  path += suffix;
  return path;
}

PackBuilder::PackBuilder(PackBuildOptions options)
    : options_(options), sink_([this](std::span<const uint8_t> bytes) {
        bodies_.insert(bodies_.end(), bytes.begin(), bytes.end());
        return true;
      }) {}

PackBuilder::PackBuilder(Sink sink, PackBuildOptions options)
    : options_(options), sink_(std::move(sink)) {}

bool PackBuilder::Add(std::string_view name, std::span<const uint8_t> contents) {
  std::string lower = base::LowerName(name);
  if (EntryNameProblem(lower) || contents.size() > kMaxBodyLength ||
      entries_.size() >= kMaxEntries || names_.contains(lower)) {
    return false;
  }
  base::Bytes stored;
  bool packed = false;
  // Larger contents could not be expanded again, and packing is kept only where it pays.
  if (options_.compress && contents.size() <= kBpeMaxUnpacked) {
    stored = BpeCompress(contents);
    packed = stored.size() < contents.size();
  }
  if (!packed) stored.assign(contents.begin(), contents.end());
  if (options_.scramble) ScrambleBlocks(stored, ScrambleDirection::kScramble, kPackEntryKey);
  if (!sink_(stored)) return false;
  entries_.push_back({lower, written_, static_cast<uint32_t>(stored.size()),
                      static_cast<uint32_t>(contents.size()), packed, BlockChecksum(stored)});
  written_ += stored.size();
  names_.insert(std::move(lower));
  return true;
}

base::Bytes PackBuilder::BuildDirectory() const {
  base::ByteWriter out;
  for (const Entry& e : entries_) {
    out.Str16(ScrambleName(e.name, kPackNameKey))
        .U64(e.offset)
        .U32(e.storedLength)
        .U32(e.length)  // informational only: readers take the length from the packed head
        .U32(e.packed ? 1 : 0)
        .U32(options_.scramble ? 1 : 0)
        .U32(e.checksum);
  }
  out.FixedText(kPackSignature, kPackSignatureWidth)
      .U32(static_cast<uint32_t>(entries_.size()))
      .U64(written_);
  return out.Take();
}

base::Bytes PackBuilder::BuildPack() const {
  base::Bytes pack = bodies_;
  const base::Bytes directory = BuildDirectory();
  pack.insert(pack.end(), directory.begin(), directory.end());
  return pack;
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
  return base::WriteFileAtomic(WithSuffix(stem, ".pack"), BuildPack()) &&
         base::WriteFileAtomic(WithSuffix(stem, ".hash"), BuildHash());
}

}  // namespace mavu::resource
