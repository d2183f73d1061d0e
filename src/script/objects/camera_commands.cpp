#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_commands.h"

// The camera object (cam): the point the scene is seen from.
namespace mavu::script {
namespace {

using namespace arguments;

imaging::TCamera& Camera(const Command& command) {
  return command.script.Stage().Camera();
}

bool Reset(const Command& command) {
  Camera(command).CameraReset();
  return true;
}

// p,x,y,ms: moves there over the time.
bool Move(const Command& command) {
  Camera(command).CameraMoveTo(Integer(command, 1), Integer(command, 2), Integer(command, 3));
  return true;
}

bool Easing(const Command& command) {
  Camera(command).CameraSetEasing(static_cast<uint8_t>(Integer(command, 1)));
  return true;
}

}  // namespace

void RegisterCameraCommands(CommandTable& table) {
  constexpr uint8_t kCam = KindNumber(ObjectKind::kCamera);
  table.AddObjectCommand(kCam, "i", Reset);
  table.AddObjectCommand(kCam, "p", Move);
  table.AddObjectCommand(kCam, "mm", Easing);
}

}  // namespace mavu::script
