#include <cstdio>

#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_data_button.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"

// The text commands of message windows, which buttons take too (a button is
// a window with its own text).
namespace mavu::script {
namespace {

using namespace arguments;
using imaging::TMessageLib;
using Window = TKelObjectDataMessage;

std::string Format(const char* pattern, int32_t value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

// t,text: the word as written, or what its curly braces hold.
bool AddText(Window& window, const Command& command) {
  if (!Has(command, 1)) return true;
  const std::string& word = command.words.words[1];
  window.Window().AddText(word.starts_with('{') ? Literal(command, 1) : word);
  return true;
}

// o,expr: the value as text; a word that is no value is refused.
bool AddValue(Window& window, const Command& command) {
  const TReturnValue value = Value(command, 1);
  if (value.IsNone() || value.kind == ValueKind::kRawToken) {
    command.script.ReportError(messages::BadTextValue() +
                               (Has(command, 1) ? command.words.words[1] : ""));
    return true;
  }
  window.Window().AddText(value.Text());
  return true;
}

bool NewLine(Window& window, const Command& command) {
  window.Window().AddTag(Has(command, 1) ? Format("n,%d", Integer(command, 1)) : "n");
  return true;
}

bool WaitTag(Window& window, const Command& command) {
  window.Window().AddTag(Format("w,%d", Integer(command, 1)));
  return true;
}

bool ColourTag(Window& window, const Command& command) {
  window.Window().AddTag(Format("c,$%x", Integer(command, 1)));
  return true;
}

bool RubyColourTag(Window& window, const Command& command) {
  window.Window().AddTag(Format("rc,$%x", Integer(command, 1)));
  return true;
}

bool CentreTag(Window& window, const Command& command) {
  window.Window().AddTag("pc," + Text(command, 1));
  return true;
}

bool RightTag(Window& window, const Command& command) {
  window.Window().AddTag("pr," + Text(command, 1));
  return true;
}

bool RubyTag(Window& window, const Command& command) {
  window.Window().AddTag("rb," + Text(command, 1) + "," + Text(command, 2));
  return true;
}

bool ClearPage(Window& window, const Command&) {
  window.Window().ClearPage();
  return true;
}

// ts,left,top,right,bottom or ts,right,bottom.
bool Area(Window& window, const Command& command) {
  if (command.words.count - 1 == 2) {
    window.Window().SetArea({0, 0, Integer(command, 1), Integer(command, 2)});
  } else {
    window.Window().SetArea(
        {Integer(command, 1), Integer(command, 2), Integer(command, 3), Integer(command, 4)});
  }
  return true;
}

bool Background(Window& window, const Command& command) {
  window.Window().SetTextBackground(static_cast<uint32_t>(Integer(command, 1)));
  return true;
}

bool IconSheet(Window& window, const Command& command) {
  const std::string file = Text(command, 1);
  if (!window.Window().SetIconSheet(file, Integer(command, 2), Integer(command, 3))) {
    command.script.ReportError(messages::IconSheetLoadFailed() + file);
  }
  return true;
}

bool Speaker(Window& window, const Command& command) {
  window.Window().SetSpeaker(Text(command, 1));
  return true;
}

// wf,file,flag: the voice of the message, which plays at its speaker's
// volume and, with a flag of 1, fades out when the window clears.
bool Voice(Window& window, const Command& command) {
  const std::string file = Text(command, 1);
  window.Window().SetVoice(file);
  command.script.Services().sound.MarkVoice(file, window.Window().Speaker(),
                                            Integer(command, 2) == 1);
  return true;
}

bool Log(Window& window, const Command&) {
  window.Window().Finish();
  return true;
}

bool FlagArgument(const Command& command) {
  return !Has(command, 1) || Integer(command, 1) != 0;
}

bool AutoPage(Window& window, const Command& command) {
  window.Window().SetAutoPage(FlagArgument(command));
  return true;
}

bool AutoWaitCounting(Window& window, const Command& command) {
  window.Window().SetAutoWaitCounting(FlagArgument(command));
  return true;
}

bool Skip(Window& window, const Command& command) {
  window.Window().SetSkip(FlagArgument(command));
  return true;
}

// sv,ms: the window's own typing speed; 0 or less follows the player's setting.
bool Speed(Window& window, const Command& command) {
  const int32_t ms = Integer(command, 1);
  window.Window().SetUsePlayerSpeed(ms <= 0);
  if (ms > 0) window.Window().SetOwnSpeed(ms);
  return true;
}

bool Vertical(Window& window, const Command& command) {
  window.Window().SetVertical(FlagArgument(command));
  return true;
}

bool GetText(Window& window, const Command& command) {
  SetResultStr(command, window.Window().TextBuffer());
  return true;
}

bool LineStart(Window& window, const Command& command) {
  window.Window().SetLineStartIndent(Integer(command, 1));
  return true;
}

bool ShowOnText(Window& window, const Command& command) {
  window.Window().SetShowOnText(FlagArgument(command));
  return true;
}

void AddAll(CommandTable& table, ObjectKind kind) {
  const uint8_t k = KindNumber(kind);
  table.AddObjectCommand<Window>(k, "t", AddText);
  table.AddObjectCommand<Window>(k, "o", AddValue);
  table.AddObjectCommand<Window>(k, "n", NewLine);
  table.AddObjectCommand<Window>(k, "orc", RubyColourTag);
  table.AddObjectCommand<Window>(k, "opc", CentreTag);
  table.AddObjectCommand<Window>(k, "opr", RightTag);
  table.AddObjectCommand<Window>(k, "orb", RubyTag);
  table.AddObjectCommand<Window>(k, "cc", ClearPage);
  table.AddObjectCommand<Window>(k, "ts", Area);
  table.AddObjectCommand<Window>(k, "bg", Background);
  table.AddObjectCommand<Window>(k, "ls", LineStart);
  table.AddObjectCommand<Window>(k, "ns", ShowOnText);
}

}  // namespace

void RegisterMessageCommands(CommandTable& table) {
  for (ObjectKind kind : {ObjectKind::kMessage, ObjectKind::kButton, ObjectKind::kSysButton}) {
    AddAll(table, kind);
  }
  for (ObjectKind kind : {ObjectKind::kMessage, ObjectKind::kButton}) {
    table.AddObjectCommand<Window>(KindNumber(kind), "oc", ColourTag);
  }
  const uint8_t msg = KindNumber(ObjectKind::kMessage);
  table.AddObjectCommand<Window>(msg, "w", WaitTag);
  table.AddObjectCommand<Window>(msg, "bl", IconSheet);
  table.AddObjectCommand<Window>(msg, "ac", Speaker);
  table.AddObjectCommand<Window>(msg, "wf", Voice);
  table.AddObjectCommand<Window>(msg, "lg", Log);
  table.AddObjectCommand<Window>(msg, "ap", AutoPage);
  table.AddObjectCommand<Window>(msg, "as", AutoWaitCounting);
  table.AddObjectCommand<Window>(msg, "sk", Skip);
  table.AddObjectCommand<Window>(msg, "sv", Speed);
  table.AddObjectCommand<Window>(msg, "wv", Vertical);
  table.AddObjectCommand<Window>(msg, "gt", GetText);
}

}  // namespace mavu::script
