// PNG files through libpng, written to memory.
#include "imaging/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <string>

#include "imaging/png_error_callbacks.h"

namespace mavu::imaging {
namespace {

using detail::IgnorePngWarning;
using detail::KeepPngErrorAndJump;

struct Session {
  ~Session() {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
  }

  png_structp png = nullptr;
  png_infop info = nullptr;
  base::Bytes out;
  std::string error;
};

void Write(png_structp png, png_bytep data, png_size_t length) {
  auto* s = static_cast<Session*>(png_get_io_ptr(png));
  s->out.insert(s->out.end(), data, data + length);
}

void Flush(png_structp) {}

// Returns false after a libpng error (the message is in the session). No
// object with a destructor lives in this frame, so the jump skips none.
bool Encode(Session& s, const TARGB8888& image, PngAlpha alpha) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_write_fn(s.png, &s, Write, Flush);
  const int colourType = alpha == PngAlpha::kKeep ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(image.Width()),
               static_cast<png_uint_32>(image.Height()), 8, colourType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s.png, s.info);
  // Pixels lie in memory as B, G, R, A: libpng turns them round (and drops A
  // when it is not kept), so the buffer's rows go out as they are.
  png_set_bgr(s.png);
  if (alpha == PngAlpha::kDrop) png_set_filler(s.png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < image.Height(); ++y) {
    png_write_row(s.png, reinterpret_cast<png_const_bytep>(image.Row(y)));
  }
  png_write_end(s.png, nullptr);
  return true;
}

}  // namespace

base::Bytes EncodePng(const TARGB8888& image, PngAlpha alpha) {
  if (image.Empty()) throw ImageWriteError("PNG: the picture is empty");
  Session s;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s.error, KeepPngErrorAndJump,
                                  IgnorePngWarning);
  if (s.png) s.info = png_create_info_struct(s.png);
  if (!s.png || !s.info) throw ImageWriteError("PNG: encoder unavailable");
  if (!Encode(s, image, alpha)) throw ImageWriteError("PNG: " + s.error);
  return std::move(s.out);
}

}  // namespace mavu::imaging
