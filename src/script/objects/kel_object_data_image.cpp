#include "script/objects/kel_object_data_image.h"

#include <utility>

namespace mavu::script {

TKelObjectDataImage::TKelObjectDataImage(std::string name, ObjectKind kind,
                                         std::unique_ptr<imaging::TImageLib> layer)
    : TKelObjectDataCustom(std::move(name), kind), layer_(std::move(layer)) {}

void TKelObjectDataImage::Reset() {
  TKelObjectDataCustom::Reset();
  layer_->Reset();
}

bool TKelObjectDataImage::SaveState(base::ByteWriter& out) {
  layer_->SaveState(out);
  return true;
}

bool TKelObjectDataImage::LoadState(base::ByteReader& in) {
  layer_->LoadState(in);
  return true;
}

void TKelObjectDataImage::Advance(int32_t, int32_t ms) {
  layer_->Update(ms);
}

void TKelObjectDataImage::Draw(int32_t drawMask, bool fixedLayers) {
  if (layer_->State().at.priority >= kFixedPriority) {
    if (fixedLayers) layer_->Post(drawMask, 0, 0);
    return;
  }
  layer_->Post(drawMask, CameraX(), CameraY());
}

void TKelObjectDataImage::Hover(int32_t mask, int32_t x, int32_t y) {
  layer_->MouseMove(mask, x, y);
}

bool TKelObjectDataImage::SwapContents(TKelObjectDataCustom& other) {
  auto* image = dynamic_cast<TKelObjectDataImage*>(&other);
  if (image == nullptr) return false;
  std::swap(layer_, image->layer_);
  return true;
}

}  // namespace mavu::script
