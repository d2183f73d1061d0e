#include "resource/qda_archive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/byte_writer.h"
#include "resource/bpe.h"

namespace mavu::resource {
namespace {

using base::Bytes;

// "Quadruple D Archiveの扱えるデータではありません" in CP932.
const std::string kNotAnArchive =
    "Quadruple D "
    "Archive\x82\xcc\x88\xb5\x82\xa6\x82\xe9\x83\x66\x81\x5b\x83\x5e\x82\xc5\x82\xcd\x82"
    "\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";

std::string MissingMessage(std::string_view id) {
  return "\x83\x41\x81\x5b\x83\x4a\x83\x43\x83\x75\x93\xe0\x82\xc9\x82\xcd\x8e\x77\x92\xe8\x82\xb3"
         "\x82\xea\x82\xbd\x49\x44\x20\x27" +
         std::string(id) +
         "\x27\x20\x82\xf0\x8e\x9d\x82\xc2\x83\x66\x81\x5b\x83\x5e\x82\xaa\x8c\xa9\x82\xc2\x82\xa9"
         "\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
}

struct QdaEntry {
  std::string id;
  Bytes stored;
  uint32_t unpackedLength;
};

// Head, directory, then the bodies in order.
Bytes Archive(uint32_t kind, const std::vector<QdaEntry>& entries) {
  base::ByteWriter out;
  out.U32(kind).Append(Bytes{'Q', 'D', 'A', '0'}).U32(static_cast<uint32_t>(entries.size()));
  out.Zeros(244);
  uint32_t offset = static_cast<uint32_t>(256 + entries.size() * 268);
  for (const auto& entry : entries) {
    out.U32(offset).U32(static_cast<uint32_t>(entry.stored.size())).U32(entry.unpackedLength);
    out.FixedText(entry.id, 256);
    offset += static_cast<uint32_t>(entry.stored.size());
  }
  for (const auto& entry : entries) out.Append(entry.stored);
  return out.Take();
}

Bytes FromText(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// One block without pairs, with a u32 data length, as kind-1 bodies hold it.
Bytes PackedBody(std::string_view text) {
  return base::ByteWriter()
      .Append(Bytes{0xFF, 0x80, 0xFE})
      .U32(static_cast<uint32_t>(text.size()))
      .Append(FromText(text))
      .Take();
}

std::string ErrorOf(const Bytes& archive, std::string_view id) {
  try {
    ReadQDAEntry(archive, id);
  } catch (const EQDAError& error) {
    return error.what();
  }
  return "no error";
}

TEST(QDAArchive, ReadsAPlainEntryByIdIgnoringCase) {
  const Bytes archive =
      Archive(0, {{"bg01", FromText("first"), 5}, {"Chara\\Face", FromText("second"), 6}});
  EXPECT_EQ(ReadQDAEntry(archive, "BG01"), FromText("first"));
  EXPECT_EQ(ReadQDAEntry(archive, "chara\\FACE"), FromText("second"));
}

TEST(QDAArchive, PlainEntryReadsItsUnpackedLength) {
  const Bytes archive = Archive(2, {{"a", FromText("abcdef"), 3}});
  EXPECT_EQ(ReadQDAEntry(archive, "a"), FromText("abc"));
}

TEST(QDAArchive, FirstMatchingIdWins) {
  const Bytes archive = Archive(0, {{"same", FromText("one"), 3}, {"SAME", FromText("two"), 3}});
  EXPECT_EQ(ReadQDAEntry(archive, "same"), FromText("one"));
}

TEST(QDAArchive, KindOneExpandsBlocksWithU32Lengths) {
  // Two blocks: 128 = ('x','y') then a plain one.
  const Bytes body = base::ByteWriter()
                         .Append(Bytes{0xFF, 'x', 'y', 0xFE})
                         .U32(2)
                         .Append(Bytes{0x80, 0x80})
                         .Append(PackedBody("z!"))
                         .Take();
  const Bytes archive = Archive(1, {{"pic", body, 6}});
  EXPECT_EQ(ReadQDAEntry(archive, "pic"), FromText("xyxyz!"));
}

TEST(QDAArchive, WrongMagicOrShortHeadIsRefused) {
  Bytes archive = Archive(0, {{"a", FromText("x"), 1}});
  archive[7] = '1';
  EXPECT_EQ(ErrorOf(archive, "a"), kNotAnArchive);
  EXPECT_EQ(ErrorOf(Bytes(3, 0), "a"), kNotAnArchive);
  const Bytes shortHead = base::ByteWriter().U32(0).Append(FromText("QDA0")).U32(0).Take();
  EXPECT_EQ(ErrorOf(shortHead, "a"), kNotAnArchive);
}

TEST(QDAArchive, MissingIdNamesTheId) {
  const Bytes archive = Archive(0, {{"a", FromText("x"), 1}});
  EXPECT_EQ(ErrorOf(archive, "Nothing"), MissingMessage("Nothing"));
  EXPECT_EQ(ErrorOf(Archive(0, {}), "a"), MissingMessage("a"));
}

TEST(QDAArchive, DamagedDirectoryOrBodyIsRefused) {
  Bytes archive = Archive(0, {{"a", FromText("abc"), 3}});
  // More entries than the file holds.
  Bytes counted = archive;
  counted[8] = 2;
  EXPECT_EQ(ErrorOf(counted, "zzz"), kNotAnArchive);
  // Body past the end of the file.
  Bytes longBody = archive;
  longBody[256 + 8] = 200;
  EXPECT_EQ(ErrorOf(longBody, "a"), kNotAnArchive);
  Bytes farOffset = archive;
  farOffset[256 + 3] = 0x10;
  EXPECT_EQ(ErrorOf(farOffset, "a"), kNotAnArchive);
}

TEST(QDAArchive, PackedBodyOfTheWrongLengthIsRefused) {
  EXPECT_EQ(ErrorOf(Archive(1, {{"p", PackedBody("abc"), 4}}), "p"), kNotAnArchive);
  EXPECT_EQ(ErrorOf(Archive(1, {{"p", PackedBody("abc"), 2}}), "p"), kNotAnArchive);
  EXPECT_EQ(ErrorOf(Archive(1, {{"p", PackedBody("abc"), kBpeMaxUnpacked + 1}}), "p"),
            kNotAnArchive);
  EXPECT_EQ(ReadQDAEntry(Archive(1, {{"p", PackedBody("abc"), 3}}), "p"), FromText("abc"));
}

TEST(QDAArchive, ErrorIsAFormatError) {
  EXPECT_THROW(ReadQDAEntry(Bytes{}, "a"), base::FormatError);
}

}  // namespace
}  // namespace mavu::resource
