#include "resource/qda_archive.h"

#include <algorithm>
#include <string>

#include "base/byte_reader.h"
#include "base/cp932.h"
#include "resource/bpe.h"

namespace mavu::resource {
namespace {

constexpr size_t kHeadSize = 256;
constexpr size_t kRecordSize = 268;
constexpr size_t kIdWidth = 256;
constexpr uint32_t kMagic = 0x30414451;  // "QDA0"
constexpr uint32_t kKindPacked = 1;

// "Quadruple D Archiveの扱えるデータではありません"
constexpr const char* kNotAnArchive =
    "Quadruple D "
    "Archive\x82\xcc\x88\xb5\x82\xa6\x82\xe9\x83\x66\x81\x5b\x83\x5e\x82\xc5\x82\xcd\x82"
    "\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
// "アーカイブ内には指定されたID '" ... "' を持つデータが見つかりません"
constexpr const char* kMissingBefore =
    "\x83\x41\x81\x5b\x83\x4a\x83\x43\x83\x75\x93\xe0\x82\xc9\x82\xcd\x8e\x77\x92\xe8\x82\xb3\x82"
    "\xea\x82\xbd\x49\x44\x20\x27";
constexpr const char* kMissingAfter =
    "\x27\x20\x82\xf0\x8e\x9d\x82\xc2\x83\x66\x81\x5b\x83\x5e\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82"
    "\xe8\x82\xdc\x82\xb9\x82\xf1";

struct Record {
  uint32_t offset;
  uint32_t storedLength;
  uint32_t unpackedLength;
};

std::string IdText(base::ByteReader& in) {
  std::string text = in.Text(kIdWidth);
  text.resize(std::min(text.find('\0'), text.size()));
  return text;
}

Record FindRecord(base::ByteReader& in, uint32_t count, std::string_view id) {
  if (count > in.Remaining() / kRecordSize) throw EQDAError(kNotAnArchive);
  const std::string wanted = base::LowerName(id);
  for (uint32_t i = 0; i < count; ++i) {
    Record record{in.U32(), in.U32(), in.U32()};
    if (base::LowerName(IdText(in)) == wanted) return record;
  }
  throw EQDAError(kMissingBefore + std::string(id) + kMissingAfter);
}

base::Bytes ReadBody(std::span<const uint8_t> archive, uint32_t kind, const Record& record) {
  base::ByteReader in(archive);
  in.Seek(record.offset);
  if (kind != kKindPacked) return in.Take(record.unpackedLength);
  auto body = BpeExpandBlocks(in.Span(record.storedLength), record.unpackedLength, false);
  if (!body) throw EQDAError(kNotAnArchive);
  return std::move(*body);
}

base::Bytes ReadEntry(std::span<const uint8_t> archive, std::string_view id) {
  base::ByteReader in(archive);
  const uint32_t kind = in.U32();
  if (in.U32() != kMagic) throw EQDAError(kNotAnArchive);
  const uint32_t count = in.U32();
  in.Seek(kHeadSize);
  return ReadBody(archive, kind, FindRecord(in, count, id));
}

}  // namespace

// A short or inconsistent archive surfaces from the byte reader; it is reported
// like any other archive this reader cannot handle.
base::Bytes ReadQDAEntry(std::span<const uint8_t> archive, std::string_view id) {
  try {
    return ReadEntry(archive, id);
  } catch (const EQDAError&) {
    throw;
  } catch (const base::FormatError&) {
    throw EQDAError(kNotAnArchive);
  }
}

}  // namespace mavu::resource
