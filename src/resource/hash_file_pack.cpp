#include "resource/hash_file_pack.h"

#include <array>
#include <string>
#include <system_error>

#include "base/byte_reader.h"
#include "base/cp932.h"

namespace mavu::resource {

namespace {

// "パッケージからの読み込みに失敗しました:"
constexpr std::string_view kReadFailedText =
    "\x83\x70\x83\x62\x83\x50\x81\x5B\x83\x57\x82\xA9\x82\xE7\x82\xCC\x93\xC7\x82\xDD\x8D\x9E"
    "\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD:";

std::filesystem::path WithExtension(std::filesystem::path stem, const char* extension) {
  return stem.replace_extension(extension);
}

std::filesystem::path IfPresent(std::filesystem::path path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec) ? path : std::filesystem::path();
}

}  // namespace

THashFilePack::THashFilePack(const std::filesystem::path& stem, bool keepOpen)
    : THashFilePack(IfPresent(WithExtension(stem, ".pack")),
                    IfPresent(WithExtension(stem, ".hash")), keepOpen) {}

THashFilePack::THashFilePack(const std::filesystem::path& packPath,
                             const std::filesystem::path& hashPath, bool keepOpen) {
  if (!hashPath.empty()) {
    index_ = std::make_unique<THashTable>(kIndexBuckets);
    if (!index_->LoadFromFile(hashPath)) {
      throw base::FormatError("cannot read " + base::Utf8ToCp932(hashPath.string()));
    }
  }
  if (!packPath.empty()) pack_ = std::make_unique<TFilePack>(packPath, keepOpen);
}

std::optional<int> THashFilePack::IndexedEntry(std::string_view name) {
  std::array<uint8_t, 2> value{};
  if (!index_->Get(name, value)) return std::nullopt;
  base::ByteReader in(value);
  return in.U16();
}

bool THashFilePack::Exists(std::string_view name) {
  if (!pack_) return false;
  if (index_) return IndexedEntry(name).has_value();
  return pack_->EntryExists(name);
}

std::optional<base::Bytes> THashFilePack::Open(std::string_view name) {
  if (!pack_) return std::nullopt;
  try {
    if (!index_) return pack_->ReadEntryByName(name);
    auto entry = IndexedEntry(name);
    if (!entry) return std::nullopt;
    return pack_->ReadEntry(*entry);
  } catch (const base::FormatError&) {
    throw base::FormatError(std::string(kReadFailedText) + std::string(name));
  }
}

}  // namespace mavu::resource
