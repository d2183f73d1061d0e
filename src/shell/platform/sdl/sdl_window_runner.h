#pragma once

#include <string>

#include "shell/app/command_line.h"

namespace mavu::shell {

// `mavu --game DIR`: the game in a window, until it exits or the player
// closes the window; the process's exit code.
int RunInWindow(CommandLine line, std::string executablePath);

}  // namespace mavu::shell
