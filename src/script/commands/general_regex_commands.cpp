#include <string>
#include <vector>

#include "script/commands/general_commands.h"
#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/reader/script_text.h"
#include "script/regex/bregexp.h"

namespace mavu::script {
namespace {

constexpr int kPatternWord = 1;
constexpr int kTextWord = 2;
constexpr int kFirstTarget = 3;  // bmat,pattern,text,target1...

// The commands share one matcher, which keeps the last compiled pattern for
// scripts that use the same one in a loop. Commands run on the main thread only.
TBRegExp& Matcher() {
  static TBRegExp matcher;
  return matcher;
}

// The pattern is written inside brackets or quotes and is not evaluated.
std::string Pattern(const Command& command) {
  return arguments::Literal(command, kPatternWord);
}

// bmat,pattern,str,target1...: the whole match, then each group, in order.
bool Bmat(const Command& command) {
  const std::vector<std::string> found =
      Matcher().Match(Pattern(command), arguments::Text(command, kTextWord));
  TKelCalculation& calculation = command.script.Calculation();
  for (size_t i = 0; i < found.size(); ++i) {
    const int word = kFirstTarget + static_cast<int>(i);
    if (word >= command.words.count) break;
    const std::string_view target = command.words.words[word];
    if (TrimBlanks(target).empty()) continue;
    calculation.AssignString(target, command.script.CallDepth(), found[i]);
  }
  return true;
}

// bsub,pattern,str and btra,pattern,str: s/// or tr///; the text is unchanged
// when the expression fails.
bool Bsub(const Command& command) {
  arguments::SetResultStr(
      command, Matcher().Substitute(Pattern(command), arguments::Text(command, kTextWord)));
  return true;
}

}  // namespace

// bspl and btra take the same calls as bmat and bsub.
void RegisterRegexCommands(CommandTable& table) {
  table.AddGeneral("bmat", Bmat);
  table.AddGeneral("bspl", Bmat);
  table.AddGeneral("bsub", Bsub);
  table.AddGeneral("btra", Bsub);
}

}  // namespace mavu::script
