#pragma once

#include <string>
#include <string_view>

#include "script/objects/kel_object_data_custom.h"
#include "script/objects/system_shell.h"

namespace mavu::script {

// The extension object (`TKelObjectDataExtend`, kind ext): hands a text to
// whatever extension the shell carries.
class TKelObjectDataExtend : public TKelObjectDataCustom {
 public:
  TKelObjectDataExtend(std::string name, SystemShell& shell)
      : TKelObjectDataCustom(std::move(name), ObjectKind::kExtend), shell_(shell) {}

  // Keeps the text and raises the extension event with it.
  void Send(std::string_view text) {
    text_ = text;
    shell_.ExtensionEvent(text_);
  }
  void ResetExtension() { shell_.ExtensionReset(); }
  const std::string& Text() const { return text_; }

 private:
  SystemShell& shell_;
  std::string text_;
};

}  // namespace mavu::script
