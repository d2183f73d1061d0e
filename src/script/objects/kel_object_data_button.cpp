#include "script/objects/kel_object_data_button.h"

namespace mavu::script {

TKelObjectDataButton::TKelObjectDataButton(std::string name, ObjectKind kind,
                                           std::unique_ptr<imaging::TButtonLib> layer)
    : TKelObjectDataMessage(std::move(name), kind, std::move(layer)) {}

bool TKelObjectDataButton::SaveState(base::ByteWriter& out) {
  Button().SaveButtonState(out);
  return true;
}

bool TKelObjectDataButton::LoadState(base::ByteReader& in) {
  Button().LoadButtonState(in);
  return true;
}

std::optional<ButtonHit> TKelObjectDataButton::ButtonValues() const {
  const imaging::ImageLibState& state = layer_->State();
  return ButtonHit{Name(), state.userValue, state.tag, {}};
}

bool TKelObjectDataSysButton::Checked() const {
  return static_cast<const imaging::TButtonLib&>(*layer_).Checked();
}

void TKelObjectDataSysButton::SetEnabled(bool enabled) {
  if (enabled == layer_->Enabled()) return;
  enabled ? layer_->Enable() : layer_->Disable();
}

}  // namespace mavu::script
