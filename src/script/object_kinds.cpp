#include "script/object_kinds.h"

#include <array>

#include "base/cp932.h"

namespace mavu::script {
namespace {

constexpr std::array<TObjectKindInfo, 25> kKinds = {{
    {"sys", ObjectKind::System, 0},       {"dat", ObjectKind::GameData, 0},
    {"sdat", ObjectKind::SystemData, 0},  {"snd", ObjectKind::Sound, 0},
    {"dsnd", ObjectKind::DirectSound, 0}, {"img", ObjectKind::Image, 1},
    {"msg", ObjectKind::Message, 2},      {"btn", ObjectKind::Button, 3},
    {"eff", ObjectKind::Effect, 4},       {"scsr", ObjectKind::SysCursor, 5},
    {"csr", ObjectKind::Cursor, 6},       {"log", ObjectKind::Log, 0},
    {"cam", ObjectKind::Camera, 10},      {"rep", ObjectKind::Replace, 0},
    {"path", ObjectKind::Path, 0},        {"show", ObjectKind::DirectShow, 11},
    {"simg", ObjectKind::SysImage, 7},    {"sbtn", ObjectKind::SysButton, 8},
    {"file", ObjectKind::File, 0},        {"tcp", ObjectKind::Tcp, 12},
    {"dlg", ObjectKind::Dialog, 0},       {"slog", ObjectKind::SkipLog, 0},
    {"flog", ObjectKind::FileLog, 0},     {"math", ObjectKind::Math, 0},
    {"ext", ObjectKind::Extend, 9},
}};

}  // namespace

std::optional<TObjectKindInfo> FindObjectKind(std::string_view kindName) {
  const std::string lower = base::LowerName(kindName);
  for (const TObjectKindInfo& info : kKinds) {
    if (info.name == lower) return info;
  }
  return std::nullopt;
}

uint8_t KindGroup(ObjectKind kind) {
  for (const TObjectKindInfo& info : kKinds) {
    if (info.kind == kind) return info.group;
  }
  return 0;
}

}  // namespace mavu::script
