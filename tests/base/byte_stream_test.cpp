#include <gtest/gtest.h>

#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::base {
namespace {

TEST(ByteWriter, WritesLittleEndianFieldsAndStr16) {
  ByteWriter w;
  w.U8(0x01).U16(0x0302).U32(0x07060504).U64(0x0F0E0D0C0B0A0908ull).Str16("ab");
  Bytes expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 2, 0, 'a', 'b'};
  EXPECT_EQ(w.Data(), expected);
}

TEST(ByteWriter, FixedTextIsNulPaddedOrCut) {
  ByteWriter w;
  w.FixedText("abc", 5).FixedText("abcdef", 4);
  EXPECT_EQ(w.Data(), (Bytes{'a', 'b', 'c', 0, 0, 'a', 'b', 'c', 'd'}));
}

TEST(ByteWriter, OverlongStr16IsCutAtACharacterBoundary) {
  std::string text(65534, 'x');
  text += "\x95\x5C";  // a two-byte character straddling the 65535-byte limit
  ByteWriter w;
  w.Str16(text);
  ByteReader r(w.Data());
  EXPECT_EQ(r.Str16(), std::string(65534, 'x'));
  EXPECT_TRUE(r.AtEnd());
}

TEST(ByteReader, ReadsWhatTheWriterWrote) {
  ByteWriter w;
  w.U16(65535).U32(0xDEADBEEF).U64(1ull << 40).I32(-5).Str16("\x95\x5C").Text("xyz");
  Bytes data = w.Take();
  ByteReader r(data);
  EXPECT_EQ(r.U16(), 65535);
  EXPECT_EQ(r.U32(), 0xDEADBEEFu);
  EXPECT_EQ(r.U64(), 1ull << 40);
  EXPECT_EQ(r.I32(), -5);
  EXPECT_EQ(r.Str16(), "\x95\x5C");
  EXPECT_EQ(r.Remaining(), 3u);
  EXPECT_EQ(r.Text(3), "xyz");
  EXPECT_TRUE(r.AtEnd());
}

TEST(ByteReader, ShortReadsThrowAndKeepThePosition) {
  Bytes data = {1, 2, 3};
  ByteReader r(data);
  EXPECT_THROW(r.U32(), FormatError);
  EXPECT_EQ(r.Position(), 0u);
  EXPECT_EQ(r.U16(), 0x0201);
  EXPECT_THROW(r.U16(), FormatError);
  EXPECT_THROW(r.Skip(2), FormatError);
  EXPECT_THROW(r.Seek(4), FormatError);
  EXPECT_NO_THROW(r.Seek(3));
  EXPECT_THROW(r.U8(), FormatError);
}

TEST(ByteReader, Str16WhoseLengthPassesTheEndThrows) {
  Bytes data = {10, 0, 'a', 'b'};
  ByteReader r(data);
  EXPECT_THROW(r.Str16(), FormatError);
  EXPECT_EQ(r.Position(), 0u);
}

TEST(ByteReader, RestAndTakeConsume) {
  Bytes data = {1, 2, 3, 4};
  ByteReader r(data);
  EXPECT_EQ(r.Take(1), Bytes{1});
  auto rest = r.Rest();
  EXPECT_EQ(Bytes(rest.begin(), rest.end()), (Bytes{2, 3, 4}));
  EXPECT_TRUE(r.AtEnd());
}

TEST(ByteWriter, PatchU32RewritesInPlaceAndRefusesThePastEnd) {
  ByteWriter w;
  w.U32(0).U8(9);
  w.PatchU32(0, 0x11223344);
  EXPECT_EQ(w.Data(), (Bytes{0x44, 0x33, 0x22, 0x11, 9}));
  EXPECT_THROW(w.PatchU32(2, 1), FormatError);
}

}  // namespace
}  // namespace mavu::base
