#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_commands.h"

// The screen-effect object (eff): freezing the screen, the transitions, the
// afterimage and the background colour, on the stage's screen.
namespace mavu::script {
namespace {

using namespace arguments;
using imaging::TKelGraphic;
using Operation = TKelGraphic::ColourOperation;

constexpr uint32_t kColourOnly = 0x00FFFFFF;

TKelGraphic& Screen(const Command& command) {
  return command.script.Stage().Graphic();
}

// c: the frozen picture stays while the scene is drawn anew behind it.
bool Freeze(const Command& command) {
  Screen(command).Freeze();
  command.script.ComposeFrame(true);
  return true;
}

bool End(const Command& command) {
  Screen(command).EndTransition();
  return true;
}

bool Afterimage(const Command& command) {
  Screen(command).SetAfterimage(Integer(command, 1) == 1);
  return true;
}

bool Background(const Command& command) {
  Screen(command).SetBackground(static_cast<uint32_t>(Integer(command, 1)));
  return true;
}

struct ColourArguments {
  uint32_t colour;
  Operation operation;
};

ColourArguments ColourOf(const Command& command) {
  return {static_cast<uint32_t>(Integer(command, 3)), static_cast<Operation>(Integer(command, 4))};
}

// fdi,type,ms,...: 0 crossfade; 1 rule wipe (rule file); 2 from a colour
// (colour, operation); 3 animated transition (file).
bool FadeIn(const Command& command) {
  TKelGraphic& screen = Screen(command);
  const int32_t ms = Integer(command, 2);
  switch (Integer(command, 1)) {
    case 0:
      screen.CrossfadeIn(ms);
      break;
    case 1:
      screen.WipeIn(ms, Text(command, 3));
      break;
    case 2: {
      const ColourArguments c = ColourOf(command);
      screen.ColourEffect(0, c.colour, c.operation);
      screen.ColourEffect(ms, c.colour & kColourOnly, c.operation);
      break;
    }
    case 3:
      screen.AnimatedTransition(ms, Text(command, 3));
      break;
    default:
      break;
  }
  return true;
}

// fdo,type,ms,...: 0 crossfade; 1 rule wipe; 2 to a colour, which stays when
// it is not transparent.
bool FadeOut(const Command& command) {
  TKelGraphic& screen = Screen(command);
  const int32_t ms = Integer(command, 2);
  switch (Integer(command, 1)) {
    case 0:
      screen.CrossfadeOut(ms);
      break;
    case 1:
      screen.WipeOut(ms, Text(command, 3));
      break;
    case 2: {
      const ColourArguments c = ColourOf(command);
      screen.ColourEffect(ms, c.colour & kColourOnly, c.operation);
      screen.ColourEffect(ms, c.colour, c.operation);
      break;
    }
    default:
      break;
  }
  return true;
}

}  // namespace

void RegisterEffectCommands(CommandTable& table) {
  constexpr uint8_t kEff = KindNumber(ObjectKind::kEffect);
  table.AddObjectCommand(kEff, "c", Freeze);
  table.AddObjectCommand(kEff, "i", End);
  table.AddObjectCommand(kEff, "mb", Afterimage);
  table.AddObjectCommand(kEff, "bg", Background);
  table.AddObjectCommand(kEff, "fdi", FadeIn);
  table.AddObjectCommand(kEff, "fdo", FadeOut);
}

}  // namespace mavu::script
