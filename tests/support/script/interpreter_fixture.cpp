#include "support/script/interpreter_fixture.h"

#include "base/cp932.h"
#include "base/error_log.h"
#include "script/commands/wait_commands.h"

namespace mavu::script::test {
namespace {

constexpr std::string_view kErrorTag = ":ERROR:";

bool Cal(const Command& command) {
  for (int i = 1; i < command.words.count; ++i) command.script.Evaluate(command.words.words[i]);
  return true;
}

}  // namespace

InterpreterTest::InterpreterTest() {
  base::TheErrorLog().SetDirectory(folder_.Path());
  base::TheErrorLog().ClearErrors();
  base::TheErrorLog().ClearErrorFlag();
  auto registry = std::make_unique<FakeObjectRegistry>();
  objects_ = registry.get();
  script_ = std::make_unique<TKelScript>(services_.Services(), stage_, std::move(registry),
                                         folder_.Path() / "SaveData", 0x1234);
  RegisterWaitCommands(script_->Commands());
  script_->Commands().AddGeneral("cal", Cal);
  if (!script_->Initialize()) throw std::runtime_error("the interpreter did not start");
  DeclareGlobal("str", "t");
}

InterpreterTest::~InterpreterTest() {
  script_.reset();
  base::TheErrorLog().ClearErrors();
  base::TheErrorLog().ClearErrorFlag();
}

void InterpreterTest::Mount(const std::map<std::string, std::string>& files) {
  game_.reset();
  game_.emplace(files);
}

void InterpreterTest::Start(const std::string& script) {
  Mount({{"main.s", script}});
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
}

void InterpreterTest::Frames(int count, int32_t ms) {
  for (int i = 0; i < count; ++i) Frame(ms);
}

int32_t InterpreterTest::Int(std::string_view expression) {
  return script_->Evaluate(expression).integer;
}

std::string InterpreterTest::Str(std::string_view expression) {
  return script_->Evaluate(expression).Text();
}

void InterpreterTest::DeclareGlobal(std::string_view type, std::string_view name) {
  script_->Calculation().DeclareVariable(VariableScope::kGlobal, type, name, 0);
}

std::vector<std::string> InterpreterTest::Messages() const {
  std::vector<std::string> messages;
  for (const std::string& line : ErrorLines()) {
    size_t tag = line.find(kErrorTag);
    std::string_view message = tag == std::string::npos
                                   ? std::string_view(line)
                                   : std::string_view(line).substr(tag + kErrorTag.size());
    messages.push_back(base::Cp932ToUtf8(message));
  }
  return messages;
}

const std::vector<std::string>& InterpreterTest::ErrorLines() const {
  return base::TheErrorLog().Errors();
}

void InterpreterTest::ClearError() {
  base::TheErrorLog().ClearErrorFlag();
}

}  // namespace mavu::script::test
