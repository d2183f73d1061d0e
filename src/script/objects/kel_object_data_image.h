#pragma once

#include <memory>
#include <string>

#include "imaging/layers/image_lib.h"
#include "script/objects/kel_object_data_custom.h"

namespace mavu::script {

// An image object (`TKelObjectDataImage`, kind img; `TKelObjectDataSysImage`,
// kind simg, is the same in the system images' group): it owns one layer and
// forwards the per-frame operations to it. A layer of priority 1000 or more is
// fixed to the screen: drawn without the camera offset, and only with the
// fixed layers.
class TKelObjectDataImage : public TKelObjectDataCustom {
 public:
  static constexpr int32_t kFixedPriority = 1000;

  TKelObjectDataImage(std::string name, ObjectKind kind, std::unique_ptr<imaging::TImageLib> layer);

  imaging::TImageLib& Layer() { return *layer_; }

  void Reset() override;
  bool SaveState(base::ByteWriter& out) override;
  bool LoadState(base::ByteReader& in) override;
  void Advance(int32_t updateMask, int32_t ms) override;
  void Draw(int32_t drawMask, bool fixedLayers) override;
  void Hover(int32_t mask, int32_t x, int32_t y) override;
  bool SwapContents(TKelObjectDataCustom& other) override;
  void CarryOutDeferred() override { layer_->CarryOutDeferred(); }

 protected:
  std::unique_ptr<imaging::TImageLib> layer_;
};

class TKelObjectDataSysImage : public TKelObjectDataImage {
 public:
  TKelObjectDataSysImage(std::string name, std::unique_ptr<imaging::TImageLib> layer)
      : TKelObjectDataImage(std::move(name), ObjectKind::kSysImage, std::move(layer)) {}
};

}  // namespace mavu::script
