#include "script/commands/wait_commands.h"

#include <algorithm>

#include "script/interpreter/jump_commands.h"
#include "script/interpreter/kel_script.h"

namespace mavu::script {
namespace {

constexpr std::string_view kResultClkInt = "ResultClkInt";
constexpr int32_t kUntilClicked = -1;
constexpr int32_t kLastByte = 255;

int32_t IntegerArgument(const Command& command, int index) {
  if (index >= command.words.count) return 0;
  return command.script.Evaluate(command.words.words[index]).integer;
}

std::string LabelArgument(const Command& command, int index) {
  if (index >= command.words.count) return {};
  return JumpCommands::LabelArgument(command.script, command.words.words[index]);
}

uint8_t ChannelArgument(const Command& command, int index, int32_t channels) {
  const int32_t last = std::clamp(channels - 1, 0, kLastByte);
  return static_cast<uint8_t>(std::clamp(IntegerArgument(command, index), 0, last));
}

// wait,ms
bool Wait(const Command& command) {
  command.script.SetResultInteger(kResultClkInt, 0);
  const int32_t ms = IntegerArgument(command, 1);
  if (ms > 0) command.script.BeginWait(WaitState::kTimed, ms);
  return true;
}

// clk[,ms[,skip ms[,label]]]: a wait without time starts the auto-advance delay.
bool Clk(const Command& command) {
  TKelScript& script = command.script;
  script.SetResultInteger(kResultClkInt, 0);
  const int32_t ms = IntegerArgument(command, 1);
  if (ms > 0) {
    script.BeginWait(WaitState::kClick, ms);
  } else {
    script.BeginWait(WaitState::kClick, kUntilClicked);
    script.AddAutoAdvanceDelay(script.Settings().autoClickMs);
  }
  script.Module().clickSkipTime = std::max(IntegerArgument(command, 2), 0);
  script.Module().jumpLabel = LabelArgument(command, 3);
  return true;
}

// time: restart the elapsed-time counter; time,ms: clear the jump label;
// time,ms,flag[,label]: wait until the counter reaches ms.
bool Time(const Command& command) {
  TKelScript& script = command.script;
  TScriptModuleData& module = script.Module();
  script.SetResultInteger(kResultClkInt, 0);
  if (command.words.count == 1) {
    module.elapsedTime = 0;
    script.HoldSteps(TKelScript::kHoldSteps);
    return true;
  }
  module.jumpLabel = LabelArgument(command, 3);
  if (command.words.count >= 3) {
    module.timeTarget = IntegerArgument(command, 1);
    script.BeginWait(WaitState::kTime, 0);
  }
  return true;
}

// sndt,channel,ms,label
bool Sndt(const Command& command) {
  TKelScript& script = command.script;
  TScriptModuleData& module = script.Module();
  script.SetResultInteger(kResultClkInt, 0);
  module.soundChannel = ChannelArgument(command, 1, script.Services().sound.ChannelCount());
  module.soundTimeTarget = IntegerArgument(command, 2);
  module.jumpLabel = LabelArgument(command, 3);
  script.BeginWait(WaitState::kSoundTime, 0);
  return true;
}

// wav,channel: any voice channel a byte can name.
bool Wav(const Command& command) {
  TKelScript& script = command.script;
  script.Module().waveChannel = ChannelArgument(command, 1, kLastByte + 1);
  script.BeginWait(WaitState::kWave, 0);
  return true;
}

// btn[,ms]
bool Btn(const Command& command) {
  const int32_t ms = IntegerArgument(command, 1);
  command.script.BeginWait(WaitState::kButton, ms > 0 ? ms : kUntilClicked);
  return true;
}

bool Msg(const Command& command) {
  command.script.BeginWait(WaitState::kMessage, 0);
  return true;
}

// Lets the screen be drawn before the script goes on.
bool Draw(const Command& command) {
  command.script.HoldSteps(TKelScript::kHoldSteps);
  return true;
}

}  // namespace

void RegisterWaitCommands(CommandTable& table) {
  table.AddGeneral("wait", Wait);
  table.AddGeneral("clk", Clk);
  table.AddGeneral("time", Time);
  table.AddGeneral("sndt", Sndt);
  table.AddGeneral("wav", Wav);
  table.AddGeneral("btn", Btn);
  table.AddGeneral("msg", Msg);
  table.AddGeneral("draw", Draw);
}

}  // namespace mavu::script
