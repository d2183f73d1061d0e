#include "resource/hash_file_pack.h"

#include <array>
#include <string>
#include <system_error>

#include "base/byte_reader.h"
#include "base/cp932.h"
#include "base/error_log.h"

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
                             const std::filesystem::path& hashPath, bool keepOpen)
    : indexPath_(hashPath) {
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

int THashFilePack::EntryOf(std::string_view name) {
  if (index_) {
    const std::optional<int> entry = IndexedEntry(name);
    if (!entry) return -1;
    const std::vector<PackEntry>& entries = pack_->Entries();
    if (*entry < pack_->EntryCount() && entries[*entry].name == base::LowerName(name)) {
      return *entry;
    }
    DropIndex(name, *entry);
  }
  return pack_->IndexOf(name);
}

void THashFilePack::DropIndex(std::string_view name, int entry) {
  base::TheErrorLog().ListError(
      "archive index " + base::Utf8ToCp932(indexPath_.string()) + " gives " + std::string(name) +
      " entry " + std::to_string(entry) +
      ", which has another name; the pack's directory is searched instead");
  index_.reset();
}

bool THashFilePack::Exists(std::string_view name) {
  return pack_ && EntryOf(name) >= 0;
}

std::optional<base::Bytes> THashFilePack::Open(std::string_view name) {
  if (!pack_) return std::nullopt;
  try {
    return pack_->ReadEntry(EntryOf(name));
  } catch (const base::FormatError&) {
    throw base::FormatError(std::string(kReadFailedText) + std::string(name));
  }
}

}  // namespace mavu::resource
