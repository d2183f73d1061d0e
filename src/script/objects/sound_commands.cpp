#include <algorithm>
#include <array>
#include <vector>

#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_data_sound.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"

// The sound channels: snd objects drive the stream channels (music, voices),
// dsnd objects the effect channels.
namespace mavu::script {
namespace {

using namespace arguments;

constexpr std::array<std::string_view, 4> kStateNames = {"NoFile", "Stop", "Play", "LoopPlay"};
constexpr int32_t kLooped = 1;

using Channel = TKelObjectDataSound;

bool Free(Channel& channel, const Command&) {
  channel.Sound().FreeSound(channel.Family(), channel.Channel());
  return true;
}

bool Load(Channel& channel, const Command& command) {
  const std::string file = Text(command, 1);
  if (!channel.Sound().LoadSound(channel.Family(), channel.Channel(), file).empty()) {
    command.script.ReportError((channel.Family() == SoundFamily::kStream
                                    ? messages::StreamLoadFailed()
                                    : messages::EffectLoadFailed()) +
                               file);
  }
  command.script.SettleInput();
  return true;
}

bool Play(Channel& channel, const Command& command) {
  channel.Sound().PlaySound(channel.Family(), channel.Channel(), Integer(command, 1) == kLooped);
  return true;
}

bool Stop(Channel& channel, const Command&) {
  channel.Sound().StopSound(channel.Family(), channel.Channel());
  return true;
}

bool Volume(Channel& channel, const Command& command) {
  channel.Sound().SetSoundVolume(channel.Family(), channel.Channel(), Integer(command, 1),
                                 Integer(command, 2));
  return true;
}

bool GetVolume(Channel& channel, const Command& command) {
  SetResultInt(command, channel.Sound().SoundVolume(channel.Family(), channel.Channel()));
  return true;
}

bool GetState(Channel& channel, const Command& command) {
  const int32_t state = channel.Sound().SoundState(channel.Family(), channel.Channel());
  SetResultInt(command, state);
  SetResultStr(command, kStateNames[static_cast<size_t>(std::clamp(state, 0, 3))]);
  return true;
}

bool GetFile(Channel& channel, const Command& command) {
  SoundService& sound = channel.Sound();
  SetResultInt(
      command,
      sound.SoundState(channel.Family(), channel.Channel()) != SoundService::kNoFile ? 1 : 0);
  SetResultStr(command, sound.SoundFile(channel.Family(), channel.Channel()));
  return true;
}

bool SetClass(Channel& channel, const Command& command) {
  channel.Sound().SetSoundClass(channel.Channel(), Integer(command, 1));
  return true;
}

bool Seek(Channel& channel, const Command& command) {
  channel.Sound().SeekSound(channel.Channel(), Integer(command, 1));
  return true;
}

bool SkipSilence(Channel& channel, const Command& command) {
  channel.Sound().SkipSilence(channel.Channel(), Integer(command, 1));
  return true;
}

// eq,g1,...,gN[,ms] with N = 4, 8 or 16; any other count changes nothing.
bool Equalize(Channel& channel, const Command& command) {
  const int32_t arguments = command.words.count - 1;
  int32_t bands = arguments;
  if (bands != 4 && bands != 8 && bands != 16) --bands;
  if (bands != 4 && bands != 8 && bands != 16) return true;
  std::vector<int32_t> gains;
  for (int32_t i = 1; i <= bands; ++i) gains.push_back(Integer(command, i));
  const int32_t ms = arguments > bands ? Integer(command, bands + 1) : 0;
  channel.Sound().EqualizeSound(channel.Channel(), gains, ms);
  return true;
}

bool Swap(Channel& channel, const Command& command) {
  channel.Sound().SwapSounds(SoundFamily::kStream, channel.Channel(), Integer(command, 1));
  return true;
}

bool GetPosition(Channel& channel, const Command& command) {
  SetResultInt(command, channel.Sound().PositionMs(channel.Channel()));
  return true;
}

bool EffectLevels(Channel& channel, const Command& command) {
  channel.Sound().SetEffectLevels(Integer(command, 1));
  return true;
}

void RegisterShared(CommandTable& table, uint8_t kind) {
  table.AddObjectCommand<Channel>(kind, "i", Free);
  table.AddObjectCommand<Channel>(kind, "l", Load);
  table.AddObjectCommand<Channel>(kind, "p", Play);
  table.AddObjectCommand<Channel>(kind, "s", Stop);
  table.AddObjectCommand<Channel>(kind, "v", Volume);
  table.AddObjectCommand<Channel>(kind, "gv", GetVolume);
  table.AddObjectCommand<Channel>(kind, "gp", GetState);
  table.AddObjectCommand<Channel>(kind, "gf", GetFile);
}

}  // namespace

void RegisterSoundCommands(CommandTable& table) {
  constexpr uint8_t kSnd = KindNumber(ObjectKind::kSound);
  RegisterShared(table, kSnd);
  table.AddObjectCommand<Channel>(kSnd, "t", SetClass);
  table.AddObjectCommand<Channel>(kSnd, "sk", Seek);
  table.AddObjectCommand<Channel>(kSnd, "sv", SkipSilence);
  table.AddObjectCommand<Channel>(kSnd, "eq", Equalize);
  table.AddObjectCommand<Channel>(kSnd, "sw", Swap);
  table.AddObjectCommand<Channel>(kSnd, "gt", GetPosition);

  constexpr uint8_t kDsnd = KindNumber(ObjectKind::kDirectSound);
  RegisterShared(table, kDsnd);
  table.AddObjectCommand<Channel>(kDsnd, "mv", EffectLevels);
}

}  // namespace mavu::script
