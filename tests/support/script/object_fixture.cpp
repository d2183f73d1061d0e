#include "support/script/object_fixture.h"

#include "base/cp932.h"
#include "base/error_log.h"
#include "script/commands/general_commands.h"
#include "script/objects/object_commands.h"

namespace mavu::script::test {
namespace {

constexpr std::string_view kErrorTag = ":ERROR:";
constexpr int kRunFrames = 4;
constexpr int32_t kFrameMs = 25;

}  // namespace

ObjectTest::ObjectTest() {
  base::TheErrorLog().SetDirectory(folder_.Path());
  base::TheErrorLog().ClearErrors();
  base::TheErrorLog().ClearErrorFlag();
  auto registry = std::make_unique<TKelObjectManager>(ObjectParts{stage_, shell_, services_});
  objects_ = registry.get();
  script_ = std::make_unique<TKelScript>(services_.Services(), stage_, std::move(registry),
                                         folder_.Path() / "SaveData", 0x1234);
  RegisterGeneralCommands(script_->Commands());
  RegisterObjectCommands(script_->Commands());
  if (!script_->Initialize()) throw std::runtime_error("the interpreter did not start");
}

ObjectTest::~ObjectTest() {
  script_.reset();
  base::TheErrorLog().ClearErrors();
  base::TheErrorLog().ClearErrorFlag();
}

bool ObjectTest::Run(const std::string& lines, std::map<std::string, std::string> files) {
  files["main.s"] = "@@start\r\n" + lines;
  game_.reset();
  game_.emplace(files);
  script_->ExecuteLine("\\go,@@start,\"main.s\"");
  Frames(kRunFrames);
  return !base::TheErrorLog().ErrorFlag();
}

void ObjectTest::Frames(int count) {
  for (int i = 0; i < count; ++i) script_->UpdateFrame(kFrameMs, true);
}

int32_t ObjectTest::Int(std::string_view expression) {
  return script_->Evaluate(expression).integer;
}

std::string ObjectTest::Str(std::string_view expression) {
  return script_->Evaluate(expression).Text();
}

std::vector<std::string> ObjectTest::Messages() const {
  std::vector<std::string> messages;
  for (const std::string& line : base::TheErrorLog().Errors()) {
    const size_t tag = line.find(kErrorTag);
    const std::string_view message = tag == std::string::npos
                                         ? std::string_view(line)
                                         : std::string_view(line).substr(tag + kErrorTag.size());
    messages.push_back(base::Cp932ToUtf8(message));
  }
  return messages;
}

void ObjectTest::ClearError() {
  base::TheErrorLog().ClearErrorFlag();
}

}  // namespace mavu::script::test
