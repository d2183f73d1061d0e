#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/interpreter/object_registry.h"
#include "script/objects/object_kinds.h"
#include "script/values/kel_object.h"

namespace mavu::script {

// The base of every script object (`TKelObjectDataCustom`): a name, a kind, a
// group and the hash of the name, with the per-frame operations that the
// registry broadcasts. Kinds that own nothing act on parts of the interpreter
// and use this class as it is; the others derive from it and forward the
// operations to the part they own.
class TKelObjectDataCustom : public KelObject {
 public:
  static constexpr uint8_t kMaxGroup = 15;

  // In the group of its kind.
  TKelObjectDataCustom(std::string name, ObjectKind kind);
  TKelObjectDataCustom(std::string name, ObjectKind kind, uint8_t group);

  const std::string& Name() const override { return name_; }
  uint8_t Kind() const override { return static_cast<uint8_t>(kind_); }
  ObjectKind KindOf() const { return kind_; }
  uint8_t Group() const { return group_; }
  uint32_t NameHash() const { return hash_; }
  // Whether the object belongs to a group set (bit g = group g).
  bool InGroups(uint32_t groupSet) const {
    return group_ <= kMaxGroup && ((groupSet >> group_) & 1u) != 0;
  }

  int32_t CameraX() const { return cameraX_; }
  int32_t CameraY() const { return cameraY_; }
  void SetCameraOffset(int32_t x, int32_t y) { cameraX_ = x, cameraY_ = y; }

  // The operations in their slot order; an object that owns nothing writes and
  // reads no state, never hits and has nothing to advance, draw or release.
  virtual void Reset() { SetCameraOffset(0, 0); }
  bool SaveState(base::ByteWriter&) override { return true; }
  bool LoadState(base::ByteReader&) override { return true; }
  virtual void Advance(int32_t /*updateMask*/, int32_t /*ms*/) {}
  virtual void Draw(int32_t /*drawMask*/, bool /*fixedLayers*/) {}
  virtual void Hover(int32_t /*mask*/, int32_t /*x*/, int32_t /*y*/) {}
  virtual bool HitTest(int32_t /*mask*/, int32_t /*x*/, int32_t /*y*/) { return false; }
  virtual void Release() {}

  // What message windows, buttons and system buttons add for the interpreter.
  virtual int32_t MessageState() const { return ObjectRegistry::kMessageIdle; }
  // The values a button reports when it is hit; nothing for other kinds.
  virtual std::optional<ButtonHit> ButtonValues() const { return std::nullopt; }
  virtual SystemButton* AsSystemButton() { return nullptr; }
  // Exchanges what two objects of this kind own, keeping their names; false
  // for kinds that own nothing to exchange.
  virtual bool SwapContents(TKelObjectDataCustom& /*other*/) { return false; }
  // Layer objects carry out what they recorded while loads were deferred.
  virtual void CarryOutDeferred() {}

 private:
  int32_t cameraX_ = 0;
  int32_t cameraY_ = 0;
  std::string name_;
  ObjectKind kind_;
  uint8_t group_;
  uint32_t hash_;
};

}  // namespace mavu::script
