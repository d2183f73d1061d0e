#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "script/interpreter/interpreter_services.h"
#include "script/objects/system_shell.h"

namespace mavu::shell {

// What `mavu --headless` gives the engine in place of a sound device and a
// movie decoder: silent sound channels, no movie, and the notices kept for the
// runner to print. Time is simulated; input and dialogs come from outside.
class HeadlessServices : public script::SoundService,
                         public script::MoviePlayer,
                         public script::InterpreterNotices {
 public:
  static constexpr int32_t kChannels = 8;

  script::InterpreterServices Services(script::InputState& input) {
    return {input, *this, *this, *this, clock};
  }

  // SoundService: every channel is stopped.
  int32_t ChannelCount() const override { return kChannels; }
  int32_t DirectChannelCount() const override { return kChannels; }
  int32_t ChannelState(int32_t) const override { return kStopped; }
  int32_t PositionMs(int32_t) const override { return 0; }
  bool VoicePlaying() const override { return false; }
  void FadeOut(int32_t, int32_t) override {}
  void ResetSounds() override {}

  // MoviePlayer: no movie ever plays.
  int32_t MovieState() const override { return 0; }
  int32_t MoviePlayedMs() const override { return 0; }
  bool InMovieRect(int32_t, int32_t) const override { return false; }
  void StopMovie() override {}
  void DrawMovie() override {}
  void ResetMovie() override {}

  // InterpreterNotices
  void ShowWarning(const std::string& text) override { warnings.push_back(text); }
  void ShowKeyedNotice(std::string_view textKey, std::string_view) override {
    notices.emplace_back(textKey);
  }

  base::SimulatedClock clock;
  std::vector<std::string> warnings;
  std::vector<std::string> notices;  // message-table keys
};

// The player's display settings as the system object reads and changes them;
// the extension has nothing to react to a headless run.
class HeadlessSystemShell : public script::SystemShell {
 public:
  int32_t FullScreenSetting() const override { return fullScreen; }
  int32_t InterlaceSetting() const override { return interlace; }
  void SetInterlaceSetting(int32_t value) override { interlace = value; }
  void SetVersionText(std::string_view) override {}
  void ExtensionEvent(std::string_view) override {}
  void ExtensionReset() override {}

  int32_t fullScreen = 0;
  int32_t interlace = 0;
};

}  // namespace mavu::shell
