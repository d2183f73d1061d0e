#include "script/objects/object_factory.h"

#include "script/objects/kel_object_data_button.h"
#include "script/objects/kel_object_data_extend.h"
#include "script/objects/kel_object_data_file.h"
#include "script/objects/kel_object_data_log.h"
#include "script/objects/kel_object_data_sound.h"
#include "script/objects/kel_object_data_system.h"

namespace mavu::script {

std::unique_ptr<TKelObjectDataCustom> CreateObjectOfKind(std::string_view kindName,
                                                         std::string name,
                                                         const ObjectParts& parts) {
  const std::optional<ObjectKindInfo> info = FindObjectKind(kindName);
  if (!info) return nullptr;
  imaging::LayerContext& context = parts.stage.Context();
  switch (info->kind) {
    case ObjectKind::kSystem:
      return std::make_unique<TKelObjectDataSystem>(std::move(name), parts.shell);
    case ObjectKind::kLog:
      return std::make_unique<TKelObjectDataLog>(std::move(name), parts.stage.Backlog());
    case ObjectKind::kImage:
      return std::make_unique<TKelObjectDataImage>(std::move(name), ObjectKind::kImage,
                                                   std::make_unique<imaging::TImageLib>(context));
    case ObjectKind::kSysImage:
      return std::make_unique<TKelObjectDataSysImage>(
          std::move(name), std::make_unique<imaging::TImageLib>(context));
    case ObjectKind::kMessage:
      return std::make_unique<TKelObjectDataMessage>(
          std::move(name), ObjectKind::kMessage, std::make_unique<imaging::TMessageLib>(context));
    case ObjectKind::kButton:
      return std::make_unique<TKelObjectDataButton>(std::move(name), ObjectKind::kButton,
                                                    std::make_unique<imaging::TButtonLib>(context));
    case ObjectKind::kSysButton:
      return std::make_unique<TKelObjectDataSysButton>(
          std::move(name), std::make_unique<imaging::TButtonLib>(context));
    case ObjectKind::kFile:
      return std::make_unique<TKelObjectDataFile>(std::move(name));
    case ObjectKind::kSound:
      return std::make_unique<TKelObjectDataSound>(std::move(name), parts.sound);
    case ObjectKind::kDirectSound:
      return std::make_unique<TKelObjectDataDirectSound>(std::move(name), parts.sound);
    case ObjectKind::kExtend:
      return std::make_unique<TKelObjectDataExtend>(std::move(name), parts.shell);
    default:
      // Kinds that act only on parts of the interpreter carry nothing more.
      return std::make_unique<TKelObjectDataCustom>(std::move(name), info->kind, info->group);
  }
}

}  // namespace mavu::script
