#pragma once

#include <cstdint>
#include <string_view>

// What the interpreter and the system object say to each other: the requests
// the interpreter posts, the input actions it maps, its skip modes, its wait
// states and the lock bits scripts set with sys.lk. The numbers are stored in
// save data and named in key bindings, so they are fixed.
namespace mavu::script {

enum class SystemRequest : uint8_t {
  kNone = 0,
  kExitNow = 1,
  kExit = 2,  // with confirmation
  kMenu = 3,
  kBacklog = 4,
  kScreenMode = 5,
  kText = 6,  // the memo editor
  kView = 7,
  kReset = 8,  // with confirmation
  kSaveScreen = 9,
  kLoadScreen = 10,
  kConfig = 11,
  kQuickSave = 12,
  kQuickLoad = 13,
  kSelectLoad = 14,
  kSceneReturn = 15,
  kDebugStop = 16,
};

enum class SystemAction : uint8_t {
  kNone = 0,
  kClick = 1,
  kKeyClick = 2,
  kSkipClick = 3,
  kMenu = 4,
  kLog = 5,
  kScreen = 6,
  kReset = 7,
  kExit = 8,
  kLoad = 9,
  kSave = 10,
  kView = 11,
  kConfig = 12,
  kText = 13,
  kAuto = 14,
  kSkip = 15,
  kLogSkip = 16,
  kSceneSkipLoad = 17,
  kSceneSkipNoLoad = 18,
  kQuickSave = 19,
  kQuickLoad = 20,
  kSelectLoad = 21,
  kSceneReturn = 22,
};

// The action a key binding names ("click", "sceneskipnoload" ...), letter case
// ignored; any other name is SystemAction::kNone.
SystemAction ActionFromName(std::string_view name);

enum class SkipMode : uint8_t {
  kOff = 0,
  kAuto = 1,
  kSkip = 2,
  kReadSkip = 3,  // stops at the first line not read before
  kSceneSkip = 4,
  kSceneSkipNoLoad = 5,  // the scene-skip animation is shown instead of the scene
};

enum class WaitState : uint8_t {
  kRunning = 0,
  kTimed = 1,       // wait,ms
  kClick = 2,       // clk
  kTime = 3,        // time: until the elapsed-time counter reaches a target
  kSoundTime = 4,   // sndt
  kMessage = 5,     // a message is being shown
  kMessageEnd = 6,  // a message waits at its end
  kButton = 7,      // btn
  kWave = 8,        // wav
  kMovie = 9,
  kEndAtOnce = 10,
  kForever = 11,
};

// The lock flags as one int32 (sys.lk): byte 0 in the low bits, byte 1 next.
// A set bit disables the action.
namespace lock {
inline constexpr uint32_t kScreen = 0x0001;
inline constexpr uint32_t kSave = 0x0002;  // the save screen and quick save
inline constexpr uint32_t kLoad = 0x0004;  // the load screen, quick load and select load
inline constexpr uint32_t kConfig = 0x0008;
inline constexpr uint32_t kLog = 0x0010;
inline constexpr uint32_t kView = 0x0020;
inline constexpr uint32_t kText = 0x0040;
inline constexpr uint32_t kAuto = 0x0080;
inline constexpr uint32_t kSkip = 0x0100;
inline constexpr uint32_t kSceneSkip = 0x0200;
inline constexpr uint32_t kMenu = 0x0400;
inline constexpr uint32_t kReset = 0x0800;
inline constexpr uint32_t kExit = 0x1000;
inline constexpr uint32_t kAll = 0xFFFFFFFF;
}  // namespace lock

// Saved games the engine names itself, in the save folder.
inline constexpr std::string_view kQuickSaveFile = "QuickSaveData.svd";
inline constexpr std::string_view kSelectSaveFile = "SelectSaveData.svd";
inline constexpr std::string_view kBackUpSaveFile = "BackUpSaveData.svd";
// Rotating quick saves: the stem, a number from 0, the extension.
inline constexpr std::string_view kQuickSaveStem = "QuickSaveData";
inline constexpr std::string_view kSaveExtension = ".svd";

}  // namespace mavu::script
