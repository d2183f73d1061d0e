// Pictures made by other people's tools, from the Debian test-data packages
// libsdl2-image-tests and gdk-pixbuf-tests, and icons the machines come
// with. A test whose file is missing is skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/byte_reader.h"
#include "base/file_io.h"
#include "imaging/argb8888.h"

namespace mavu::imaging {
namespace {

const std::string kSdl = "/usr/libexec/installed-tests/SDL2_image/";
const std::string kPixbuf = "/usr/libexec/installed-tests/gdk-pixbuf/";
const std::string kIcons = "/usr/share/icons/hicolor/";

enum class Format { kBmp, kPng, kJpeg };

Format FormatOf(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  if (ext == ".bmp") return Format::kBmp;
  if (ext == ".png") return Format::kPng;
  return Format::kJpeg;
}

void LoadInto(TARGB8888& image, const base::Bytes& bytes, Format format) {
  base::ByteReader in(bytes);
  switch (format) {
    case Format::kBmp:
      return image.LoadBmp(in);
    case Format::kPng:
      return image.LoadPng(in);
    case Format::kJpeg:
      return image.LoadJpeg(in);
  }
}

#define LOAD_OR_SKIP(image, path)                                       \
  TARGB8888 image;                                                      \
  {                                                                     \
    auto bytes = base::ReadWholeFile(path);                             \
    if (!bytes) GTEST_SKIP() << (path) << " is not installed";          \
    ASSERT_NO_THROW(LoadInto(image, *bytes, FormatOf(path))) << (path); \
  }

struct Difference {
  int worst = 0;
  double mean = 0;
};

// Per-channel difference over the colour channels (and alpha when asked).
Difference Compare(const TARGB8888& a, const TARGB8888& b, bool withAlpha) {
  Difference d;
  long long total = 0, count = 0;
  int channels = withAlpha ? 4 : 3;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      for (int c = 0; c < channels; ++c) {
        int pa = static_cast<int>((a.Pixel(x, y) >> (8 * c)) & 0xFF);
        int pb = static_cast<int>((b.Pixel(x, y) >> (8 * c)) & 0xFF);
        d.worst = std::max(d.worst, std::abs(pa - pb));
        total += std::abs(pa - pb);
        ++count;
      }
    }
  }
  d.mean = count ? static_cast<double>(total) / static_cast<double>(count) : 0;
  return d;
}

void ExpectSameSize(const TARGB8888& a, const TARGB8888& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
}

TEST(RealImages, SdlSampleBmpMatchesItsPng) {
  LOAD_OR_SKIP(bmp, kSdl + "sample.bmp");
  LOAD_OR_SKIP(png, kSdl + "sample.png");
  ExpectSameSize(bmp, png);
  EXPECT_EQ(Compare(bmp, png, true).worst, 0);
}

// palette.bmp is the sample reduced to a 24-colour palette: close to the
// PNG, and much closer the right way up than upside down.
TEST(RealImages, SdlPaletteBmpIsTheSamplePictureQuantised) {
  LOAD_OR_SKIP(bmp, kSdl + "palette.bmp");
  LOAD_OR_SKIP(png, kSdl + "sample.png");
  ExpectSameSize(bmp, png);
  TARGB8888 flipped;
  flipped.SetSize(png.Width(), png.Height());
  for (int y = 0; y < png.Height(); ++y) {
    std::copy(png.Row(y), png.Row(y) + png.Width(), flipped.Row(png.Height() - 1 - y));
  }
  double upright = Compare(bmp, png, false).mean, upsideDown = Compare(bmp, flipped, false).mean;
  EXPECT_LT(upright, 20.0);
  EXPECT_GT(upsideDown, 2 * upright);
  EXPECT_FALSE(bmp.HasAlpha());
}

TEST(RealImages, SdlSampleJpegIsCloseToThePng) {
  LOAD_OR_SKIP(jpeg, kSdl + "sample.jpg");
  LOAD_OR_SKIP(png, kSdl + "sample.png");
  ExpectSameSize(jpeg, png);
  EXPECT_LT(Compare(jpeg, png, false).mean, 6.0);
}

TEST(RealImages, SdlThirtyTwoBitBmpsWithAlphaMasks) {
  LOAD_OR_SKIP(svg, kSdl + "svg-class.bmp");
  EXPECT_EQ(svg.Width(), 82);
  EXPECT_EQ(svg.Height(), 82);
  EXPECT_TRUE(svg.HasAlpha());
}

TEST(RealImages, PixbufBitmaskBmpMatchesItsReference) {
  LOAD_OR_SKIP(bmp, kPixbuf + "test-images/reftests/mandatory-bitmasks.bmp");
  LOAD_OR_SKIP(ref, kPixbuf + "test-images/reftests/mandatory-bitmasks.bmp.ref.png");
  ExpectSameSize(bmp, ref);
  EXPECT_EQ(Compare(bmp, ref, true).worst, 0);
}

TEST(RealImages, PixbufCatJpegMatchesItsReference) {
  LOAD_OR_SKIP(jpeg, kPixbuf + "test-images/reftests/cat.jpg");
  LOAD_OR_SKIP(ref, kPixbuf + "test-images/reftests/cat.jpg.ref.png");
  ExpectSameSize(jpeg, ref);
  Difference d = Compare(jpeg, ref, true);
  EXPECT_LE(d.worst, 2);
  EXPECT_LT(d.mean, 0.5);
}

TEST(RealImages, PixbufValidFilesDecode) {
  for (std::string name :
       {"test-images/randomly-modified/valid.1.bmp", "test-images/randomly-modified/valid.1.png",
        "test-images/randomly-modified/valid.1.jpeg", "test-images/randomly-modified/valid.2.jpeg",
        "dpi.jpeg", "dpi.png", "icc-profile.png", "premature-end.png", "bug143608-comment.jpg"}) {
    LOAD_OR_SKIP(image, kPixbuf + name);
    EXPECT_FALSE(image.Empty()) << name;
  }
}

// Saved with an sRGB profile that libpng knows to be wrong, as many pictures
// from image editors are.
TEST(RealImages, IconsWithAKnownIncorrectSrgbProfile) {
  for (int side : {16, 24, 32, 48}) {
    std::string size = std::to_string(side);
    LOAD_OR_SKIP(icon, kIcons + size + "x" + size + "/apps/openjdk-17.png");
    EXPECT_EQ(icon.Width(), side);  // the 24-pixel icon is 23 rows tall
  }
}

// Broken, truncated and hostile files from the pixbuf suite: each one is a
// load error, and the buffer is left empty.
TEST(RealImages, PixbufBrokenFilesAreLoadErrors) {
  const char* names[] = {
      "cve-2015-4491.bmp",
      "premature-end.jpg",
      "issue205.jpg",
      "large.png",
      "large.jpg",
      "bug775218.jpg",
      "test-images/fail/bug776694.bmp",
      "test-images/fail/bug777315.bmp",
      "test-images/fail/invalid.1.bmp",
      "test-images/fail/bug793470-crasher.png",
      "test-images/fail/invalid.1.png",
      "test-images/fail/invalid.2.png",
      "test-images/fail/invalid.3.png",
      "test-images/fail/invalid.4.png",
      "test-images/fail/CVE-2017-2862.jpg",
      "test-images/randomly-modified/bmp-line-overflow.bmp",
      "test-images/randomly-modified/bug775242.bmp",
      "test-images/randomly-modified/decodecolormap.bmp",
      "test-images/randomly-modified/bug775697.jpg",
      "test-images/reftests/bug696331.png",
  };
  int tried = 0;
  for (const char* name : names) {
    std::string path = kPixbuf + name;
    auto bytes = base::ReadWholeFile(path);
    if (!bytes) continue;
    ++tried;
    TARGB8888 image;
    EXPECT_THROW(LoadInto(image, *bytes, FormatOf(path)), ImageLoadError) << name;
    EXPECT_TRUE(image.Empty()) << name;
  }
  if (tried == 0) GTEST_SKIP() << "gdk-pixbuf-tests is not installed";
}

}  // namespace
}  // namespace mavu::imaging
