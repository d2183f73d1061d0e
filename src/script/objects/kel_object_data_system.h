#pragma once

#include <string>

#include "script/objects/kel_object_data_custom.h"
#include "script/objects/system_shell.h"

namespace mavu::script {

// The system object (`TKelObjectDataSystem`, kind sys): its commands set the
// interpreter's state and post requests to the system object of the shell.
class TKelObjectDataSystem : public TKelObjectDataCustom {
 public:
  TKelObjectDataSystem(std::string name, SystemShell& shell)
      : TKelObjectDataCustom(std::move(name), ObjectKind::kSystem), shell_(shell) {}

  SystemShell& Shell() { return shell_; }

 private:
  SystemShell& shell_;
};

}  // namespace mavu::script
