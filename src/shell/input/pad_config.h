#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "resource/settings_list.h"

namespace mavu::shell {

// Opened directly below the program folder, not through the data tree.
inline constexpr std::string_view kPadConfigPath = "GameData\\System\\config_pad.txt";

// What the game pads do: "Button1" ... "Button16", "Speed" and "DeadZone".
struct PadConfig {
  static constexpr int kButtons = 16;
  static constexpr int32_t kMaxSpeed = 10000;
  static constexpr int32_t kMaxDeadZone = 100;

  // Codes of a pad button; 0 and other negative codes do nothing. A positive
  // code is a virtual key in its low byte, held with the modifier bits.
  static constexpr int32_t kLeftButton = -1;
  static constexpr int32_t kRightButton = -2;
  static constexpr int32_t kMiddleButton = -3;
  static constexpr int32_t kWheelForward = -6;  // one wheel step
  static constexpr int32_t kWheelBackward = -7;
  static constexpr int32_t kKeyMask = 0xFF;
  static constexpr int32_t kCtrlBit = 0x100;
  static constexpr int32_t kAltBit = 0x200;
  static constexpr int32_t kShiftBit = 0x400;

  std::array<int32_t, kButtons> Buttons{};
  int32_t Speed = 400;    // pixels per second at full deflection, 0 ... kMaxSpeed
  int32_t DeadZone = 10;  // percent of the axis, 0 ... kMaxDeadZone

  bool operator==(const PadConfig&) const = default;
};

// Every key of `list`: a missing or malformed value gives its default, and
// Speed and DeadZone are brought into their ranges.
PadConfig ReadPadConfig(const resource::SettingsList& list);
// A missing or unreadable file gives the defaults.
PadConfig ReadPadConfig(const std::filesystem::path& path);

}  // namespace mavu::shell
