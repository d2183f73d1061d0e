#include "script/objects/kel_object_data_custom.h"

#include "script/values/value.h"

namespace mavu::script {

TKelObjectDataCustom::TKelObjectDataCustom(std::string name, ObjectKind kind)
    : TKelObjectDataCustom(std::move(name), kind, KindGroup(kind)) {}

TKelObjectDataCustom::TKelObjectDataCustom(std::string name, ObjectKind kind, uint8_t group)
    : name_(std::move(name)), kind_(kind), group_(group), hash_(script::NameHash(name_)) {}

}  // namespace mavu::script
