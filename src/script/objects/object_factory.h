#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "imaging/layers/stage.h"
#include "script/interpreter/interpreter_services.h"
#include "script/objects/kel_object_data_custom.h"
#include "script/objects/system_shell.h"

namespace mavu::script {

// What the registry hands to the objects it creates: the parts of the
// interpreter and the shell that objects act on.
struct ObjectParts {
  imaging::Stage& stage;
  SystemShell& shell;
  SoundService& sound;
};

// A new object of the kind named (any letter case), not yet registered; null
// for an unknown kind name.
std::unique_ptr<TKelObjectDataCustom> CreateObjectOfKind(std::string_view kindName,
                                                         std::string name,
                                                         const ObjectParts& parts);

}  // namespace mavu::script
