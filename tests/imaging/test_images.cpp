#include "test_images.h"

// clang-format off
// jpeglib.h expects size_t and FILE to be declared already.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include <algorithm>
#include <cstdlib>

#include "base/byte_writer.h"

namespace mavu::test {

base::Bytes EncodeBmp(const BmpSpec& spec) {
  base::ByteWriter w;
  w.U8('B').U8('M').U32(0).U32(0).U32(0);  // file size and pixel offset patched below
  w.U32(spec.headerSize);
  if (spec.headerSize == 12) {
    w.U16(static_cast<uint16_t>(spec.width)).U16(static_cast<uint16_t>(spec.height));
    w.U16(1).U16(spec.bitsPerPixel);
  } else {
    w.I32(spec.width).I32(spec.height).U16(1).U16(spec.bitsPerPixel).U32(spec.compression);
    w.U32(0).I32(2835).I32(2835).U32(spec.colourCount).U32(0);
    size_t masksInside = spec.headerSize >= 56 ? 4 : spec.headerSize >= 52 ? 3 : 0;
    for (size_t i = 0; i < masksInside; ++i) w.U32(i < spec.masks.size() ? spec.masks[i] : 0);
    if (spec.headerSize > 40) w.Zeros(spec.headerSize - 40 - masksInside * 4);
    if (spec.headerSize == 40) {
      for (uint32_t m : spec.masks) w.U32(m);
    }
  }
  for (uint32_t c : spec.palette) {
    w.U8(static_cast<uint8_t>(c))
        .U8(static_cast<uint8_t>(c >> 8))
        .U8(static_cast<uint8_t>(c >> 16));
    if (spec.headerSize != 12) w.U8(0);
  }
  w.PatchU32(10, static_cast<uint32_t>(w.Size()));
  for (const base::Bytes& row : spec.rows) {
    w.Append(row);
    w.Zeros((4 - row.size() % 4) % 4);
  }
  w.Append(spec.raw);
  w.PatchU32(2, static_cast<uint32_t>(w.Size()));
  return w.Take();
}

namespace {

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<base::Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void PngFlush(png_structp) {}

}  // namespace

// The encoders run on trusted input; a libpng or libjpeg error there aborts
// the test program (their default error handling).
base::Bytes EncodePng(const TopDownImage& image, bool withAlpha) {
  base::Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, PngWrite, PngFlush);
  png_set_IHDR(png, info, image.width, image.height, 8,
               withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  int channels = withAlpha ? 4 : 3;
  std::vector<png_byte> row(static_cast<size_t>(image.width) * channels);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      uint32_t p = image.At(x, y);
      png_byte* q = row.data() + x * channels;
      q[0] = static_cast<png_byte>(p >> 16);
      q[1] = static_cast<png_byte>(p >> 8);
      q[2] = static_cast<png_byte>(p);
      if (withAlpha) q[3] = static_cast<png_byte>(p >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

base::Bytes EncodeJpeg(const TopDownImage& image, int quality) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(image.width);
  cinfo.image_height = static_cast<JDIMENSION>(image.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(image.width) * 3);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      uint32_t p = image.At(x, y);
      row[x * 3] = static_cast<JSAMPLE>(p >> 16);
      row[x * 3 + 1] = static_cast<JSAMPLE>(p >> 8);
      row[x * 3 + 2] = static_cast<JSAMPLE>(p);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  base::Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

TopDownImage Gradient(int width, int height, bool withAlpha) {
  TopDownImage image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t r = static_cast<uint32_t>(x * 255 / std::max(1, width - 1));
      uint32_t g = static_cast<uint32_t>(y * 255 / std::max(1, height - 1));
      uint32_t b = static_cast<uint32_t>((x + y) * 255 / std::max(1, width + height - 2));
      uint32_t a = withAlpha ? static_cast<uint32_t>((x * 7 + y * 13) % 256) : 255;
      image.pixels[static_cast<size_t>(y) * width + x] = a << 24 | r << 16 | g << 8 | b;
    }
  }
  return image;
}

base::Bytes EncodeIcon(const std::vector<IconPicture>& pictures) {
  base::ByteWriter out;
  out.U16(0).U16(1).U16(static_cast<uint16_t>(pictures.size()));
  auto offset = static_cast<uint32_t>(6 + 16 * pictures.size());
  for (const IconPicture& p : pictures) {
    out.U8(p.width).U8(p.height).U8(0).U8(0).U16(1).U16(p.bitsPerPixel);
    out.U32(static_cast<uint32_t>(p.data.size())).U32(offset);
    offset += static_cast<uint32_t>(p.data.size());
  }
  for (const IconPicture& p : pictures) out.Append(p.data);
  return out.Data();
}

base::Bytes IconBitmap32(const std::vector<std::vector<uint32_t>>& rows,
                         const std::vector<uint8_t>& maskRows) {
  const auto height = static_cast<uint32_t>(rows.size());
  base::ByteWriter out;
  out.U32(40).U32(static_cast<uint32_t>(rows[0].size())).U32(height * 2);
  out.U16(1).U16(32).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    for (uint32_t argb : *row) out.U32(argb);
  }
  for (auto mask = maskRows.rbegin(); mask != maskRows.rend(); ++mask) {
    out.U8(*mask).U8(0).U8(0).U8(0);
  }
  return out.Data();
}

}  // namespace mavu::test
