#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <lua.hpp>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/error_log.h"
#include "imaging/layers/stage.h"
#include "resource/data_tree.h"
#include "resource/pack_builder.h"
#include "script/commands/general_commands.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_manager.h"
#include "script/objects/object_commands.h"
#include "shell/input/input.h"
#include "support/script/recording_services.h"
#include "support/script/recording_system_shell.h"

// Whole-interpreter throughput: commands executed per second through
// UpdateFrame, with the real dispatcher, evaluator and object registry.
namespace {

using namespace mavu;

constexpr int kLoopCount = 100000;
constexpr int kSkipLines = 100000;
constexpr int32_t kFrameMs = 25;

std::string LoopScript() {
  return "@@start\r\n\\gvar,int,i,s,t\r\n\\scp\\run,100000\r\n"
         "\\for,i=0,i<" +
         std::to_string(kLoopCount) +
         ",i=i+1\r\n"
         "\\cal,s=s+i*3,t=(s%7)+(i/2)\r\n\\next\r\n";
}

// A scenario-sized script of commands that skip mode passes over quickly:
// waits, arithmetic and labels.
std::string SkipScript() {
  std::string text = "@@start\r\n\\gvar,int,n\r\n";
  for (int i = 0; i < kSkipLines; ++i) {
    if (i % 50 == 0) text += "@@Scene" + std::to_string(i / 50) + "\r\n";
    text += (i % 2 == 0) ? "\\wait,100\r\n" : "\\cal,n=n+1\r\n";
  }
  return text;
}

// A game folder holding both scripts, mounted in the process-wide data tree,
// and one interpreter over it.
class BenchInterpreter {
 public:
  BenchInterpreter() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mavu-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    folder_ = pattern;
    resource::PackBuilder builder;
    AddScript(builder, "loop.s", LoopScript());
    AddScript(builder, "skip.s", SkipScript());
    std::filesystem::create_directories(folder_ / "GameData");
    if (!builder.WriteFiles(folder_ / "GameData" / "data0")) throw std::runtime_error("pack");
    auto& tree = resource::TheDataTree();
    tree.SetProgramDirectory(folder_);
    if (tree.MountDataPacks("GameData\\") != 1) throw std::runtime_error("mount");
    base::TheErrorLog().SetDirectory(folder_);
    auto registry =
        std::make_unique<script::TKelObjectManager>(script::ObjectParts{stage_, shell_, services_});
    script_ = std::make_unique<script::TKelScript>(
        script::InterpreterServices{input_, services_, services_, services_, services_.clock},
        stage_, std::move(registry), folder_ / "SaveData", 0x1234);
    script::RegisterGeneralCommands(script_->Commands());
    script::RegisterObjectCommands(script_->Commands());
    if (!script_->Initialize()) throw std::runtime_error("interpreter");
  }
  ~BenchInterpreter() {
    script_.reset();
    resource::TheDataTree().UnmountDataPacks();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  // Runs the script from its start until it has passed its last line.
  void RunToEnd(const std::string& file, script::SkipMode mode) {
    script_->Reset();
    script_->SetMode(mode);
    script_->ExecuteLine("\\go,@@start,\"" + file + "\"");
    while (!script_->Reader().AtEnd()) script_->UpdateFrame(kFrameMs, true);
    if (base::TheErrorLog().ErrorFlag()) throw std::runtime_error("script error in " + file);
  }

  int32_t Integer(const std::string& expression) { return script_->Evaluate(expression).integer; }

 private:
  static void AddScript(resource::PackBuilder& builder, const std::string& name,
                        const std::string& text) {
    if (!builder.Add(name, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}))
      throw std::runtime_error("cannot add " + name);
  }

  std::filesystem::path folder_;
  script::RecordingServices services_;
  shell::TInput input_{services_.clock, shell::KeyTable(), 800, 600};
  script::RecordingSystemShell shell_;
  imaging::Stage stage_;
  std::unique_ptr<script::TKelScript> script_;
};

BenchInterpreter& Interpreter() {
  static BenchInterpreter interpreter;
  return interpreter;
}

// Two commands per iteration: the \cal and the \next.
void BM_ForLoopOfCal(benchmark::State& state) {
  for (auto _ : state) Interpreter().RunToEnd("loop.s", script::SkipMode::kOff);
  if (Interpreter().Integer("i") != kLoopCount) state.SkipWithError("the loop did not finish");
  state.SetItemsProcessed(state.iterations() * kLoopCount * 2);
}

void BM_SkipModePassOver(benchmark::State& state) {
  for (auto _ : state) Interpreter().RunToEnd("skip.s", script::SkipMode::kSkip);
  if (Interpreter().Integer("n") != kSkipLines / 2) state.SkipWithError("lines were not run");
  state.SetItemsProcessed(state.iterations() * kSkipLines);
}

// The peer: the same loop in Lua 5.4 over global variables, as the script's
// are, counted as the same two commands per iteration.
void BM_LuaForLoop(benchmark::State& state) {
  lua_State* lua = luaL_newstate();
  luaL_openlibs(lua);
  const std::string loop =
      "s, t, i = 0, 0, 0\n"
      "while i < " +
      std::to_string(kLoopCount) +
      " do\n"
      "  s = s + i * 3\n"
      "  t = (s % 7) + (i // 2)\n"
      "  i = i + 1\n"
      "end\n";
  if (luaL_loadstring(lua, loop.c_str()) != LUA_OK)
    state.SkipWithError("the Lua loop did not compile");
  const int chunk = luaL_ref(lua, LUA_REGISTRYINDEX);
  for (auto _ : state) {
    lua_rawgeti(lua, LUA_REGISTRYINDEX, chunk);
    if (lua_pcall(lua, 0, 0, 0) != LUA_OK) state.SkipWithError("the Lua loop failed");
  }
  state.SetItemsProcessed(state.iterations() * kLoopCount * 2);
  lua_close(lua);
}

}  // namespace

BENCHMARK(BM_ForLoopOfCal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LuaForLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkipModePassOver)->Unit(benchmark::kMillisecond);
