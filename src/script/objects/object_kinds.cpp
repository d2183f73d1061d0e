#include "script/objects/object_kinds.h"

#include <array>

#include "base/cp932.h"

namespace mavu::script {
namespace {

constexpr std::array<ObjectKindInfo, 25> kKinds = {{
    {"sys", ObjectKind::kSystem, 0},       {"dat", ObjectKind::kGameData, 0},
    {"sdat", ObjectKind::kSystemData, 0},  {"snd", ObjectKind::kSound, 0},
    {"dsnd", ObjectKind::kDirectSound, 0}, {"img", ObjectKind::kImage, 1},
    {"msg", ObjectKind::kMessage, 2},      {"btn", ObjectKind::kButton, 3},
    {"eff", ObjectKind::kEffect, 4},       {"scsr", ObjectKind::kSysCursor, 5},
    {"csr", ObjectKind::kCursor, 6},       {"log", ObjectKind::kLog, 0},
    {"cam", ObjectKind::kCamera, 10},      {"rep", ObjectKind::kReplace, 0},
    {"path", ObjectKind::kPath, 0},        {"show", ObjectKind::kDirectShow, 11},
    {"simg", ObjectKind::kSysImage, 7},    {"sbtn", ObjectKind::kSysButton, 8},
    {"file", ObjectKind::kFile, 0},        {"tcp", ObjectKind::kTcp, 12},
    {"dlg", ObjectKind::kDialog, 0},       {"slog", ObjectKind::kSkipLog, 0},
    {"flog", ObjectKind::kFileLog, 0},     {"math", ObjectKind::kMath, 0},
    {"ext", ObjectKind::kExtend, 9},
}};

}  // namespace

std::optional<ObjectKindInfo> FindObjectKind(std::string_view kindName) {
  const std::string lower = base::LowerName(kindName);
  for (const ObjectKindInfo& info : kKinds) {
    if (info.name == lower) return info;
  }
  return std::nullopt;
}

uint8_t KindGroup(ObjectKind kind) {
  for (const ObjectKindInfo& info : kKinds) {
    if (info.kind == kind) return info.group;
  }
  return 0;
}

}  // namespace mavu::script
