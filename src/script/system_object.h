#pragma once

#include <string>

#include "script/kel_object_data.h"
#include "script/system_shell.h"

namespace mavu::script {

// The system object (`TKelObjectDataSystem`, kind sys): its commands set the
// interpreter's state and post requests to the system object of the shell.
class TKelObjectDataSystem : public TKelObjectDataCustom {
 public:
  TKelObjectDataSystem(std::string name, TSystemShell& shell)
      : TKelObjectDataCustom(std::move(name), ObjectKind::System), shell_(shell) {}

  TSystemShell& Shell() { return shell_; }

 private:
  TSystemShell& shell_;
};

}  // namespace mavu::script
