#pragma once

#include <string>
#include <vector>

#include "script/interpreter/command_table.h"

namespace mavu::script::test {

// Handlers that write what they receive into one list, so that a test can see
// which handler got a command, in which order.
class CommandRecorder {
 public:
  // "object-name:command text"; takes the command.
  static bool RecordObject(const Command& command);
  // "general:command word"; takes the command.
  static bool RecordGeneral(const Command& command);
  // "declined:command word"; does not take the command.
  static bool Decline(const Command& command);

  static std::vector<std::string>& Received();
};

}  // namespace mavu::script::test
