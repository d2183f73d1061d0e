#pragma once

#include <string>
#include <string_view>

#include "base/cp932.h"
#include "script/commands/general_commands.h"
#include "support/script/interpreter_fixture.h"

namespace mavu::script::test {

// The interpreter fixture with the general commands registered. Scripts and
// texts are written here in UTF-8 and run as CP932.
class GeneralCommandTest : public InterpreterTest {
 protected:
  GeneralCommandTest() { RegisterGeneralCommands(script_->Commands()); }

  // Runs the lines after a label "@@start" for one frame.
  void Run(std::string_view utf8Lines) {
    Start(Sjis("@@start\n" + std::string(utf8Lines)));
    Frame();
  }
  // Sets a string global (declared when it is not yet) to raw CP932 bytes.
  void SetString(std::string_view name, std::string_view bytes) {
    if (script_->Calculation().Visibility(name, 0) == VariableScope::kNone) {
      DeclareGlobal("str", name);
    }
    script_->Calculation().AssignString(name, 0, bytes);
  }
  int32_t ResultInt() { return Int("ResultInt"); }
  std::string ResultStr() { return Str("ResultStr"); }
  std::string Utf8(std::string_view expression) { return base::Cp932ToUtf8(Str(expression)); }
  // The message of the last error line, as the CP932 bytes the log holds.
  std::string LastMessageBytes() const {
    const std::string& line = ErrorLines().back();
    constexpr std::string_view kTag = ":ERROR:";
    return line.substr(line.find(kTag) + kTag.size());
  }
};

}  // namespace mavu::script::test
