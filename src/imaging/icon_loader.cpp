#include "imaging/icon_loader.h"

#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::imaging {
namespace {

constexpr uint16_t kIconType = 1;
constexpr size_t kBmpFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr std::string_view kPngSignature = "\x89PNG";

struct Entry {
  int side = 0;  // width x height, 0 counted as 256
  int bitsPerPixel = 0;
  uint32_t size = 0;
  uint32_t offset = 0;
};

[[noreturn]] void Fail(const std::string& detail) {
  throw ImageLoadError("icon: " + detail, "ICO: " + detail);
}

int Side(uint8_t stored) {
  return stored == 0 ? 256 : stored;
}

Entry Largest(base::ByteReader& in, size_t fileSize) {
  if (in.U16() != 0 || in.U16() != kIconType) Fail("not an icon file");
  const uint16_t count = in.U16();
  if (count == 0) Fail("no pictures");
  Entry best;
  for (uint16_t i = 0; i < count; ++i) {
    Entry entry;
    entry.side = Side(in.U8()) * Side(in.U8());
    in.Skip(4);  // colour count, reserved, planes
    entry.bitsPerPixel = in.U16();
    entry.size = in.U32();
    entry.offset = in.U32();
    if (entry.offset > fileSize || entry.size > fileSize - entry.offset) {
      Fail("a picture lies outside the file");
    }
    if (entry.side > best.side ||
        (entry.side == best.side && entry.bitsPerPixel > best.bitsPerPixel)) {
      best = entry;
    }
  }
  return best;
}

struct BitmapHeader {
  uint32_t size = 0;
  int32_t height = 0;  // colours and mask together
  uint16_t bitsPerPixel = 0;
  uint32_t paletteBytes = 0;
};

BitmapHeader ReadBitmapHeader(std::span<const uint8_t> dib) {
  base::ByteReader in(dib);
  BitmapHeader header;
  header.size = in.U32();
  if (header.size < kInfoHeaderSize || header.size > dib.size()) Fail("unknown bitmap header");
  in.Skip(4);
  header.height = in.I32();
  in.Skip(2);
  header.bitsPerPixel = in.U16();
  in.Skip(16);
  const uint32_t used = in.U32();
  const uint32_t entries = header.bitsPerPixel <= 8 && used == 0 ? 1u << header.bitsPerPixel : used;
  if (entries > 256) Fail("a palette of " + std::to_string(entries) + " colours");
  header.paletteBytes = entries * 4;
  return header;
}

// Old icons keep their transparency only in the mask and leave alpha at 0.
void MakeOpaqueWithoutAlpha(TARGB8888& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (picture.Pixel(x, y) >> 24 != 0) return;
    }
  }
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x)
      picture.SetPixel(x, y, picture.Pixel(x, y) | 0xFF000000u);
  }
}

// The AND mask follows the colours: one bit a pixel, rows bottom-up, a set
// bit transparent. An icon without room for it is taken as opaque.
void ApplyMask(TARGB8888& picture, std::span<const uint8_t> dib, const BitmapHeader& header) {
  const uint64_t width = static_cast<uint64_t>(picture.Width());
  const uint64_t height = static_cast<uint64_t>(picture.Height());
  const uint64_t colourStride = (width * header.bitsPerPixel + 31) / 32 * 4;
  const uint64_t maskStride = (width + 31) / 32 * 4;
  const uint64_t maskStart = header.size + header.paletteBytes + colourStride * height;
  if (maskStart + maskStride * height > dib.size()) return;
  for (uint64_t y = 0; y < height; ++y) {
    const uint8_t* row = dib.data() + maskStart + maskStride * (height - 1 - y);
    for (uint64_t x = 0; x < width; ++x) {
      if (row[x / 8] & (0x80u >> (x % 8))) {
        picture.SetPixel(static_cast<int>(x), static_cast<int>(y), 0);
      }
    }
  }
}

// An icon's bitmap is a BMP without its file header whose height counts the
// mask below the colours; given the header back, the BMP loader reads it.
TARGB8888 LoadBitmapEntry(std::span<const uint8_t> dib) {
  const BitmapHeader header = ReadBitmapHeader(dib);
  base::ByteWriter file;
  file.U8('B').U8('M').U32(static_cast<uint32_t>(kBmpFileHeaderSize + dib.size())).U32(0);
  file.U32(static_cast<uint32_t>(kBmpFileHeaderSize + header.size + header.paletteBytes));
  file.Append(dib.first(8)).U32(static_cast<uint32_t>(header.height / 2)).Append(dib.subspan(12));
  TARGB8888 picture;
  base::ByteReader in(file.Data());
  picture.LoadBmp(in);
  if (header.bitsPerPixel == 32) MakeOpaqueWithoutAlpha(picture);
  ApplyMask(picture, dib, header);
  return picture;
}

}  // namespace

TARGB8888 LoadIcon(std::span<const uint8_t> file) {
  try {
    base::ByteReader in(file);
    const Entry entry = Largest(in, file.size());
    const std::span<const uint8_t> data = file.subspan(entry.offset, entry.size);
    const std::string_view start(reinterpret_cast<const char*>(data.data()),
                                 std::min(data.size(), kPngSignature.size()));
    if (start != kPngSignature) return LoadBitmapEntry(data);
    TARGB8888 picture;
    base::ByteReader png(data);
    picture.LoadPng(png);
    return picture;
  } catch (const ImageLoadError&) {
    throw;
  } catch (const base::FormatError& error) {
    Fail(error.what());
  }
}

}  // namespace mavu::imaging
