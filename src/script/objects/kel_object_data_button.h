#pragma once

#include <memory>
#include <string>

#include "imaging/layers/button_lib.h"
#include "script/objects/kel_object_data_message.h"

namespace mavu::script {

// A button object (`TKelObjectDataButton`, kind btn): a button window whose
// hit test is its click, and whose text and integer value a button wait
// reports. `TKelObjectDataSysButton` (kind sbtn) is a system button: its text
// names a system action, and the interpreter checks and enables it.
class TKelObjectDataButton : public TKelObjectDataMessage {
 public:
  TKelObjectDataButton(std::string name, ObjectKind kind,
                       std::unique_ptr<imaging::TButtonLib> layer);

  imaging::TButtonLib& Button() { return static_cast<imaging::TButtonLib&>(*layer_); }

  bool SaveState(base::ByteWriter& out) override;
  bool LoadState(base::ByteReader& in) override;
  std::optional<ButtonHit> ButtonValues() const override;
};

class TKelObjectDataSysButton : public TKelObjectDataButton, public SystemButton {
 public:
  TKelObjectDataSysButton(std::string name, std::unique_ptr<imaging::TButtonLib> layer)
      : TKelObjectDataButton(std::move(name), ObjectKind::kSysButton, std::move(layer)) {}

  SystemButton* AsSystemButton() override { return this; }
  std::string ActionText() const override { return layer_->State().tag; }
  bool Checked() const override;
  void SetChecked(bool checked) override { Button().SetChecked(checked); }
  void SetEnabled(bool enabled) override;
};

}  // namespace mavu::script
