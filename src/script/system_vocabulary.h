#pragma once

#include <cstdint>
#include <string_view>

// What the interpreter and the system object say to each other: the requests
// the interpreter posts, the input actions it maps, its skip modes, its wait
// states and the lock bits scripts set with sys.lk. The numbers are stored in
// save data and named in key bindings, so they are fixed.
namespace mavu::script {

enum class SystemRequest : uint8_t {
  None = 0,
  ExitNow = 1,
  Exit = 2,  // with confirmation
  Menu = 3,
  Backlog = 4,
  ScreenMode = 5,
  Text = 6,  // the memo editor
  View = 7,
  Reset = 8,  // with confirmation
  SaveScreen = 9,
  LoadScreen = 10,
  Config = 11,
  QuickSave = 12,
  QuickLoad = 13,
  SelectLoad = 14,
  SceneReturn = 15,
};

enum class SystemAction : uint8_t {
  None = 0,
  Click = 1,
  KeyClick = 2,
  SkipClick = 3,
  Menu = 4,
  Log = 5,
  Screen = 6,
  Reset = 7,
  Exit = 8,
  Load = 9,
  Save = 10,
  View = 11,
  Config = 12,
  Text = 13,
  Auto = 14,
  Skip = 15,
  LogSkip = 16,
  SceneSkipLoad = 17,
  SceneSkipNoLoad = 18,
  QuickSave = 19,
  QuickLoad = 20,
  SelectLoad = 21,
  SceneReturn = 22,
};

// The action a key binding names ("click", "sceneskipnoload" ...), letter case
// ignored; any other name is SystemAction::None.
SystemAction ActionFromName(std::string_view name);

enum class SkipMode : uint8_t {
  Off = 0,
  Auto = 1,
  Skip = 2,
  ReadSkip = 3,  // stops at the first line not read before
  SceneSkip = 4,
  SceneSkipNoLoad = 5,  // the scene-skip animation is shown instead of the scene
};

enum class WaitState : uint8_t {
  Running = 0,
  Timed = 1,       // wait,ms
  Click = 2,       // clk
  Time = 3,        // time: until the elapsed-time counter reaches a target
  SoundTime = 4,   // sndt
  Message = 5,     // a message is being shown
  MessageEnd = 6,  // a message waits at its end
  Button = 7,      // btn
  Wave = 8,        // wav
  Movie = 9,
  EndAtOnce = 10,
  Forever = 11,
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

}  // namespace mavu::script
