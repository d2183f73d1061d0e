#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_reader.h"
#include "base/cp932.h"
#include "base/file_io.h"
#include "imaging/argb8888.h"
#include "support/imaging/load_error.h"
#include "test_images.h"

namespace mavu::imaging {
namespace {

using base::Bytes;

constexpr size_t kSignatureSize = 8;
constexpr size_t kIhdrCrc = kSignatureSize + 8 + 13;  // after length, type and data
// An icon whose iCCP chunk holds an sRGB profile that libpng knows to be
// wrong; the machines the project builds on have it.
const char kIconWithBadProfile[] = "/usr/share/icons/hicolor/16x16/apps/openjdk-17.png";

void ExpectSame(const TARGB8888& image, const test::TopDownImage& expected, bool withAlpha) {
  ASSERT_EQ(image.Width(), expected.width);
  ASSERT_EQ(image.Height(), expected.height);
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      uint32_t want = expected.At(x, y) | (withAlpha ? 0u : 0xFF000000u);
      ASSERT_EQ(image.Pixel(x, y), want) << x << "," << y;
    }
  }
}

void PutU32Be(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

uint32_t U32Be(const Bytes& b, size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

void AppendU32Be(Bytes& b, uint32_t v) {
  b.resize(b.size() + 4);
  PutU32Be(b, b.size() - 4, v);
}

struct Chunk {
  std::string type;
  Bytes data;
};

// The chunks of a well-formed file, without their lengths and checksums.
std::vector<Chunk> SplitChunks(const Bytes& png) {
  std::vector<Chunk> chunks;
  for (size_t at = kSignatureSize; at < png.size();) {
    auto type = png.begin() + static_cast<ptrdiff_t>(at + 4);
    size_t length = U32Be(png, at);
    chunks.push_back(
        {std::string(type, type + 4), Bytes(type + 4, type + 4 + static_cast<ptrdiff_t>(length))});
    at += 12 + length;
  }
  return chunks;
}

// The signature and the chunks, each with its length and a correct checksum.
Bytes JoinChunks(const std::vector<Chunk>& chunks) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Chunk& chunk : chunks) {
    AppendU32Be(png, static_cast<uint32_t>(chunk.data.size()));
    size_t typeAt = png.size();
    png.insert(png.end(), chunk.type.begin(), chunk.type.end());
    png.insert(png.end(), chunk.data.begin(), chunk.data.end());
    AppendU32Be(png, static_cast<uint32_t>(
                         crc32(0, png.data() + typeAt, static_cast<uInt>(png.size() - typeAt))));
  }
  return png;
}

Chunk& FindChunk(std::vector<Chunk>& chunks, std::string_view type) {
  return *std::find_if(chunks.begin(), chunks.end(),
                       [&](const Chunk& c) { return c.type == type; });
}

// The file with its header claiming another size.
Bytes Resized(const Bytes& png, uint32_t width, uint32_t height) {
  auto chunks = SplitChunks(png);
  PutU32Be(chunks[0].data, 0, width);
  PutU32Be(chunks[0].data, 4, height);
  return JoinChunks(chunks);
}

const test::TopDownImage& CleanPicture() {
  static const test::TopDownImage picture = test::Gradient(6, 4, true);
  return picture;
}

std::vector<Chunk> CleanChunks() {
  return SplitChunks(test::EncodePng(CleanPicture(), true));
}

enum class Where { kAfterHeader, kBeforeEnd };

std::vector<Chunk> CleanChunksWith(Chunk extra, Where where = Where::kAfterHeader) {
  auto chunks = CleanChunks();
  chunks.insert(where == Where::kAfterHeader ? chunks.begin() + 1 : chunks.end() - 1,
                std::move(extra));
  return chunks;
}

// Spoils the checksum of the chunk before IEND (which takes 12 bytes).
void DamageChecksumBeforeEnd(Bytes& file) {
  file[file.size() - 13] ^= 0xFF;
}

void ExpectCleanPicture(const Bytes& file) {
  base::ByteReader in(file);
  TARGB8888 image;
  ASSERT_NO_THROW(image.LoadPng(in));
  ExpectSame(image, CleanPicture(), true);
}

TEST(LoadPng, DecodesColourAndAlphaExactly) {
  auto picture = test::Gradient(7, 5, true);
  Bytes file = test::EncodePng(picture, true);
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadPng(in);
  ExpectSame(image, picture, true);
  EXPECT_TRUE(image.HasAlpha());
  EXPECT_TRUE(in.AtEnd());
}

TEST(LoadPng, PicturesWithoutAlphaAreOpaque) {
  auto picture = test::Gradient(4, 3, false);
  Bytes file = test::EncodePng(picture, false);
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadPng(in);
  ExpectSame(image, picture, false);
  EXPECT_FALSE(image.HasAlpha());
}

TEST(LoadPng, FourBytesThatAreNotTheSignatureAreSkipped) {
  auto picture = test::Gradient(3, 3, true);
  Bytes file = {'A', 'B', 'C', 'D'};
  Bytes png = test::EncodePng(picture, true);
  file.insert(file.end(), png.begin(), png.end());
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadPng(in);
  ExpectSame(image, picture, true);
}

TEST(LoadPng, StopsAfterTheEndChunk) {
  Bytes file = test::EncodePng(test::Gradient(2, 2, false), false);
  size_t size = file.size();
  file.push_back(0x42);
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadPng(in);
  EXPECT_EQ(in.Position(), size);
}

TEST(LoadPng, RefusesAStreamShorterThanThePrefix) {
  test::ExpectLoadError(test::kPngFormat, Bytes{0x89, 0x50});
}

TEST(LoadPng, RefusesGarbage) {
  test::ExpectLoadError(test::kPngFormat, Bytes(100, 0x5A));
}

TEST(LoadPng, RefusesABadChecksum) {
  Bytes file = test::EncodePng(test::Gradient(4, 4, false), false);
  file[kIhdrCrc] ^= 0xFF;
  test::ExpectLoadError(test::kPngFormat, file);
}

TEST(LoadPng, RefusesATruncatedPicture) {
  Bytes file = test::EncodePng(test::Gradient(16, 16, true), true);
  file.resize(file.size() / 2);
  test::ExpectLoadError(test::kPngFormat, file);
}

TEST(LoadPng, RefusesABadImageDataChecksum) {
  Bytes file = test::EncodePng(test::Gradient(4, 4, false), false);
  DamageChecksumBeforeEnd(file);
  test::ExpectLoadError(test::kPngFormat, file);
}

TEST(LoadPng, RefusesDamagedImageData) {
  auto chunks = SplitChunks(test::EncodePng(test::Gradient(4, 4, false), false));
  FindChunk(chunks, "IDAT").data[2] = 0xFF;  // a final block of the reserved type
  test::ExpectLoadError(test::kPngFormat, JoinChunks(chunks));
}

TEST(LoadPng, RefusesHostileDimensions) {
  Bytes file = test::EncodePng(test::Gradient(4, 4, false), false);
  test::ExpectLoadError(test::kPngFormat, Resized(file, 100000, 100000));
  // Within libpng's own limits but past ours in area.
  test::ExpectLoadError(test::kPngFormat, Resized(file, 16384, 16384));
}

TEST(LoadPng, RefusesASizeItsDataCannotHold) {
  // 8000 x 8000 is within the size limit, but not from a few dozen bytes.
  Bytes file = Resized(test::EncodePng(test::Gradient(4, 4, false), false), 8000, 8000);
  EXPECT_NE(test::ExpectLoadError(test::kPngFormat, file).find("bytes"), std::string::npos);
}

// Faults in metadata the loader does not use leave the picture as it is.

TEST(LoadPng, IgnoresAKnownIncorrectSrgbProfile) {
  auto icon = base::ReadWholeFile(kIconWithBadProfile);
  if (!icon) GTEST_SKIP() << kIconWithBadProfile << " is not installed";
  auto iconChunks = SplitChunks(*icon);
  ExpectCleanPicture(JoinChunks(CleanChunksWith(FindChunk(iconChunks, "iCCP"))));
}

TEST(LoadPng, IgnoresAnUnknownRenderingIntent) {
  ExpectCleanPicture(JoinChunks(CleanChunksWith({"sRGB", {9}})));
}

TEST(LoadPng, IgnoresAPhysicalSizeOfTheWrongLength) {
  ExpectCleanPicture(JoinChunks(CleanChunksWith({"pHYs", {0, 0, 0x0B, 0x13, 0}})));
}

TEST(LoadPng, IgnoresAnAncillaryChunkWithABadChecksum) {
  Bytes file = JoinChunks(CleanChunksWith({"tEXt", {'a', 0, 'b'}}, Where::kBeforeEnd));
  DamageChecksumBeforeEnd(file);
  ExpectCleanPicture(file);
}

TEST(LoadPng, IgnoresDataAfterTheImageStream) {
  auto chunks = CleanChunks();
  Bytes& stream = FindChunk(chunks, "IDAT").data;
  stream.insert(stream.end(), {1, 2, 3, 4});
  ExpectCleanPicture(JoinChunks(chunks));
}

TEST(LoadPng, IgnoresAnImageDataChunkAfterTheImage) {
  ExpectCleanPicture(JoinChunks(CleanChunksWith({"IDAT", {1, 2, 3, 4}}, Where::kBeforeEnd)));
}

TEST(LoadPng, IgnoresAnEndChunkWithData) {
  auto chunks = CleanChunks();
  chunks.back().data = {1, 2, 3, 4};
  ExpectCleanPicture(JoinChunks(chunks));
}

// Out-of-range indices are a fault libpng finds only after the pixels; they
// give opaque black, as in palette BMPs.
TEST(LoadPng, PaletteIndicesPastThePaletteAreBlack) {
  Bytes header(13);
  PutU32Be(header, 0, 4);
  PutU32Be(header, 4, 1);
  header[8] = 8;                      // bits per index
  header[9] = 3;                      // palette colour type
  const Bytes row = {0, 0, 1, 2, 3};  // filter type, then the indices
  uLongf length = compressBound(row.size());
  Bytes stream(length);
  ASSERT_EQ(compress(stream.data(), &length, row.data(), row.size()), Z_OK);
  stream.resize(length);
  Bytes file = JoinChunks(
      {{"IHDR", header}, {"PLTE", {0xFF, 0, 0, 0, 0xFF, 0}}, {"IDAT", stream}, {"IEND", {}}});
  base::ByteReader in(file);
  TARGB8888 image;
  image.LoadPng(in);
  ExpectSame(image, {4, 1, {0xFFFF0000u, 0xFF00FF00u, 0xFF000000u, 0xFF000000u}}, true);
}

}  // namespace
}  // namespace mavu::imaging
