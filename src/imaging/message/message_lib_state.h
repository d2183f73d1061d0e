#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::imaging {

// The fields of a message window that its 548-byte save record holds
// (little-endian; names are short-string fields):
//    0 1 state              1 1 vertical           2 4 font index
//    6 4 previous font     10 16 area l, t, r, b   26 8 pen x, y
//   34 8 pitch x, y        42 8 previous pitch     50 8 font width, height
//   58 8 previous size     66 4 text read position 70 4 colour
//   74 4 previous colour   78 8 ruby width, height 86 4 ruby colour
//   90 4 previous ruby colour                      94 4 ruby font
//   98 8 ruby pitch x, y  106 8 ruby offset x, y  114 4 wait
//  118 128 speaker name   246 128 voice name      374 12 three log attributes
//  386 4 text opacity     390 4 fade rate         394 4 fade speed
//  398 4 line-start indent 402 4 speed override   406 4 text-layer background
//  410 1 scroll on full page                      411 128 icon sheet file
//  539 4 icon cell width  543 4 icon cell height  547 1 auto-wait counting
struct MessageLibState {
  static constexpr size_t kBytes = 548;
  static constexpr size_t kNameField = 128;
  // Far beyond any text layer, and small enough that sums of a few never
  // overflow: positions, sizes and spacing are kept within it.
  static constexpr int32_t kMaxMeasure = 1 << 16;
  static constexpr int32_t kMaxAreaSide = 4096;

  // `value` kept within -bound .. bound.
  static int32_t Bounded(int64_t value, int32_t bound = kMaxMeasure) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, -bound, bound));
  }
  // The fade speed of a fade lasting 1 ms or less: text opacity per second.
  static constexpr int32_t kMaxFadeSpeed = 1024000;

  struct Pair {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Pair&) const = default;
  };
  struct Area {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const Area&) const = default;
  };

  uint8_t state = 0;
  bool vertical = false;
  int32_t font = 0;
  int32_t previousFont = 0;
  Area area;
  Pair pen;
  Pair pitch;
  Pair previousPitch;
  Pair size{32, 32};
  Pair previousSize{32, 32};
  int32_t readPosition = 0;
  uint32_t colour = 0xFFFFFFFF;
  uint32_t previousColour = 0xFFFFFFFF;
  Pair rubySize{12, 12};
  uint32_t rubyColour = 0xFFFFFFFF;
  uint32_t previousRubyColour = 0xFFFFFFFF;
  int32_t rubyFont = 7;
  Pair rubyPitch;
  Pair rubyOffset{0, -8};
  int32_t wait = 0;
  std::string speaker;
  std::string voice;
  std::array<int32_t, 3> logAttributes{255, 0, 0};
  int32_t textOpacity = 0;
  int32_t fadeRate = 0;
  int32_t fadeSpeed = 4096;
  int32_t lineStartIndent = 0;
  int32_t speedOverride = -1;
  uint32_t textBackground = 0x00444444;
  bool scrollOnFullPage = false;
  std::string iconSheet;
  int32_t iconCellWidth = 32;
  int32_t iconCellHeight = 32;
  bool autoWaitCounting = false;

  bool operator==(const MessageLibState&) const = default;
  // Brings the pen, sizes, spacing and indent from tags or a damaged save
  // back within kMaxMeasure, and the fade within kMaxFadeSpeed.
  void Bound();
  void Write(base::ByteWriter& out) const;
  // Throws base::FormatError for a short block or an overlong name.
  static MessageLibState Read(base::ByteReader& in);
};

}  // namespace mavu::imaging
