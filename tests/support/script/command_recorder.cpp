#include "support/script/command_recorder.h"

#include "script/values/kel_object.h"

namespace mavu::script::test {

std::vector<std::string>& CommandRecorder::Received() {
  static std::vector<std::string> received;
  return received;
}

bool CommandRecorder::RecordObject(const Command& command) {
  Received().push_back(command.object->Name() + ":" + std::string(command.text));
  return true;
}

bool CommandRecorder::RecordGeneral(const Command& command) {
  Received().push_back("general:" + command.words.words[0]);
  return true;
}

bool CommandRecorder::Decline(const Command& command) {
  Received().push_back("declined:" + command.words.words[0]);
  return false;
}

}  // namespace mavu::script::test
