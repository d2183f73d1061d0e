// PNG pictures through libpng. Every colour type and depth is brought to
// 8-bit B, G, R, A; sample values are taken as stored (no gamma conversion).
#include <png.h>

#include <csetjmp>
#include <string>
#include <vector>

#include "imaging/image_loaders.h"
#include "imaging/png_error_callbacks.h"

namespace mavu::imaging::detail {
namespace {

constexpr size_t kPrefixSize = 4;
constexpr uint8_t kSignatureStart[kPrefixSize] = {0x89, 0x50, 0x4E, 0x47};
// Ancillary chunks (text, profiles) may not make libpng hold more than this.
constexpr png_alloc_size_t kMaxChunkBytes = 8u * 1024 * 1024;
constexpr png_uint_32 kMaxCachedChunks = 1000;

struct Session {
  ~Session() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  }

  png_structp png = nullptr;
  png_infop info = nullptr;
  base::ByteReader* in = nullptr;
  std::string error;
  std::vector<png_bytep> rows;
};

void Read(png_structp png, png_bytep out, png_size_t length) {
  auto* s = static_cast<Session*>(png_get_io_ptr(png));
  if (length > s->in->Remaining()) png_error(png, "unexpected end of data");
  auto bytes = s->in->Span(length);
  std::copy(bytes.begin(), bytes.end(), out);
}

// Pictures that authors really have carry damaged metadata (profiles tools
// are known to get wrong, unknown rendering intents, chunks of the wrong
// length or checksum, data after the image stream): none of it changes the
// pixels, so it is skipped with a warning. The picture itself stays
// all-or-nothing: libpng keeps short or damaged image data and bad checksums
// of critical chunks fatal whatever this says. The one pixel fault it counts
// as benign, palette indices past the palette, gives black as in BMPs.
void AllowMetadataFaults(png_structp png) {
  png_set_benign_errors(png, 1);
  png_set_option(png, PNG_SKIP_sRGB_CHECK_PROFILE, PNG_OPTION_ON);
  png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_WARN_DISCARD);
}

// Every colour type and depth to 8-bit B, G, R, A.
void SetTransforms(png_structp png, png_infop info) {
  png_byte colourType = png_get_color_type(png, info);
  png_set_expand(png);  // palette to colour, low-bit grey to 8 bits, tRNS to alpha
  png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // no effect where alpha exists
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// Returns false after a libpng error (the message is in the session). Only
// objects outside this frame change between setjmp and a jump back.
bool Decode(Session& s, DecodedImage& image) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_user_limits(s.png, kMaxImageSide, kMaxImageSide);
  png_set_chunk_malloc_max(s.png, kMaxChunkBytes);
  png_set_chunk_cache_max(s.png, kMaxCachedChunks);
  AllowMetadataFaults(s.png);
  png_set_read_fn(s.png, &s, Read);
  png_read_info(s.png, s.info);
  png_uint_32 width = png_get_image_width(s.png, s.info);
  png_uint_32 height = png_get_image_height(s.png, s.info);
  CheckImageSize(width, height, s.in->Remaining(), PngErrorMessage());
  SetTransforms(s.png, s.info);
  if (png_get_rowbytes(s.png, s.info) != width * 4u) png_error(s.png, "unexpected row layout");
  image = AllocateImage(static_cast<int>(width), static_cast<int>(height), false);
  // The buffer is bottom-up: picture row y is stored row height-1-y.
  s.rows.resize(static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    s.rows[y] = reinterpret_cast<png_bytep>(
        image.pixels.data() + static_cast<size_t>(image.height - 1 - y) * image.width);
  }
  png_read_image(s.png, s.rows.data());
  png_read_end(s.png, nullptr);
  return true;
}

}  // namespace

DecodedImage DecodePng(base::ByteReader& in) {
  try {
    // A picture may come after a 4-byte prefix; a stream that starts with the
    // signature has none.
    size_t start = in.Position();
    auto head = in.Span(kPrefixSize);
    if (std::equal(head.begin(), head.end(), kSignatureStart)) in.Seek(start);
  } catch (const base::FormatError&) {
    throw ImageLoadError(PngErrorMessage(), "PNG: stream shorter than its prefix");
  }
  Session s;
  s.in = &in;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s.error, KeepPngErrorAndJump,
                                 IgnorePngWarning);
  if (s.png) s.info = png_create_info_struct(s.png);
  if (!s.png || !s.info) throw ImageLoadError(PngErrorMessage(), "PNG: decoder unavailable");
  DecodedImage image;
  if (!Decode(s, image)) throw ImageLoadError(PngErrorMessage(), "PNG: " + s.error);
  return image;
}

}  // namespace mavu::imaging::detail
