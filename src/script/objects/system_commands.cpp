#include <array>
#include <random>

#include "script/interpreter/command_arguments.h"
#include "script/interpreter/jump_commands.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_data_system.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"
#include "script/objects/save_title.h"

// The sys object: the interpreter's modes, locks, masks, budget and texts,
// and the player's display settings.
namespace mavu::script {
namespace {

using namespace arguments;

constexpr int32_t kAll = -1;
constexpr int kGuidBytes = 16;

TScriptModuleData& Module(const Command& command) {
  return command.script.Module();
}

// An integer argument, or -1 when it is missing.
int32_t MaskArgument(const Command& command) {
  return Has(command, 1) ? Integer(command, 1) : kAll;
}

// r: a full reset that runs "@@reset" of the start script. The receiver is
// gone afterwards.
bool Reset(const Command& command) {
  command.script.ResetInterpreter();
  return true;
}

// p[,mode]: 0 leaves auto and skip modes; without an argument ResultInt = the mode.
bool Mode(const Command& command) {
  if (!Has(command, 1)) {
    SetResultInt(command, static_cast<int32_t>(Module(command).mode));
    return true;
  }
  const int32_t mode = Integer(command, 1);
  if (mode >= 0 && mode <= static_cast<int32_t>(SkipMode::kSceneSkipNoLoad)) {
    command.script.SetMode(static_cast<SkipMode>(mode));
  }
  return true;
}

bool Lock(const Command& command) {
  Module(command).lockFlags = static_cast<uint32_t>(MaskArgument(command));
  return true;
}

bool UpdateMask(const Command& command) {
  Module(command).updateMask = MaskArgument(command);
  return true;
}

bool DrawMask(const Command& command) {
  Module(command).drawMask = MaskArgument(command);
  return true;
}

// run,n: commands per frame; below 1 gives the default.
bool Run(const Command& command) {
  const int32_t count = Integer(command, 1);
  Module(command).commandsPerFrame =
      count < 1 ? TScriptModuleData::kDefaultCommandsPerFrame : count;
  return true;
}

bool Skipping(const Command& command) {
  SetResultInt(command, command.script.Skipping() ? 1 : 0);
  return true;
}

// sskp,flag: whether scene skip is allowed; a scene skip under way ends.
bool SceneSkip(const Command& command) {
  Module(command).sceneSkipAllowed = Integer(command, 1) != 0;
  const SkipMode mode = Module(command).mode;
  if (mode == SkipMode::kSceneSkip || mode == SkipMode::kSceneSkipNoLoad)
    command.script.LeaveSkip();
  return true;
}

bool SceneReturnLabel(const Command& command) {
  std::string label;
  if (Has(command, 1)) label = JumpCommands::LabelArgument(command.script, command.words.words[1]);
  Module(command).texts[TScriptModuleData::kSceneReturnLabel] = label;
  return true;
}

// n,a,b,c,d: the four save-title texts.
bool SaveTitles(const Command& command) {
  auto& titles = Module(command).saveTitles;
  for (int i = 0; i < TScriptModuleData::kSaveTitles; ++i) {
    titles[static_cast<size_t>(i)] = StripBracketedParts(Text(command, i + 1));
  }
  return true;
}

bool SetText(const Command& command, int index) {
  Module(command).texts[static_cast<size_t>(index)] = Text(command, 1);
  return true;
}

bool LoadLayout(const Command& command) {
  return SetText(command, TScriptModuleData::kLoadLayout);
}
bool SaveLayout(const Command& command) {
  return SetText(command, TScriptModuleData::kSaveLayout);
}
bool MenuLayout(const Command& command) {
  return SetText(command, TScriptModuleData::kMenuLayout);
}
bool BacklogLayout(const Command& command) {
  return SetText(command, TScriptModuleData::kBacklogLayout);
}

bool Version(TKelObjectDataSystem& system, const Command& command) {
  system.Shell().SetVersionText(Text(command, 1));
  return true;
}

// A random (version 4) GUID as 32 upper-case hexadecimal digits, its bytes
// in order.
std::string NewGuidText() {
  constexpr char kDigits[] = "0123456789ABCDEF";
  constexpr size_t kVersionByte = 6;
  constexpr size_t kVariantByte = 8;
  std::random_device device;
  std::array<uint8_t, kGuidBytes> bytes{};
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(device());
  bytes[kVersionByte] = static_cast<uint8_t>((bytes[kVersionByte] & 0x0F) | 0x40);
  bytes[kVariantByte] = static_cast<uint8_t>((bytes[kVariantByte] & 0x3F) | 0x80);
  std::string text;
  for (uint8_t byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
  return text;
}

bool Identifier(const Command& command) {
  SetResultStr(command, NewGuidText());
  return true;
}

// il[,n]: without an argument ResultInt = the Interlace setting; an argument
// that differs from it switches the setting.
bool Interlace(TKelObjectDataSystem& system, const Command& command) {
  SystemShell& shell = system.Shell();
  const int32_t current = shell.InterlaceSetting();
  if (!Has(command, 1)) {
    SetResultInt(command, current);
  } else if (Integer(command, 1) != current) {
    shell.SetInterlaceSetting(current == 0 ? 1 : 0);
  }
  return true;
}

// c, e, h, l, m, s, ql, qs: post a request to the shell.
template <SystemRequest kRequest>
bool Request(const Command& command) {
  command.script.PostRequest(kRequest);
  return true;
}

// sm[,n]: without an argument ResultInt = the FullScreen setting; an argument
// that differs from it requests the screen-mode change.
bool ScreenMode(TKelObjectDataSystem& system, const Command& command) {
  const int32_t current = system.Shell().FullScreenSetting();
  if (!Has(command, 1)) {
    SetResultInt(command, current);
  } else if (Integer(command, 1) != current) {
    command.script.PostRequest(SystemRequest::kScreenMode);
  }
  return true;
}

// The sys object names its own unknown words before the dispatcher reports them.
bool UnknownSystemCommand(const Command& command) {
  command.script.ReportError(messages::SystemUndefinedCommand() + command.words.words[0]);
  return false;
}

}  // namespace

void RegisterSystemCommands(CommandTable& table) {
  constexpr uint8_t kSys = KindNumber(ObjectKind::kSystem);
  table.AddObjectCommand(kSys, "r", Reset);
  table.AddObjectCommand(kSys, "p", Mode);
  table.AddObjectCommand(kSys, "lk", Lock);
  table.AddObjectCommand(kSys, "in", UpdateMask);
  table.AddObjectCommand(kSys, "out", DrawMask);
  table.AddObjectCommand(kSys, "run", Run);
  table.AddObjectCommand(kSys, "skp", Skipping);
  table.AddObjectCommand(kSys, "sskp", SceneSkip);
  table.AddObjectCommand(kSys, "sret", SceneReturnLabel);
  table.AddObjectCommand(kSys, "n", SaveTitles);
  table.AddObjectCommand(kSys, "lf", LoadLayout);
  table.AddObjectCommand(kSys, "sf", SaveLayout);
  table.AddObjectCommand(kSys, "mf", MenuLayout);
  table.AddObjectCommand(kSys, "hf", BacklogLayout);
  table.AddObjectCommand<TKelObjectDataSystem>(kSys, "v", Version);
  table.AddObjectCommand(kSys, "di", Identifier);
  table.AddObjectCommand<TKelObjectDataSystem>(kSys, "il", Interlace);
  table.AddObjectCommand<TKelObjectDataSystem>(kSys, "sm", ScreenMode);
  table.AddObjectCommand(kSys, "c", Request<SystemRequest::kConfig>);
  table.AddObjectCommand(kSys, "e", Request<SystemRequest::kExitNow>);
  table.AddObjectCommand(kSys, "h", Request<SystemRequest::kBacklog>);
  table.AddObjectCommand(kSys, "l", Request<SystemRequest::kLoadScreen>);
  table.AddObjectCommand(kSys, "m", Request<SystemRequest::kMenu>);
  table.AddObjectCommand(kSys, "s", Request<SystemRequest::kSaveScreen>);
  table.AddObjectCommand(kSys, "ql", Request<SystemRequest::kQuickLoad>);
  table.AddObjectCommand(kSys, "qs", Request<SystemRequest::kQuickSave>);
  table.SetObjectFallback(kSys, UnknownSystemCommand);
}

}  // namespace mavu::script
