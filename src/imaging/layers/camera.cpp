#include "imaging/layers/camera.h"

#include <algorithm>

#include "imaging/animation/interpolation.h"
#include "imaging/layers/easing.h"
#include "resource/random_table.h"

namespace mavu::imaging {

void TCamera::CameraReset() {
  x_ = y_ = startX_ = startY_ = targetX_ = targetY_ = elapsed_ = duration_ = 0;
  easing_ = 0;
  CameraMoveTo(0, 0, 0);
}

void TCamera::CameraMoveTo(int32_t x, int32_t y, int32_t duration) {
  startX_ = x_;
  startY_ = y_;
  targetX_ = x;
  targetY_ = y;
  elapsed_ = 0;
  duration_ = duration;
}

void TCamera::CameraSetEasing(uint8_t easing) {
  switch (static_cast<Easing>(easing)) {
    case Easing::kJump:
    case Easing::kLinear:
    case Easing::kEaseOut:
    case Easing::kEaseIn:
    case Easing::kShake:
      easing_ = easing;
      return;
  }
  easing_ = 0;
}

void TCamera::CameraAdvance(int32_t elapsed) {
  elapsed_ = static_cast<int32_t>(
      std::min<int64_t>(int64_t{elapsed_} + std::max(elapsed, 0), std::max(duration_, 0)));
  const int32_t p =
      duration_ <= 0 ? 1024 : static_cast<int32_t>(int64_t{elapsed_} * 1024 / duration_);
  if (static_cast<Easing>(easing_) != Easing::kShake) {
    x_ = Ease(easing_, startX_, targetX_, p);
    y_ = Ease(easing_, startY_, targetY_, p);
    return;
  }
  const int ease = static_cast<int>(Easing::kEaseOut);
  resource::RandomTable& random = resource::TheRandomTable();
  x_ = Ease(ease, startX_, targetX_, p) + (((1024 - p) * random.Draw(kShakeRange)) >> 10);
  y_ = Ease(ease, startY_, targetY_, p) + (((1024 - p) * random.Draw(kShakeRange)) >> 10);
}

void TCamera::SaveState(base::ByteWriter& out) const {
  out.I32(x_).I32(y_).I32(startX_).I32(startY_).I32(targetX_).I32(targetY_);
  out.I32(elapsed_).I32(duration_).U8(easing_);
}

void TCamera::LoadState(base::ByteReader& in) {
  if (in.Remaining() < kStateBytes) throw base::FormatError("camera state: the record is short");
  x_ = in.I32();
  y_ = in.I32();
  startX_ = in.I32();
  startY_ = in.I32();
  targetX_ = in.I32();
  targetY_ = in.I32();
  elapsed_ = in.I32();
  duration_ = in.I32();
  easing_ = in.U8();
}

}  // namespace mavu::imaging
