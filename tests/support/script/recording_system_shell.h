#pragma once

#include <string>
#include <vector>

#include "script/objects/system_shell.h"

namespace mavu::script {

// The shell side of the system objects as plain state: settings a headless run
// or a test sets, and a record of what the scripts asked for.
class RecordingSystemShell : public SystemShell {
 public:
  int32_t FullScreenSetting() const override { return fullScreen; }
  int32_t InterlaceSetting() const override { return interlace; }
  void SetInterlaceSetting(int32_t value) override { interlace = value; }
  void SetVersionText(std::string_view text) override { versionText = text; }
  void ExtensionEvent(std::string_view text) override { extensionTexts.emplace_back(text); }
  void ExtensionReset() override { ++extensionResets; }

  int32_t fullScreen = 0;
  int32_t interlace = 0;
  std::string versionText;
  std::vector<std::string> extensionTexts;
  int extensionResets = 0;
};

}  // namespace mavu::script
