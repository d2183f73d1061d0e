#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "script/interpreter/run_stack.h"
#include "script/interpreter/system_vocabulary.h"

namespace mavu::script {

// The objects that receive object commands, by name; an empty name is a free slot.
struct TScriptObjectScope {
  static constexpr int kSlots = 16;
  std::array<std::string, kSlots> names;

  void Clear() { names.fill({}); }
};

// The interpreter's run state (`TScriptModuleData`): everything a saved game
// must bring back to resume the script where it stood.
struct TScriptModuleData {
  static constexpr int kSavedScopes = 16;
  static constexpr int kSaveTitles = 4;
  static constexpr int32_t kDefaultCommandsPerFrame = 256;
  static constexpr int32_t kAllGroups = -1;
  // Indices of `texts`.
  static constexpr int kLoadLayout = 0;
  static constexpr int kSaveLayout = 1;
  static constexpr int kMenuLayout = 2;
  static constexpr int kBacklogLayout = 3;
  static constexpr int kSceneReturnLabel = 4;
  static constexpr int kTexts = 5;

  RunStack runStack;
  TScriptObjectScope scope;
  // Kept with the record; no command uses them.
  uint32_t scopeWord = 0;
  std::array<TScriptObjectScope, kSavedScopes> savedScopes;
  WaitState waitState = WaitState::kRunning;
  int32_t waitTime = 0;  // -1: until clicked
  int32_t clickSkipTime = 0;
  uint8_t waveChannel = 0;
  std::string jumpLabel;
  uint32_t lockFlags = lock::kAll;
  SkipMode mode = SkipMode::kOff;
  int32_t commandsPerFrame = kDefaultCommandsPerFrame;
  int32_t elapsedTime = 0;
  int32_t timeTarget = 0;
  int32_t soundTimeTarget = 0;
  uint8_t soundChannel = 0;
  std::array<std::string, kSaveTitles> saveTitles;
  int32_t updateMask = kAllGroups;
  int32_t drawMask = kAllGroups;
  std::array<std::string, kTexts> texts;
  bool sceneSkipAllowed = false;

  bool Locked(uint32_t bits) const { return (lockFlags & bits) != 0; }
};

}  // namespace mavu::script
