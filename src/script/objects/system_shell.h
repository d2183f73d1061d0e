#pragma once

#include <cstdint>
#include <string_view>

namespace mavu::script {

// What the system and extension objects reach above the script library: the
// player's display settings, the version text the settings dialog shows, and
// the events of the extension object. The shell implements it;
// HeadlessSystemShell stands in for tests and headless runs.
class SystemShell {
 public:
  virtual ~SystemShell() = default;

  virtual int32_t FullScreenSetting() const = 0;
  virtual int32_t InterlaceSetting() const = 0;
  virtual void SetInterlaceSetting(int32_t value) = 0;
  virtual void SetVersionText(std::string_view text) = 0;

  // ext.s hands its text to the extension; ext.i asks it to reset.
  virtual void ExtensionEvent(std::string_view text) = 0;
  virtual void ExtensionReset() = 0;
};

}  // namespace mavu::script
