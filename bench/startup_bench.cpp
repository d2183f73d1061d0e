#include <benchmark/benchmark.h>

#include <memory>

#include "large_game.h"
#include "resource/data_tree.h"
#include "shell/app/game_app.h"
#include "shell/app/silent_media.h"
#include "shell/input/input.h"
#include "shell/platform/headless/headless_audio.h"
#include "shell/platform/headless/headless_display.h"
#include "shell/platform/headless/scripted_dialogs.h"
#include "shell/system/standard_dialogs.h"

// Start-up to the first frame of a game of 16 archives of 65,535 entries
// each, against mounting the same archives alone (the floor: reading the
// archives' indexes).
namespace {

using namespace mavu;

constexpr int kPacks = 16;

const LargeGame& TheGame() {
  static const LargeGame game(kPacks, {{"Startup.s", "@@TOP\n\\clk\n"}}, true);
  return game;
}

void BM_StartUpToFirstFrame(benchmark::State& state) {
  const LargeGame& game = TheGame();
  base::SimulatedClock clock;
  shell::HeadlessDisplay display;
  shell::TInput input(clock, shell::KeyTable(), 1, 1);
  shell::ScriptedDialogs answers;
  shell::StandardDialogs dialogs(answers);
  shell::SilentMedia media;
  shell::HeadlessAudio audio(clock);
  for (auto _ : state) {
    auto app = std::make_unique<shell::GameApp>(
        shell::PlatformDevices{clock, display, input, dialogs, audio, media}, game.Folder(),
        game.Folder());
    app->ReadGame();
    app->StartSound();
    app->CreateSystem();
    app->StartStory();
    clock.Advance(25);
    benchmark::DoNotOptimize(app->System().StepFrame(25));
    state.PauseTiming();  // closing the game is not part of its start
    app.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_MountArchivesAlone(benchmark::State& state) {
  const LargeGame& game = TheGame();
  for (auto _ : state) {
    auto tree = std::make_unique<resource::DataTree>();
    tree->SetProgramDirectory(game.Folder());
    if (tree->MountDataPacks("GameData\\") != kPacks) state.SkipWithError("cannot mount");
    state.PauseTiming();
    tree.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_MountArchivesAlone)->Unit(benchmark::kMillisecond);

}  // namespace
