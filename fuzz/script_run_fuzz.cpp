#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "base/error_log.h"
#include "fuzz_game_folder.h"
#include "imaging/layers/stage.h"
#include "resource/data_tree.h"
#include "script/interpreter/kel_script.h"
#include "shell/input/input.h"
#include "support/mounted_game.h"
#include "support/script/fake_object_registry.h"
#include "support/script/recording_services.h"

// The input is a main script and a second script file, separated by
// "\xFE\xFE\xFE", packed and mounted as the game's data. The interpreter runs the main script
// for a number of frames with clicks and key actions between them, the error
// flag cleared after every frame as the system object would, so that control
// flow, jumps, calls, waits and the skip modes meet arbitrary scripts.
namespace {

using namespace mavu;
using fuzz::GamePath;
using fuzz::TakePart;

constexpr int kFrames = 16;
constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr int32_t kFrameMs = 25;
constexpr const char* kActions[] = {"", "click", "skip", "", "auto", "keyclick", "menu", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string mainScript(TakePart(rest));
  const std::string otherScript(TakePart(rest));
  const test::MountedGame game({{"main.s", mainScript}, {"other.s", otherScript}});
  base::TheErrorLog().ClearErrors();
  base::TheErrorLog().ClearErrorFlag();

  script::RecordingServices services;
  shell::TInput input(services.clock, shell::KeyTable(), kScreenWidth, kScreenHeight);
  imaging::Stage stage;
  script::TKelScript interpreter(
      script::InterpreterServices{input, services, services, services, services.clock}, stage,
      std::make_unique<script::test::FakeObjectRegistry>(), GamePath() / "SaveData", 0);
  if (!interpreter.Initialize()) std::abort();
  interpreter.Module().lockFlags = 0;
  interpreter.Reader().OpenScript("main.s", true);
  for (int frame = 0; frame < kFrames; ++frame) {
    input.InjectAction(kActions[frame % std::size(kActions)]);
    input.Poll();
    interpreter.UpdateFrame(kFrameMs, true);
    if (frame % 3 == 2) interpreter.Click(script::kNoPosition, script::kNoPosition, false);
    base::TheErrorLog().ClearErrorFlag();
  }
  return 0;
}
