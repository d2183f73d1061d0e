#pragma once

#include <cstdint>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::imaging {

// The camera (`TCamera`): a point moved over time with an easing (or shaken);
// the scene is drawn offset by (-x, -y). Its save record is 33 bytes: current
// x, y; start x, y; target x, y; elapsed; duration (int32 each); easing (u8).
class TCamera {
 public:
  static constexpr size_t kStateBytes = 33;

  TCamera() { CameraReset(); }

  void CameraReset();
  void CameraMoveTo(int32_t x, int32_t y, int32_t duration);
  // 0 jump, 1 linear, 3 ease-out, 4 ease-in, 6 shake; other values count as 0.
  void CameraSetEasing(uint8_t easing);
  void CameraAdvance(int32_t elapsed);

  int32_t X() const { return x_; }
  int32_t Y() const { return y_; }
  int32_t OffsetX() const { return -x_; }
  int32_t OffsetY() const { return -y_; }

  void SaveState(base::ByteWriter& out) const;
  // Throws base::FormatError for a short record, with the camera unchanged.
  void LoadState(base::ByteReader& in);

 private:
  int32_t x_ = 0;
  int32_t y_ = 0;
  int32_t startX_ = 0;
  int32_t startY_ = 0;
  int32_t targetX_ = 0;
  int32_t targetY_ = 0;
  int32_t elapsed_ = 0;
  int32_t duration_ = 0;
  uint8_t easing_ = 0;
};

}  // namespace mavu::imaging
