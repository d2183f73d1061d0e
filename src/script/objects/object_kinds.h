#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace mavu::script {

// The kinds of script object. The numbers are what objects report as their
// kind and key the command handlers; 24 is unused.
enum class ObjectKind : uint8_t {
  kSystem = 1,
  kGameData = 2,
  kSystemData = 3,
  kSound = 4,
  kDirectSound = 5,
  kImage = 6,
  kMessage = 7,
  kButton = 8,
  kEffect = 9,
  kSysCursor = 10,
  kCursor = 11,
  kLog = 12,
  kCamera = 13,
  kReplace = 14,
  kPath = 15,
  kDirectShow = 16,
  kSysImage = 17,
  kSysButton = 18,
  kFile = 19,
  kTcp = 20,
  kDialog = 21,
  kSkipLog = 22,
  kFileLog = 23,
  kMath = 25,
  kExtend = 26,
};

constexpr uint8_t KindNumber(ObjectKind kind) {
  return static_cast<uint8_t>(kind);
}

// A kind as declarations name it, with the group its objects broadcast in
// (0 for kinds that are never broadcast to).
struct ObjectKindInfo {
  std::string_view name;
  ObjectKind kind;
  uint8_t group;
};

// The kind of a kind name ("img", any letter case); nothing for unknown names.
std::optional<ObjectKindInfo> FindObjectKind(std::string_view kindName);
uint8_t KindGroup(ObjectKind kind);

}  // namespace mavu::script
