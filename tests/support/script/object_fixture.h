#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/layers/stage.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_manager.h"
#include "support/script/recording_services.h"
#include "support/script/recording_system_shell.h"
#include "support/script/script_game.h"
#include "support/temp_dir.h"

namespace mavu::script::test {

// An interpreter with the real object registry, the general and object
// commands, headless services and a headless shell. Scripts come from a pack
// mounted in the data tree; the error log writes into a temporary folder.
class ObjectTest : public ::testing::Test {
 protected:
  ObjectTest();
  ~ObjectTest() override;

  // Mounts "main.s" holding "@@start" and the lines (plus other files), runs
  // it from there for a few frames, and tells whether it ran without error.
  bool Run(const std::string& lines, std::map<std::string, std::string> files = {});
  void Frames(int count);

  int32_t Int(std::string_view expression);
  std::string Str(std::string_view expression);
  // The messages logged since the test began, as UTF-8 (the position cut off).
  std::vector<std::string> Messages() const;
  void ClearError();

  mavu::test::TempDir folder_;
  RecordingServices services_;
  RecordingSystemShell shell_;
  imaging::Stage stage_;
  TKelObjectManager* objects_ = nullptr;
  std::optional<ScriptGame> game_;
  std::unique_ptr<TKelScript> script_;
};

}  // namespace mavu::script::test
