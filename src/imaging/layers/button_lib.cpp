#include "imaging/layers/button_lib.h"

#include <array>

#include "base/cp932.h"

namespace mavu::imaging {
namespace {

constexpr std::string_view kOnClick = "*OnClick";
constexpr std::string_view kOnCheck = "*OnCheck";
constexpr std::string_view kOffCheck = "*OffCheck";
constexpr std::string_view kOnLock = "*OnLock";
constexpr std::string_view kOffLock = "*OffLock";
constexpr std::string_view kOffMouse = "*OffMouse";

// A state motion and the motion that leaves it.
struct StateMotion {
  std::string_view on;
  std::string_view off;
};
constexpr std::array<StateMotion, 3> kLeavable = {
    {{"*onlock", kOffLock}, {"*oncheck", kOffCheck}, {"*onclick", "*OffClick"}}};

}  // namespace

void TButtonLib::Reset() {
  TMessageLib::Reset();
  checked_ = false;
  locked_ = false;
}

void TButtonLib::PlayOrOffMouse(std::string_view name) {
  if (!PlayIfPresent(name)) PlayIfPresent(kOffMouse);
}

void TButtonLib::ShowLockOrCheck() {
  if (locked_) {
    PlayIfPresent(kOnLock);
  } else if (checked_) {
    PlayIfPresent(kOnCheck);
  }
}

void TButtonLib::MouseMove(int32_t layerMask, int32_t x, int32_t y) {
  if (!Enabled() || (layerMask & State().mouseMask) == 0) {
    TImageLib::MouseMove(layerMask, x, y);
    return;
  }
  if (locked_ || checked_) {
    MutableState().mouseX = x;
    MutableState().mouseY = y;
    return ShowLockOrCheck();
  }
  for (const StateMotion& state : kLeavable) {
    if (MotionIsCurrent(state.on)) {
      PlayOrOffMouse(state.off);
      break;
    }
  }
  TImageLib::MouseMove(layerMask, x, y);
}

bool TButtonLib::Click(int32_t layerMask, int32_t& x, int32_t& y) {
  if (!Enabled() || (layerMask & State().mouseMask) == 0 || locked_ || !HitTest(x, y)) {
    return false;
  }
  x = kConsumed;
  y = kConsumed;
  if (!checked_) PlayIfPresent(kOnClick, true);
  if (onClick) onClick();
  return true;
}

void TButtonLib::SetLocked(bool locked) {
  if (locked == locked_) return;
  locked_ = locked;
  if (locked_ || checked_) return ShowLockOrCheck();
  PlayOrOffMouse(kOffLock);
}

void TButtonLib::SetChecked(bool checked) {
  if (checked == checked_ || locked_) return;
  checked_ = checked;
  if (checked_) {
    PlayIfPresent(kOnCheck);
    if (onChecked) onChecked();
  } else {
    PlayOrOffMouse(kOffCheck);
    if (onUnchecked) onUnchecked();
  }
}

void TButtonLib::SaveButtonState(base::ByteWriter& out) const {
  SaveMessageState(out);
  out.U8(checked_ ? 1 : 0).U8(locked_ ? 1 : 0);
}

// Read through once before anything changes, so that a short record leaves
// the button as it was.
void TButtonLib::LoadButtonState(base::ByteReader& in) {
  const size_t start = in.Position();
  in.Skip(ImageLibState::kBytes + MessageLibState::kBytes);
  in.Str16();
  in.Str16();
  const bool checked = in.U8() != 0;
  const bool locked = in.U8() != 0;
  in.Seek(start);
  LoadMessageState(in);
  in.Skip(2);
  checked_ = checked;
  locked_ = locked;
}

}  // namespace mavu::imaging
