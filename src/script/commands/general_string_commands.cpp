#include <algorithm>

#include "base/cp932.h"
#include "script/commands/general_commands.h"
#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/reader/script_text.h"
#include "script/reader/word_buf.h"

namespace mavu::script {
namespace {

constexpr int kFirstTarget = 3;  // div,separator,text,target1...

// trim,str: without blanks and control characters at either end.
bool Trim(const Command& command) {
  arguments::SetResultStr(command, TrimBlanks(arguments::Text(command, 1)));
  return true;
}

// copy,str,from,count: bytes, `from` counting from 1. A start before the
// text counts from its first byte; a range past its end is cut there.
bool Copy(const Command& command) {
  const std::string text = arguments::Text(command, 1);
  const int64_t from = std::max<int64_t>(arguments::Integer(command, 2), 1);
  const int64_t count = arguments::Integer(command, 3);
  const auto size = static_cast<int64_t>(text.size());
  std::string piece;
  if (count > 0 && from <= size) {
    piece = text.substr(static_cast<size_t>(from - 1),
                        static_cast<size_t>(std::min(count, size - from + 1)));
  }
  arguments::SetResultStr(command, piece);
  return true;
}

// The 1-based byte position of the first occurrence of `part` that starts on
// a character boundary, so that the trail byte of a two-byte character never
// matches a sign; 0 when there is none.
int32_t FindCharacterWise(std::string_view text, std::string_view part) {
  if (part.empty()) return 0;
  for (size_t pos = 0; pos + part.size() <= text.size(); pos += base::CharLength(text, pos)) {
    if (text.compare(pos, part.size(), part) == 0) return static_cast<int32_t>(pos + 1);
  }
  return 0;
}

// pos,sub,str
bool Pos(const Command& command) {
  const std::string part = arguments::Text(command, 1);
  const std::string text = arguments::Text(command, 2);
  arguments::SetResultInt(command, FindCharacterWise(text, part));
  return true;
}

// div,separator,str,target1,target2...: piece i goes to target i, and
// targets past the last piece are emptied. A separator must be one
// single-byte character; any other leaves the text whole, as one piece.
bool Div(const Command& command) {
  const std::string separator = arguments::Text(command, 1);
  const std::string text = arguments::Text(command, 2);
  TWordBuf pieces;
  if (separator.size() == 1 && !base::IsLeadByte(separator[0])) {
    SplitWords(pieces, text, separator[0]);
  } else if (!text.empty()) {
    pieces.words[0] = text;
    pieces.count = 1;
  }
  TKelCalculation& calculation = command.script.Calculation();
  for (int i = kFirstTarget; i < command.words.count; ++i) {
    const std::string_view target = command.words.words[i];
    if (TrimBlanks(target).empty()) continue;
    const int piece = i - kFirstTarget;
    calculation.AssignString(target, command.script.CallDepth(),
                             piece < pieces.count ? pieces.words[piece] : std::string());
  }
  return true;
}

}  // namespace

void RegisterStringCommands(CommandTable& table) {
  table.AddGeneral("trim", Trim);
  table.AddGeneral("copy", Copy);
  table.AddGeneral("pos", Pos);
  table.AddGeneral("div", Div);
}

}  // namespace mavu::script
