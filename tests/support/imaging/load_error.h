#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/bytes.h"
#include "base/cp932.h"
#include "imaging/argb8888.h"

namespace mavu::test {

// A picture format as the loader tests see it: its loader and the message of
// its load error (UTF-8 here; the engine's text is CP932).
struct PictureFormat {
  void (imaging::TARGB8888::*load)(base::ByteReader& in);
  std::string_view errorUtf8;
};

inline const PictureFormat kBmpFormat{&imaging::TARGB8888::LoadBmp, "Bitmapの読み込みに失敗"};
inline const PictureFormat kPngFormat{&imaging::TARGB8888::LoadPng, "PNGの読み込みに失敗しました"};
inline const PictureFormat kJpegFormat{&imaging::TARGB8888::LoadJpeg,
                                       "規格外のJPEGの読み込みに失敗しました"};

// Loads from `in` into an image that held a picture and expects the format's
// load error and the image left empty. Returns the error's detail.
inline std::string ExpectLoadError(const PictureFormat& format, base::ByteReader& in) {
  imaging::TARGB8888 image;
  image.SetSize(2, 2);
  std::string detail;
  try {
    (image.*format.load)(in);
    ADD_FAILURE() << "loaded";
  } catch (const imaging::ImageLoadError& e) {
    detail = e.Detail();
    EXPECT_EQ(std::string(e.what()), base::Utf8ToCp932(format.errorUtf8));
  }
  EXPECT_TRUE(image.Empty());
  return detail;
}

inline std::string ExpectLoadError(const PictureFormat& format, const base::Bytes& file) {
  base::ByteReader in(file);
  return ExpectLoadError(format, in);
}

}  // namespace mavu::test
