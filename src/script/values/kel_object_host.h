#pragma once

#include <string_view>

#include "script/values/kel_object.h"

namespace mavu::script {

// The object registry as the variable tables see it. Object variables create
// their objects through it when they grow and free them when they shrink or
// go away; the table stream finds objects by name to write their state and
// creates them again when it is read. The interpreter implements it.
class KelObjectHost {
 public:
  virtual ~KelObjectHost() = default;

  // Creates an object of the kind (a kind name such as "img", any letter case)
  // under `name` and registers it. Null when the kind is unknown or the name
  // is taken.
  virtual KelObject* CreateObject(std::string_view kindName, std::string_view name) = 0;
  // Frees the object of that name; false when there is none.
  virtual bool FreeObject(std::string_view name) = 0;
  // The object of that name (letter case ignored), or null.
  virtual KelObject* FindObject(std::string_view name) = 0;
};

}  // namespace mavu::script
