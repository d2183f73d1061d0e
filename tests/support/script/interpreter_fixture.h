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
#include "support/script/fake_object_registry.h"
#include "support/script/recording_services.h"
#include "support/script/script_game.h"
#include "support/temp_dir.h"

namespace mavu::script::test {

// An interpreter over headless services and a fake object registry, with the
// error log writing into a temporary folder. Scripts come from a pack mounted
// in the data tree. The test command "cal" evaluates its arguments, so that
// scripts can leave traces in variables.
class InterpreterTest : public ::testing::Test {
 protected:
  static constexpr int32_t kFrameMs = 25;

  InterpreterTest();
  ~InterpreterTest() override;

  void Mount(const std::map<std::string, std::string>& files);
  // Mounts a single script "main.s" and starts it at its label "@@start".
  void Start(const std::string& script);
  void Frame(int32_t ms = kFrameMs, bool input = true) { script_->UpdateFrame(ms, input); }
  void Frames(int count, int32_t ms = kFrameMs);

  int32_t Int(std::string_view expression);
  std::string Str(std::string_view expression);
  void DeclareGlobal(std::string_view type, std::string_view name);
  // A string global "t" that scripts append to with \cal,t=t+"x".
  std::string Trace() { return Str("t"); }

  // The messages logged since the test began, as UTF-8 (the position prefix cut off).
  std::vector<std::string> Messages() const;
  // The full error lines, as CP932.
  const std::vector<std::string>& ErrorLines() const;
  // What the system object does after showing an error.
  void ClearError();

  mavu::test::TempDir folder_;
  RecordingServices services_;
  imaging::Stage stage_;
  FakeObjectRegistry* objects_ = nullptr;
  std::optional<ScriptGame> game_;
  std::unique_ptr<TKelScript> script_;
};

}  // namespace mavu::script::test
