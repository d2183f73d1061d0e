// JPEG pictures through libjpeg. The picture is first located in the stream
// (anything before the start-of-image marker is skipped), then decoded at
// full quality to 24-bit colour.

// clang-format off
// jpeglib.h expects size_t and FILE to be declared already.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <optional>
#include <span>
#include <string>

#include "imaging/image_loaders.h"

namespace mavu::imaging::detail {
namespace {

constexpr uint8_t kMarker = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kFirstRestart = 0xD0;
constexpr uint8_t kLastRestart = 0xD7;
constexpr uint8_t kTemporary = 0x01;
// libjpeg's working memory (progressive pictures keep every coefficient).
constexpr long kMaxDecoderMemory = 768L * 1024 * 1024;

struct Extent {
  size_t begin = 0;
  size_t end = 0;  // one past the end-of-image marker
};

std::optional<size_t> FindStart(std::span<const uint8_t> data) {
  for (size_t i = 0; i + 2 < data.size(); ++i) {
    if (data[i] == kMarker && data[i + 1] == kStartOfImage && data[i + 2] == kMarker) return i;
  }
  return std::nullopt;
}

std::optional<size_t> ScanForEnd(std::span<const uint8_t> data, size_t from) {
  for (size_t i = from; i + 1 < data.size(); ++i) {
    if (data[i] == kMarker && data[i + 1] == kEndOfImage) return i + 2;
  }
  return std::nullopt;
}

// After a scan header: the entropy-coded bytes run up to the first marker that
// is neither a stuffed zero nor a restart marker.
size_t SkipEntropyData(std::span<const uint8_t> data, size_t pos) {
  while (pos + 1 < data.size()) {
    uint8_t next = data[pos + 1];
    if (data[pos] == kMarker && next != 0 && next != kMarker &&
        !(next >= kFirstRestart && next <= kLastRestart)) {
      return pos;
    }
    ++pos;
  }
  return data.size();
}

// Walks the marker segments so that an end-of-image marker inside a segment
// (the thumbnail of an Exif header, say) is not taken for the picture's end.
// Where the structure breaks, falls back to looking for the next FF D9.
std::optional<size_t> FindEnd(std::span<const uint8_t> data, size_t pos) {
  while (pos + 1 < data.size()) {
    if (data[pos] != kMarker) return ScanForEnd(data, pos);
    uint8_t marker = data[pos + 1];
    if (marker == kMarker) {  // fill byte
      ++pos;
      continue;
    }
    if (marker == kEndOfImage) return pos + 2;
    if (marker == kTemporary || (marker >= kFirstRestart && marker <= kLastRestart)) {
      pos += 2;
      continue;
    }
    if (pos + 3 >= data.size()) return std::nullopt;
    size_t length = static_cast<size_t>(data[pos + 2]) << 8 | data[pos + 3];
    if (length < 2) return ScanForEnd(data, pos + 2);
    pos += 2 + length;
    if (marker == kStartOfScan) pos = SkipEntropyData(data, pos);
  }
  return std::nullopt;
}

std::optional<Extent> Locate(std::span<const uint8_t> data) {
  auto begin = FindStart(data);
  if (!begin) return std::nullopt;
  auto end = FindEnd(data, *begin + 2);
  if (!end) return std::nullopt;
  return Extent{*begin, *end};
}

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back into Decode, which then reports failure.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings (a premature end of data, say) are not printed; the decoder
// carries on with what it has.
void Quiet(j_common_ptr) {}

struct Session {
  Session() {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.output_message = Quiet;
    err.message[0] = '\0';
  }
  ~Session() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  bool created = false;
  std::vector<uint8_t> row;
};

// Returns false after a libjpeg error (the message is in the session). Only
// objects outside this frame change between setjmp and a jump back.
bool Decode(Session& s, std::span<const uint8_t> data, DecodedImage& image) {
  if (setjmp(s.err.jump)) return false;
  jpeg_create_decompress(&s.cinfo);
  s.created = true;
  s.cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&s.cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&s.cinfo, TRUE);
  CheckImageSize(s.cinfo.image_width, s.cinfo.image_height, data.size(), JpegErrorMessage());
  s.cinfo.out_color_space = JCS_RGB;
  s.cinfo.dct_method = JDCT_ISLOW;
  s.cinfo.do_fancy_upsampling = TRUE;
  jpeg_start_decompress(&s.cinfo);
  if (s.cinfo.output_components != 3) return false;
  // Scaling is off, so the output has the size that was checked.
  image = AllocateImage(static_cast<int>(s.cinfo.output_width),
                        static_cast<int>(s.cinfo.output_height), false);
  s.row.resize(static_cast<size_t>(image.width) * 3);
  while (s.cinfo.output_scanline < s.cinfo.output_height) {
    int y = static_cast<int>(s.cinfo.output_scanline);
    JSAMPROW rows[1] = {s.row.data()};
    if (jpeg_read_scanlines(&s.cinfo, rows, 1) != 1) return false;
    uint32_t* out = image.pixels.data() + static_cast<size_t>(image.height - 1 - y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = s.row.data() + x * 3;
      out[x] = 0xFF000000u | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    }
  }
  jpeg_finish_decompress(&s.cinfo);
  return true;
}

}  // namespace

DecodedImage DecodeJpeg(base::ByteReader& in) {
  size_t start = in.Position();
  std::span<const uint8_t> rest = in.Rest();
  in.Seek(start);
  auto extent = Locate(rest);
  if (!extent) throw ImageLoadError(JpegErrorMessage(), "JPEG: no start or end of image marker");
  Session session;
  DecodedImage image;
  if (!Decode(session, rest.subspan(extent->begin, extent->end - extent->begin), image)) {
    std::string why = session.err.message[0] ? session.err.message : "unsupported colour format";
    throw ImageLoadError(JpegErrorMessage(), "JPEG: " + why);
  }
  in.Seek(start + extent->end);
  return image;
}

}  // namespace mavu::imaging::detail
