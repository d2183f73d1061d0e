#include "shell/input/pad_config.h"

#include <algorithm>
#include <string>

#include "resource/setting_values.h"

namespace mavu::shell {

PadConfig ReadPadConfig(const resource::SettingsList& list) {
  PadConfig config;
  for (int n = 1; n <= PadConfig::kButtons; ++n) {
    config.Buttons[n - 1] = resource::ReadInteger(list, "Button" + std::to_string(n), 0);
  }
  config.Speed =
      std::clamp(resource::ReadInteger(list, "Speed", config.Speed), 0, PadConfig::kMaxSpeed);
  config.DeadZone = std::clamp(resource::ReadInteger(list, "DeadZone", config.DeadZone), 0,
                               PadConfig::kMaxDeadZone);
  return config;
}

PadConfig ReadPadConfig(const std::filesystem::path& path) {
  return ReadPadConfig(resource::SettingsList::Load(path).value_or(resource::SettingsList()));
}

}  // namespace mavu::shell
