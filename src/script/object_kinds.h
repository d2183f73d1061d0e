#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace mavu::script {

// The kinds of script object. The numbers are what objects report as their
// kind and key the command handlers; 24 is unused.
enum class ObjectKind : uint8_t {
  System = 1,
  GameData = 2,
  SystemData = 3,
  Sound = 4,
  DirectSound = 5,
  Image = 6,
  Message = 7,
  Button = 8,
  Effect = 9,
  SysCursor = 10,
  Cursor = 11,
  Log = 12,
  Camera = 13,
  Replace = 14,
  Path = 15,
  DirectShow = 16,
  SysImage = 17,
  SysButton = 18,
  File = 19,
  Tcp = 20,
  Dialog = 21,
  SkipLog = 22,
  FileLog = 23,
  Math = 25,
  Extend = 26,
};

constexpr uint8_t KindNumber(ObjectKind kind) {
  return static_cast<uint8_t>(kind);
}

// A kind as declarations name it, with the group its objects broadcast in
// (0 for kinds that are never broadcast to).
struct TObjectKindInfo {
  std::string_view name;
  ObjectKind kind;
  uint8_t group;
};

// The kind of a kind name ("img", any letter case); nothing for unknown names.
std::optional<TObjectKindInfo> FindObjectKind(std::string_view kindName);
uint8_t KindGroup(ObjectKind kind);

}  // namespace mavu::script
