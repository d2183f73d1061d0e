#include "resource/hash_table.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "base/cp932.h"
#include "base/file_io.h"
#include "resource/bpe.h"
#include "resource/scramble.h"

namespace mavu::resource {
namespace {

constexpr size_t kSignatureWidth = 16;
constexpr std::string_view kSignature = "HashVer1.2";
constexpr std::string_view kSignatureLower = "hashver1.2";
// Per bucket a u16 count; per entry a Str16 key and a u64 value offset.
constexpr size_t kBucketOverhead = 2;
constexpr size_t kEntryOverhead = 2 + 8;
constexpr size_t kMaxKeyLength = 65535;

// "ファイルヘッダが異なります"
constexpr const char* kWrongHeader =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x83\x77\x83\x62\x83\x5f\x82\xaa\x88\xd9\x82\xc8\x82\xe8\x82"
    "\xdc\x82\xb7";
// "ハッシュテーブルの大きさが異なります"
constexpr const char* kWrongSize =
    "\x83\x6e\x83\x62\x83\x56\x83\x85\x83\x65\x81\x5b\x83\x75\x83\x8b\x82\xcc\x91\xe5\x82\xab\x82"
    "\xb3\x82\xaa\x88\xd9\x82\xc8\x82\xe8\x82\xdc\x82\xb7";
constexpr const char* kDamaged = "hash table stream is damaged";

std::string SignatureText(base::ByteReader& in) {
  std::string text = in.Text(kSignatureWidth);
  text.resize(std::min(text.find('\0'), text.size()));
  return base::LowerName(text);
}

}  // namespace

THashTable::THashTable(uint32_t buckets) : buckets_(buckets) {
  if (buckets == 0) throw std::invalid_argument("a hash table needs at least one bucket");
  unpackedSize_ = size_t{buckets} * kBucketOverhead;
}

std::vector<THashTable::Entry>& THashTable::BucketOf(const std::string& lowerKey) {
  return buckets_[KeySum(lowerKey) % buckets_.size()];
}

bool THashTable::ValueFits(uint64_t offset, size_t size) const {
  return offset <= data_.size() && size <= data_.size() - offset;
}

std::optional<uint64_t> THashTable::FindLower(const std::string& lowerKey) {
  if (auto cached = cache_.Find(lowerKey)) return cached;
  for (const Entry& entry : BucketOf(lowerKey)) {
    if (KeyOf(entry) == lowerKey) {
      cache_.Put(lowerKey, entry.offset);
      return entry.offset;
    }
  }
  return std::nullopt;
}

std::optional<uint64_t> THashTable::Find(std::string_view key) {
  return FindLower(base::LowerName(key));
}

bool THashTable::Put(std::string_view key, std::span<const uint8_t> value) {
  if (entryCount_ >= kMaxEntries) return false;
  const std::string lowerKey = base::LowerName(key);
  if (auto offset = FindLower(lowerKey)) {
    if (!ValueFits(*offset, value.size())) return false;
    std::copy(value.begin(), value.end(), data_.begin() + static_cast<ptrdiff_t>(*offset));
    return true;
  }
  const size_t added = kEntryOverhead + lowerKey.size() + value.size();
  if (lowerKey.size() > kMaxKeyLength || unpackedSize_ + added > kBpeMaxUnpacked) return false;
  const uint64_t offset = data_.size();
  data_.insert(data_.end(), value.begin(), value.end());
  AddEntry(BucketOf(lowerKey), lowerKey, offset);
  cache_.Put(lowerKey, offset);
  ++entryCount_;
  unpackedSize_ += added;
  return true;
}

bool THashTable::Get(std::string_view key, std::span<uint8_t> value) {
  const auto offset = Find(key);
  if (!offset) return false;
  if (value.empty()) return true;
  if (!ValueFits(*offset, value.size())) return false;
  std::memcpy(value.data(), data_.data() + *offset, value.size());
  return true;
}

void THashTable::AddEntry(std::vector<Entry>& bucket, std::string_view key, uint64_t offset) {
  bucket.push_back(
      Entry{static_cast<uint32_t>(keys_.size()), static_cast<uint32_t>(key.size()), offset});
  keys_.append(key);
}

void THashTable::ClearTable() {
  for (auto& bucket : buckets_) bucket.clear();
  keys_.clear();
  cache_.Clear();
  data_ = base::Bytes();
  entryCount_ = 0;
  unpackedSize_ = buckets_.size() * kBucketOverhead;
}

bool THashTable::LoadFromFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  const auto bytes = base::ReadWholeFile(path);
  if (!bytes) return false;
  base::ByteReader in(*bytes);
  return LoadFromStream(in);
}

bool THashTable::LoadFromStream(base::ByteReader& in) {
  ClearTable();
  try {
    if (SignatureText(in) != kSignatureLower) throw base::FormatError(kWrongHeader);
    if (in.U32() != BucketCount()) throw base::FormatError(kWrongSize);
    const uint32_t entries = in.U32();
    const uint32_t dataLength = in.U32();
    const uint32_t packedLength = in.U32();
    if (entries > kMaxEntries) throw base::FormatError(kDamaged);
    base::Bytes packed = in.Take(packedLength);
    ScrambleBlocks(packed, ScrambleDirection::kUnscramble, kHashTableKey);
    const auto unpacked = BpeExpand(packed);
    if (!unpacked) throw base::FormatError(kDamaged);
    base::ByteReader index(*unpacked);
    ReadIndex(index, entries, dataLength);
  } catch (...) {
    ClearTable();
    throw;
  }
  return true;
}

// Fills the table from an unpacked index; any inconsistency is damage.
void THashTable::ReadIndex(base::ByteReader& index, uint32_t entries, uint32_t dataLength) {
  uint32_t total = 0;
  keys_.reserve(index.Remaining());  // the keys are most of it
  for (auto& bucket : buckets_) {
    const uint16_t count = index.U16();
    if (count > entries - total || size_t{count} * kEntryOverhead > index.Remaining()) {
      throw base::FormatError(kDamaged);
    }
    total += count;
    bucket.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
      const std::span<const uint8_t> key = index.Span(index.U16());
      const uint64_t offset = index.U64();
      if (offset > dataLength) throw base::FormatError(kDamaged);
      AddEntry(bucket, {reinterpret_cast<const char*>(key.data()), key.size()}, offset);
    }
  }
  if (total != entries) throw base::FormatError(kDamaged);
  data_ = index.Take(dataLength);
  entryCount_ = entries;
  unpackedSize_ = index.Position();
}

void THashTable::SaveToStream(base::ByteWriter& out) const {
  base::ByteWriter index;
  for (const auto& bucket : buckets_) {
    index.U16(static_cast<uint16_t>(bucket.size()));
    for (const Entry& entry : bucket) index.Str16(KeyOf(entry)).U64(entry.offset);
  }
  index.Append(data_);
  base::Bytes packed = BpeCompress(index.Data());
  ScrambleBlocks(packed, ScrambleDirection::kScramble, kHashTableKey);
  out.FixedText(kSignature, kSignatureWidth)
      .U32(BucketCount())
      .U32(entryCount_)
      .U32(static_cast<uint32_t>(data_.size()))
      .U32(static_cast<uint32_t>(packed.size()))
      .Append(packed);
}

}  // namespace mavu::resource
