#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::imaging {

// Everything a layer is, in its fixed 1331-byte save record (little-endian;
// names are short-string fields: a length byte and the text):
//    0  1 shown             1  1 enabled          2  4 sound volume
//    6  4 motion index     10 256 64 layer clocks 266 256 64 layer waits
//  522 12 x, y, priority  534  4 opacity         538  4 level channel
//  542  4 play channel    546 128 file name      674 128 image file name
//  802 16 hit rectangle   818  8 last mouse x, y 826 16 hover window
//  842 12 move start      854 12 move target     866  4 move time left
//  870  4 move duration   874  4 fade start      878  4 fade target
//  882  4 fade time left  886  4 fade duration   890  1 move easing
//  891 128 tag           1019  4 user value     1023  4 horizontal anchor
// 1027  4 vertical anchor 1031 4 mouse mask     1035  4 draw mask
// 1039  4 motion seen    1043 32 watched motion 1075 256 watched label
struct ImageLibState {
  static constexpr size_t kBytes = 1331;
  static constexpr int kLayers = 64;
  static constexpr size_t kNameField = 128;
  static constexpr size_t kMotionField = 32;
  static constexpr size_t kLabelField = 256;

  struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const Rect&) const = default;
  };
  struct Place {
    int32_t x = 0;
    int32_t y = 0;
    int32_t priority = 0;
    bool operator==(const Place&) const = default;
  };

  bool shown = false;
  bool enabled = false;
  int32_t volume = 255;
  int32_t motion = 0;
  std::array<int32_t, kLayers> clocks{};
  std::array<int32_t, kLayers> waits{};
  Place at;
  int32_t opacity = 255;
  int32_t levelChannel = 0;
  int32_t playChannel = 0;
  std::string file;
  std::string imageFile;
  Rect hit;
  int32_t mouseX = 0;
  int32_t mouseY = 0;
  Rect hover;
  Place moveStart;
  Place moveTarget;
  int32_t moveLeft = 0;
  int32_t moveDuration = 0;
  int32_t fadeStart = 255;
  int32_t fadeTarget = 255;
  int32_t fadeLeft = 0;
  int32_t fadeDuration = 0;
  uint8_t easing = 1;
  std::string tag;
  int32_t userValue = 0;
  int32_t anchorH = 0;
  int32_t anchorV = 0;
  int32_t mouseMask = -1;
  int32_t drawMask = -1;
  int32_t motionSeen = 0;
  std::string watchedMotion;
  std::string watchedLabel;

  bool operator==(const ImageLibState&) const = default;
  void Write(base::ByteWriter& out) const;
  // Throws base::FormatError for a short block or an overlong name.
  static ImageLibState Read(base::ByteReader& in);
};

}  // namespace mavu::imaging
