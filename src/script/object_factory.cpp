#include "script/object_factory.h"

#include "script/extend_object.h"
#include "script/file_object.h"
#include "script/log_object.h"
#include "script/system_object.h"

namespace mavu::script {

std::unique_ptr<TKelObjectDataCustom> CreateObjectOfKind(std::string_view kindName,
                                                         std::string name,
                                                         const TObjectParts& parts) {
  const std::optional<TObjectKindInfo> info = FindObjectKind(kindName);
  if (!info) return nullptr;
  switch (info->kind) {
    case ObjectKind::System:
      return std::make_unique<TKelObjectDataSystem>(std::move(name), parts.shell);
    case ObjectKind::Log:
      return std::make_unique<TKelObjectDataLog>(std::move(name), parts.backlog);
    case ObjectKind::File:
      return std::make_unique<TKelObjectDataFile>(std::move(name));
    case ObjectKind::Extend:
      return std::make_unique<TKelObjectDataExtend>(std::move(name), parts.shell);
    default:
      // Kinds that act only on parts of the interpreter carry nothing more.
      return std::make_unique<TKelObjectDataCustom>(std::move(name), info->kind, info->group);
  }
}

}  // namespace mavu::script
