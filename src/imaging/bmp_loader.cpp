// Windows BMP files: the core (OS/2 1.x) header and the info headers of
// 40 to 124 bytes; 1, 4 and 8 bits through a palette (plain or run-length
// coded), 16 and 32 bits plain or with channel masks, 24 bits; rows stored
// bottom-up (positive height) or top-down (negative height).
#include <algorithm>
#include <array>
#include <bit>
#include <string>

#include "imaging/image_loaders.h"

namespace mavu::imaging::detail {
namespace {

constexpr uint16_t kBmpMagic = 0x4D42;  // "BM"
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMaxHeaderSize = 124;

enum Compression : uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kAlphaBitFields = 6,
};

[[noreturn]] void Fail(const std::string& detail) {
  throw ImageLoadError(BmpErrorMessage(), "BMP: " + detail);
}

// One colour channel held under a mask, widened to 8 bits by repeating its
// top bits (so a 5-bit 31 becomes 255).
class Channel {
 public:
  Channel() = default;
  explicit Channel(uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    bits_ = 32 - std::countl_zero(mask) - shift_;
  }
  bool Present() const { return mask_ != 0; }
  uint32_t Extract(uint32_t value) const {
    if (mask_ == 0) return 0;
    uint32_t v = (value & mask_) >> shift_;
    if (bits_ >= 8) return v >> (bits_ - 8);
    uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += bits_) out = (out << bits_) | v;
    return out >> (((8 + bits_ - 1) / bits_) * bits_ - 8);
  }

 private:
  uint32_t mask_ = 0;
  int shift_ = 0;
  int bits_ = 0;
};

struct Header {
  int64_t width = 0;
  int64_t height = 0;  // positive; topDown says which way rows run
  bool topDown = false;
  int bitsPerPixel = 0;
  uint32_t compression = kRgb;
  uint32_t colourCount = 0;
  bool core = false;
  std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
  bool hasMasks = false;
};

Header ReadInfoHeader(base::ByteReader& in, size_t headerStart) {
  Header h;
  uint32_t size = in.U32();
  if (size == kCoreHeaderSize) {
    h.core = true;
    h.width = in.U16();
    h.height = in.U16();
    in.Skip(2);
    h.bitsPerPixel = in.U16();
    return h;
  }
  if (size < kInfoHeaderSize || size > kMaxHeaderSize)
    Fail("unknown header size " + std::to_string(size));
  h.width = in.I32();
  int64_t height = in.I32();
  h.topDown = height < 0;
  h.height = height < 0 ? -height : height;
  in.Skip(2);
  h.bitsPerPixel = in.U16();
  h.compression = in.U32();
  in.Skip(12);
  h.colourCount = in.U32();
  in.Skip(4);
  bool fieldCompression = h.compression == kBitFields || h.compression == kAlphaBitFields;
  // Masks sit inside the larger headers, or right after a 40-byte one.
  size_t maskCount = size >= 56 ? 4 : size >= 52 ? 3 : 0;
  if (size == kInfoHeaderSize && fieldCompression) maskCount = h.compression == kBitFields ? 3 : 4;
  for (size_t i = 0; i < maskCount; ++i) h.masks[i] = in.U32();
  h.hasMasks = fieldCompression;
  in.Seek(std::max(in.Position(), headerStart + size));
  return h;
}

void CheckFormat(const Header& h) {
  switch (h.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      Fail("unsupported depth " + std::to_string(h.bitsPerPixel));
  }
  bool ok = false;
  switch (h.compression) {
    case kRgb:
      ok = true;
      break;
    case kRle8:
      ok = h.bitsPerPixel == 8 && !h.topDown;
      break;
    case kRle4:
      ok = h.bitsPerPixel == 4 && !h.topDown;
      break;
    case kBitFields:
    case kAlphaBitFields:
      ok = h.bitsPerPixel == 16 || h.bitsPerPixel == 32;
      break;
    default:
      break;
  }
  if (!ok) Fail("unsupported compression " + std::to_string(h.compression));
}

std::vector<uint32_t> ReadPalette(base::ByteReader& in, const Header& h) {
  if (h.bitsPerPixel > 8) return {};
  uint32_t limit = 1u << h.bitsPerPixel;
  uint32_t count = h.colourCount == 0 ? limit : std::min(h.colourCount, limit);
  size_t entrySize = h.core ? 3 : 4;
  if (static_cast<uint64_t>(count) * entrySize > in.Remaining()) Fail("palette past the end");
  std::vector<uint32_t> palette(limit, 0xFF000000u);  // missing entries are black
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t b = in.U8(), g = in.U8(), r = in.U8();
    if (!h.core) in.Skip(1);
    palette[i] = 0xFF000000u | r << 16 | g << 8 | b;
  }
  return palette;
}

// Where stored row `i` (in file order) goes: files hold bottom-up rows unless
// the height was negative, and the buffer is bottom-up too.
size_t TargetRow(const Header& h, int64_t i) {
  return static_cast<size_t>(h.topDown ? h.height - 1 - i : i);
}

class PixelWriter {
 public:
  PixelWriter(DecodedImage& image, const std::vector<uint32_t>& palette)
      : image_(image), palette_(palette) {}
  void Index(size_t row, int64_t x, uint32_t index) {
    size_t at = row * static_cast<size_t>(image_.width) + static_cast<size_t>(x);
    image_.indices[at] = static_cast<uint8_t>(index);
    image_.pixels[at] = palette_[index];
  }
  void Colour(size_t row, int64_t x, uint32_t argb) {
    image_.pixels[row * static_cast<size_t>(image_.width) + static_cast<size_t>(x)] = argb;
  }

 private:
  DecodedImage& image_;
  const std::vector<uint32_t>& palette_;
};

uint32_t ReadLe(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void DecodeUncompressed(base::ByteReader& in, const Header& h, const std::vector<uint32_t>& palette,
                        DecodedImage& image) {
  uint64_t rowBits = static_cast<uint64_t>(h.width) * h.bitsPerPixel;
  uint64_t stride = (rowBits + 31) / 32 * 4;
  uint64_t lastRow = (rowBits + 7) / 8;
  if (stride * static_cast<uint64_t>(h.height - 1) + lastRow > in.Remaining())
    Fail("pixel data truncated");
  // Plain 16-bit pixels are 5-5-5; plain 32-bit ones are taken as they are.
  bool fields = h.hasMasks || h.bitsPerPixel == 16;
  std::array<uint32_t, 4> masks =
      h.hasMasks ? h.masks : std::array<uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0};
  std::array<Channel, 4> channels;
  for (int c = 0; c < 4; ++c) channels[c] = Channel(masks[c]);
  PixelWriter out(image, palette);
  for (int64_t i = 0; i < h.height; ++i) {
    uint64_t available = i == h.height - 1 ? lastRow : stride;
    const uint8_t* row = in.Span(static_cast<size_t>(available)).data();
    size_t target = TargetRow(h, i);
    for (int64_t x = 0; x < h.width; ++x) {
      switch (h.bitsPerPixel) {
        case 1:
        case 4:
        case 8: {
          uint64_t bit = static_cast<uint64_t>(x) * h.bitsPerPixel;
          uint32_t byte = row[bit / 8];
          uint32_t index = (byte >> (8 - h.bitsPerPixel - bit % 8)) & ((1u << h.bitsPerPixel) - 1);
          out.Index(target, x, index);
          break;
        }
        case 24: {
          const uint8_t* p = row + x * 3;
          out.Colour(target, x, 0xFF000000u | ReadLe(p, 3));
          break;
        }
        default: {
          uint32_t v = ReadLe(row + x * (h.bitsPerPixel / 8), h.bitsPerPixel / 8);
          if (!fields) {
            out.Colour(target, x, v);  // 32-bit pixels keep their stored alpha
            break;
          }
          uint32_t a = channels[3].Present() ? channels[3].Extract(v) : 255;
          out.Colour(target, x,
                     a << 24 | channels[0].Extract(v) << 16 | channels[1].Extract(v) << 8 |
                         channels[2].Extract(v));
        }
      }
    }
  }
}

// Run-length coded 4- and 8-bit pictures. Pixels the runs never reach keep
// palette entry 0; runs that would leave the picture are cut at its edge.
void DecodeRle(base::ByteReader& in, const Header& h, const std::vector<uint32_t>& palette,
               DecodedImage& image) {
  bool four = h.compression == kRle4;
  PixelWriter out(image, palette);
  for (int64_t y = 0; y < h.height; ++y) {
    for (int64_t x = 0; x < h.width; ++x) out.Index(static_cast<size_t>(y), x, 0);
  }
  auto put = [&](int64_t x, int64_t y, uint32_t index) {
    if (x < h.width && y < h.height) out.Index(static_cast<size_t>(y), x, index);
  };
  int64_t x = 0, y = 0;
  while (y < h.height) {
    uint32_t count = in.U8(), value = in.U8();
    if (count > 0) {
      for (uint32_t i = 0; i < count; ++i, ++x) {
        put(x, y, four ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      }
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      x += in.U8();
      y += in.U8();
    } else {
      size_t bytes = four ? (value + 1) / 2 : value;
      auto literal = in.Span(bytes);
      for (uint32_t i = 0; i < value; ++i, ++x) {
        uint32_t byte = literal[four ? i / 2 : i];
        put(x, y, four ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
      }
      if (bytes % 2 != 0) in.Skip(1);
    }
  }
}

}  // namespace

DecodedImage DecodeBmp(base::ByteReader& in) {
  try {
    size_t start = in.Position();
    if (in.U16() != kBmpMagic) Fail("not a BMP file");
    in.Skip(8);
    uint32_t pixelOffset = in.U32();
    Header h = ReadInfoHeader(in, in.Position());
    CheckFormat(h);
    std::vector<uint32_t> palette = ReadPalette(in, h);
    if (pixelOffset != 0) {
      if (pixelOffset > in.Size() - start) Fail("pixel data offset past the end");
      in.Seek(start + pixelOffset);
    }
    CheckImageSize(h.width, h.height, in.Remaining(), BmpErrorMessage());
    DecodedImage image =
        AllocateImage(static_cast<int>(h.width), static_cast<int>(h.height), h.bitsPerPixel <= 8);
    if (h.compression == kRle4 || h.compression == kRle8) {
      DecodeRle(in, h, palette, image);
    } else {
      DecodeUncompressed(in, h, palette, image);
    }
    return image;
  } catch (const ImageLoadError&) {
    throw;
  } catch (const base::FormatError& e) {
    Fail(std::string("truncated: ") + e.what());
  }
}

}  // namespace mavu::imaging::detail
