#pragma once

#include <cstdint>
#include <functional>

#include "imaging/message/message_lib.h"

namespace mavu::imaging {

// A clickable message window (`TButtonLib`) that can also be checked or
// locked; each state shows through a motion of reserved name ("*OnClick",
// "*OnCheck", "*OffCheck", "*OnLock", "*OffLock"). Its text and integer value,
// which a button wait reports, are the layer's tag and user value.
class TButtonLib : public TMessageLib {
 public:
  // Where a consumed click point goes, so that no layer below sees it.
  static constexpr int32_t kConsumed = 65536;

  using TMessageLib::TMessageLib;

  void Reset() override;
  void MouseMove(int32_t layerMask, int32_t x, int32_t y) override;
  // A click on an enabled, unlocked button that the point hits: the point is
  // consumed, "*OnClick" plays anew (unless checked), the callback runs.
  bool Click(int32_t layerMask, int32_t& x, int32_t& y) override;

  void SetChecked(bool checked);
  void SetLocked(bool locked);
  bool Checked() const { return checked_; }
  bool Locked() const { return locked_; }

  // The message window's record, then checked and locked as a byte each.
  void SaveButtonState(base::ByteWriter& out) const;
  void LoadButtonState(base::ByteReader& in);

  std::function<void()> onClick;
  std::function<void()> onChecked;
  std::function<void()> onUnchecked;

 private:
  // The motion of the name, or "*OffMouse" when the file lacks it.
  void PlayOrOffMouse(std::string_view name);
  void ShowLockOrCheck();

  bool checked_ = false;
  bool locked_ = false;
};

}  // namespace mavu::imaging
