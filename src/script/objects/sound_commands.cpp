#include <array>
#include <charconv>
#include <vector>

#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"

// The sound channels: snd objects drive the stream channels (music, voices),
// dsnd objects the effect channels. An object's channel is the number after
// the first comma of its name, so element n of "snd" drives channel n.
namespace mavu::script {
namespace {

using namespace arguments;

constexpr std::array<std::string_view, 4> kStateNames = {"NoFile", "Stop", "Play", "LoopPlay"};
constexpr int32_t kLooped = 1;

int32_t Channel(const Command& command) {
  const std::string& name = command.object->Name();
  const size_t comma = name.find(',');
  int32_t channel = 0;
  if (comma != std::string::npos) std::from_chars(name.data() + comma + 1, name.data() + name.size(), channel);
  return channel;
}

SoundService& Sound(const Command& command) { return command.script.Services().sound; }

template <SoundFamily family>
bool Free(const Command& command) {
  Sound(command).FreeSound(family, Channel(command));
  return true;
}

template <SoundFamily family>
bool Load(const Command& command) {
  const std::string file = Text(command, 1);
  if (!Sound(command).LoadSound(family, Channel(command), file).empty()) {
    command.script.ReportError(
        (family == SoundFamily::kStream ? messages::StreamLoadFailed() : messages::EffectLoadFailed()) + file);
  }
  command.script.SettleInput();
  return true;
}

template <SoundFamily family>
bool Play(const Command& command) {
  Sound(command).PlaySound(family, Channel(command), Integer(command, 1) == kLooped);
  return true;
}

template <SoundFamily family>
bool Stop(const Command& command) {
  Sound(command).StopSound(family, Channel(command));
  return true;
}

template <SoundFamily family>
bool Volume(const Command& command) {
  Sound(command).SetSoundVolume(family, Channel(command), Integer(command, 1), Integer(command, 2));
  return true;
}

template <SoundFamily family>
bool GetVolume(const Command& command) {
  SetResultInt(command, Sound(command).SoundVolume(family, Channel(command)));
  return true;
}

template <SoundFamily family>
bool GetState(const Command& command) {
  const int32_t state = Sound(command).SoundState(family, Channel(command));
  SetResultInt(command, state);
  SetResultStr(command, kStateNames[static_cast<size_t>(std::clamp(state, 0, 3))]);
  return true;
}

template <SoundFamily family>
bool GetFile(const Command& command) {
  SoundService& sound = Sound(command);
  SetResultInt(command, sound.SoundState(family, Channel(command)) != SoundService::kNoFile ? 1 : 0);
  SetResultStr(command, sound.SoundFile(family, Channel(command)));
  return true;
}

bool SetClass(const Command& command) {
  Sound(command).SetSoundClass(Channel(command), Integer(command, 1));
  return true;
}

bool Seek(const Command& command) {
  Sound(command).SeekSound(Channel(command), Integer(command, 1));
  return true;
}

bool SkipSilence(const Command& command) {
  Sound(command).SkipSilence(Channel(command), Integer(command, 1));
  return true;
}

// eq,g1,...,gN[,ms] with N = 4, 8 or 16; any other count changes nothing.
bool Equalize(const Command& command) {
  const int32_t arguments = command.words.count - 1;
  int32_t bands = arguments;
  if (bands != 4 && bands != 8 && bands != 16) --bands;
  if (bands != 4 && bands != 8 && bands != 16) return true;
  std::vector<int32_t> gains;
  for (int32_t i = 1; i <= bands; ++i) gains.push_back(Integer(command, i));
  const int32_t ms = arguments > bands ? Integer(command, bands + 1) : 0;
  Sound(command).EqualizeSound(Channel(command), gains, ms);
  return true;
}

bool Swap(const Command& command) {
  Sound(command).SwapSounds(Channel(command), Integer(command, 1));
  return true;
}

bool GetPosition(const Command& command) {
  SetResultInt(command, Sound(command).PositionMs(Channel(command)));
  return true;
}

bool EffectLevels(const Command& command) {
  Sound(command).SetEffectLevels(Integer(command, 1));
  return true;
}

template <SoundFamily family>
void RegisterShared(CommandTable& table, uint8_t kind) {
  table.AddObjectCommand(kind, "i", Free<family>);
  table.AddObjectCommand(kind, "l", Load<family>);
  table.AddObjectCommand(kind, "p", Play<family>);
  table.AddObjectCommand(kind, "s", Stop<family>);
  table.AddObjectCommand(kind, "v", Volume<family>);
  table.AddObjectCommand(kind, "gv", GetVolume<family>);
  table.AddObjectCommand(kind, "gp", GetState<family>);
  table.AddObjectCommand(kind, "gf", GetFile<family>);
}

}  // namespace

void RegisterSoundCommands(CommandTable& table) {
  constexpr uint8_t kSnd = KindNumber(ObjectKind::kSound);
  RegisterShared<SoundFamily::kStream>(table, kSnd);
  table.AddObjectCommand(kSnd, "t", SetClass);
  table.AddObjectCommand(kSnd, "sk", Seek);
  table.AddObjectCommand(kSnd, "sv", SkipSilence);
  table.AddObjectCommand(kSnd, "eq", Equalize);
  table.AddObjectCommand(kSnd, "sw", Swap);
  table.AddObjectCommand(kSnd, "gt", GetPosition);

  constexpr uint8_t kDsnd = KindNumber(ObjectKind::kDirectSound);
  RegisterShared<SoundFamily::kEffect>(table, kDsnd);
  table.AddObjectCommand(kDsnd, "mv", EffectLevels);
}

}  // namespace mavu::script
