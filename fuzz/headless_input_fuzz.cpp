#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/bytes.h"
#include "base/clock.h"
#include "shell/app/headless_input.h"
#include "shell/input/input.h"
#include "shell/platform/headless/headless_input_source.h"
#include "shell/platform/headless/scripted_dialogs.h"

// Arbitrary bytes as a headless run's input file; what parses is played
// through the input state with a key table that binds every code form, frame
// by frame, and its answers go to an exit choice shown at each of those
// frames.
namespace {

using namespace mavu;

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr uint64_t kFrameMs = 25;

std::array<resource::KeyBinding, resource::kKeyBindingCount> Bindings() {
  std::array<resource::KeyBinding, resource::kKeyBindingCount> bindings;
  const int32_t codes[] = {-1, -2, -6, -7, -8, 13, 27, 0x100 + 83, 0x200 + 13, 0xF00 + 17, 175};
  size_t i = 0;
  for (int32_t code : codes) bindings[i++] = {code, "keyclick"};
  return bindings;
}

const base::DialogDescription kExitChoice{.kind = base::DialogKind::kExitChoice,
                                          .buttons = {{"No", 0}, {"Cancel", -1}, {"Yes", 1}},
                                          .focus = 1,
                                          .closedValue = -1};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  shell::HeadlessInputScript script;
  try {
    script = shell::HeadlessInputScript::Parse({data, size});
  } catch (const base::FormatError&) {
    return 0;
  }
  base::SimulatedClock clock;
  shell::TInput input(clock, shell::KeyTable(Bindings()), kScreenWidth, kScreenHeight);
  const shell::HeadlessInputSource source(script);
  shell::ScriptedDialogs dialogs;
  for (const shell::InputEvent& event : script.Events()) {
    if (event.type == shell::InputEvent::Type::kAnswer) dialogs.AddAnswer(event.frame, event.value);
  }
  // Only the frames that hold events: the frame numbers may be far apart.
  int64_t previous = 0;
  for (const shell::InputEvent& event : script.Events()) {
    if (event.frame == previous) continue;
    clock.Advance(static_cast<uint64_t>(event.frame - previous) * kFrameMs);
    previous = event.frame;
    source.Feed(event.frame, input);
    input.Poll();
    if (input.PointerX() < 0 || input.PointerX() >= kScreenWidth || input.PointerY() < 0 ||
        input.PointerY() >= kScreenHeight) {
      __builtin_trap();
    }
    dialogs.SetFrame(event.frame);
    const std::optional<size_t> chosen = dialogs.ShowModal(kExitChoice);
    if (chosen && *chosen >= kExitChoice.buttons.size()) __builtin_trap();
  }
  return 0;
}
