#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "script/values/kel_object_host.h"

namespace mavu::script {

// Object groups as bit sets (bit g = group g) for the broadcasts.
namespace groups {
inline constexpr uint32_t kMessages = 4;
inline constexpr uint32_t kButtons = 8;
inline constexpr uint32_t kSystemButtons = 256;
inline constexpr uint32_t kSystemHover = 384;     // system images and system buttons
inline constexpr uint32_t kButtonWaitHover = 14;  // images, messages, buttons
inline constexpr uint32_t kScene = 8190;          // groups 1-12: advanced and drawn every step
}  // namespace groups

// A system button (kind sbtn) as the interpreter drives it: its text names a
// system action, and the lock flags and skip modes decide how it looks.
class SystemButton {
 public:
  virtual ~SystemButton() = default;
  virtual std::string ActionText() const = 0;
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

// What a click on a button (kind btn) during a button wait reports.
struct ButtonHit {
  std::string objectName;
  int32_t value = 0;
  std::string text;
  std::string command;  // executed at once when not empty
};

// The object registry as the interpreter uses it: the variable tables create
// and free objects through the KelObjectHost part; the rest are the per-step
// broadcasts over object groups, in creation order. `TKelObjectManager`
// implements it.
class ObjectRegistry : public KelObjectHost {
 public:
  // What MessageState reports.
  static constexpr int32_t kMessageIdle = 0;
  static constexpr int32_t kMessageShowing = 1;
  static constexpr int32_t kMessageAtEnd = 2;

  // Frees every object.
  virtual void ClearObjects() = 0;
  virtual void SetCameraOffset(int32_t x, int32_t y) = 0;
  virtual void AdvanceAll(int32_t updateMask, int32_t ms, uint32_t groupSet) = 0;
  virtual void DrawAll(int32_t drawMask, bool fixedLayers, uint32_t groupSet) = 0;
  virtual void HoverAll(int32_t mask, int32_t x, int32_t y, uint32_t groupSet) = 0;
  // The highest state a message object reports.
  virtual int32_t MessageState() = 0;
  // A click (or a click without position) given to the message objects.
  virtual void ClickMessages(int32_t x, int32_t y) = 0;
  // The last button object hit at the point, if any.
  virtual std::optional<ButtonHit> HitButton(int32_t mask, int32_t x, int32_t y) = 0;
  // The last system button hit at the point, or null.
  virtual SystemButton* HitSystemButton(int32_t mask, int32_t x, int32_t y) = 0;
  virtual void ForEachSystemButton(const std::function<void(SystemButton&)>& visit) = 0;
  // The layer loads, motions and showing recorded while the scene-skip
  // animation stood in for the scene.
  virtual void CarryOutDeferredLoads() = 0;
};

}  // namespace mavu::script
