#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "base/error_log.h"
#include "fake_object_registry.h"
#include "resource/data_tree.h"
#include "script/headless_services.h"
#include "script/kel_script.h"

// The input is a main script and a second script file, separated by
// "\xFE\xFE\xFE", loaded as loose files. The interpreter runs the main script
// for a number of frames with clicks and key actions between them, the error
// flag cleared after every frame as the system object would, so that control
// flow, jumps, calls, waits and the skip modes meet arbitrary scripts.
namespace {

using namespace mavu;

constexpr std::string_view kPartSeparator = "\xFE\xFE\xFE";
constexpr int kFrames = 16;
constexpr int32_t kFrameMs = 25;
constexpr const char* kActions[] = {"", "click", "skip", "", "auto", "keyclick", "menu", ""};

class GameFolder {
 public:
  GameFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mavu-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
    resource::DataTree().SetProgramDirectory(path_);
    base::ErrorLog().SetDirectory(path_);
  }
  ~GameFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const std::filesystem::path& GamePath() {
  static const GameFolder folder;
  return folder.Path();
}

std::string_view TakePart(std::string_view& rest) {
  size_t end = rest.find(kPartSeparator);
  std::string_view part = rest.substr(0, end);
  rest =
      end == std::string_view::npos ? std::string_view() : rest.substr(end + kPartSeparator.size());
  return part;
}

void WriteScript(const char* name, std::string_view text) {
  std::ofstream out(GamePath() / name, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  WriteScript("main.s", TakePart(rest));
  WriteScript("other.s", TakePart(rest));
  base::ErrorLog().ClearErrors();
  base::ErrorLog().ClearErrorFlag();

  script::THeadlessServices services;
  services.channelStates[1] = script::TSoundService::kPlaying;
  script::TKelScript interpreter(services.Services(),
                                 std::make_unique<script::test::FakeObjectRegistry>(),
                                 GamePath() / "SaveData", 0);
  if (!interpreter.Initialize()) std::abort();
  interpreter.Module().lockFlags = 0;
  interpreter.Reader().OpenScript("main.s", true);
  for (int frame = 0; frame < kFrames; ++frame) {
    services.action = kActions[frame % std::size(kActions)];
    interpreter.UpdateFrame(kFrameMs, true);
    if (frame % 3 == 2) interpreter.Click(script::kNoPosition, script::kNoPosition, false);
    base::ErrorLog().ClearErrorFlag();
  }
  return 0;
}
