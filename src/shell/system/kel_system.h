#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "base/dialog_service.h"
#include "imaging/argb8888_font.h"
#include "script/interpreter/kel_script.h"
#include "shell/display/display.h"
#include "shell/system/system_input.h"

namespace mavu::shell {

enum class SystemMode : uint8_t {
  kIdle = 0,
  kExitConfirm = 1,
  kExit = 2,
  kResetConfirm = 4,
  kRun = 5,
  kMemoEditor = 6,
  kMenu = 7,
  kBacklog = 8,
  kSaveScreen = 9,
  kLoadScreen = 10,
  kConfig = 11,
  kView = 12,
  kDebugStop = 13,
  kScriptError = 15,
};

// The platform's devices the system object drives; owned by the caller.
struct SystemDevices {
  base::Clock& clock;
  Display& display;
  SystemInput& input;
  base::DialogService& dialogs;
};

// The settings the frame loop reads.
struct SystemSettings {
  int32_t fpsLimit = 40;
  int32_t interlace = 0;
  std::string formCaption;  // CP932, with "%%%fps", "%%%limit" and "%%%cpu"
  std::string gameTitle;    // CP932; the caption while the template is empty
};

// The system object: owns the interpreter and runs it, and the player's
// requests around it, as one mode machine driven a frame at a time. A window
// calls Frame over and over and lets it pace itself; a headless run calls
// StepFrame with its simulated frame time. Both run the same frame.
class TKelSystem {
 public:
  static constexpr int64_t kMaxWaitMs = 100;
  static constexpr int64_t kSleepMargin = 3;
  static constexpr int64_t kMinSleepWait = 5;
  static constexpr int32_t kMaxElapsed = 500;
  static constexpr int32_t kFastSkipInterval = 10;
  static constexpr int kStopErrorLines = 6;

  TKelSystem(std::unique_ptr<script::TKelScript> script, SystemDevices devices,
             SystemSettings settings);
  ~TKelSystem();
  TKelSystem(const TKelSystem&) = delete;
  TKelSystem& operator=(const TKelSystem&) = delete;

  // Starts `fileName` at "@@TOP" in the player's screen mode.
  void StartScript(std::string_view fileName, const ScreenMode& screen);
  // One pass of the loop: 0 while the frame is not due (after sleeping
  // towards it), else the mode after the frame.
  uint8_t Frame();
  // A due frame with `elapsed` milliseconds, whatever the clock says.
  SystemMode StepFrame(int32_t elapsed);
  void Present(bool full, bool interlaceAllowed);
  void SetMode(SystemMode mode);
  // The Interlace setting: 1 presents through the back buffer.
  void SetInterlace(int32_t interlace) { settings_.interlace = interlace; }
  void ResetAndRun();

  SystemMode Mode() const { return mode_; }
  int32_t FramesInMode() const { return framesInMode_; }
  // The window caption as last set, UTF-8.
  const std::string& Caption() const { return caption_; }
  script::TKelScript& Script() { return *script_; }

 private:
  int32_t Interval() const;
  SystemMode DueFrame(int32_t elapsed, int64_t frameStart);
  void RunMode(int32_t elapsed);
  void RunStory(int32_t elapsed, bool view);
  void CarryOut(uint8_t request);
  void ConfirmExit();
  void ConfirmReset();
  void LeaveForIdle();
  void ShowStopped();
  void DrawStopText(std::string_view headline, bool withErrors);
  void SceneReturn();
  void QuickSave();
  void QuickLoad();
  void SelectLoad();
  void ReturnToStory();
  void UpdateCaption(int32_t elapsed, int64_t frameStart);
  std::string CaptionText(int32_t elapsed) const;
  void ShowCursor();
  bool Confirm(std::string_view textKey, std::string_view yesKey, std::string_view noKey);
  bool MoviePlaying() const;

  std::unique_ptr<script::TKelScript> script_;
  SystemDevices devices_;
  SystemSettings settings_;
  SystemMode mode_ = SystemMode::kIdle;
  int32_t framesInMode_ = 0;
  int64_t lastFrameTime_ = 0;
  int32_t accumulatedTime_ = 0;
  int32_t averageWork_ = 0;
  std::string caption_;
  imaging::TARGB8888Font stopFont_;
};

}  // namespace mavu::shell
