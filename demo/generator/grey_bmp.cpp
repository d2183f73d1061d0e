#include "grey_bmp.h"

#include "base/byte_writer.h"

namespace mavu::demo {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 256 * 4;

}  // namespace

base::Bytes EncodeGreyBmp(const GreyPicture& picture) {
  const uint32_t stride = (static_cast<uint32_t>(picture.width) + 3) & ~3u;
  const uint32_t pixelBytes = stride * static_cast<uint32_t>(picture.height);
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;
  base::ByteWriter out;
  out.Text("BM").U32(offset + pixelBytes).U32(0).U32(offset);
  out.U32(kInfoHeaderSize).I32(picture.width).I32(picture.height).U16(1).U16(8);
  out.U32(0).U32(pixelBytes).I32(2835).I32(2835).U32(256).U32(0);
  for (uint32_t level = 0; level < 256; ++level) {
    out.U8(static_cast<uint8_t>(level)).U8(static_cast<uint8_t>(level));
    out.U8(static_cast<uint8_t>(level)).U8(0);
  }
  // Rows go bottom-up, each padded to four bytes.
  for (int y = picture.height - 1; y >= 0; --y) {
    const auto row = picture.levels.begin() + static_cast<ptrdiff_t>(y) * picture.width;
    out.Append({&*row, static_cast<size_t>(picture.width)});
    out.Zeros(stride - static_cast<uint32_t>(picture.width));
  }
  return out.Take();
}

}  // namespace mavu::demo
